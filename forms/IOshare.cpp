// The simulator link's server and client over a named shared block.
#include "forms/IOshare.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "bdd/bddpp.h"
#include "forms/formspp.h"
#include "platform/shared_memory.h"
#include "utils/g_time.h"

#include <FL/forms.H> // last: its macros would clash with names of the engine's header

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the block's words are read as native words");

namespace {

using namespace IOshare_block;

// The 32-bit word at offset. Every word is read and written whole: the sequence number and the
// outputs clock with release and acquire, so that whoever sees a new number also sees the
// values written before it; the values relaxed, since the other side may be writing them.
std::int32_t* word(unsigned char* block, int offset)
{
    return reinterpret_cast<std::int32_t*>(block + offset);
}

int load_relaxed(unsigned char* block, int offset)
{
    return __atomic_load_n(word(block, offset), __ATOMIC_RELAXED);
}

int load_acquire(unsigned char* block, int offset)
{
    return __atomic_load_n(word(block, offset), __ATOMIC_ACQUIRE);
}

void store_relaxed(unsigned char* block, int offset, int value)
{
    __atomic_store_n(word(block, offset), value, __ATOMIC_RELAXED);
}

void store_release(unsigned char* block, int offset, int value)
{
    __atomic_store_n(word(block, offset), value, __ATOMIC_RELEASE);
}

void increment_release(unsigned char* block, int offset)
{
    __atomic_fetch_add(word(block, offset), 1, __ATOMIC_RELEASE); // wraps, as 32-bit words do
}

// The name in slot i of the name table at offset, never read past its slot.
std::string slot_name(unsigned char* block, int offset, int i)
{
    const char* slot = reinterpret_cast<const char*>(block + offset + i * name_slot_size);
    return std::string(slot, strnlen(slot, name_slot_size));
}

// The Forms message box of three lines; on stderr without a display, as every dialog.
void show_message(const std::string& first, const std::string& second, const std::string& third)
{
    if (forms_display_available()) fl_show_message(first.c_str(), second.c_str(), third.c_str());
    else fl_show_Smessages(first + "\n" + second + "\n" + third);
}

// The platform's failure, in the message box with the given third line, then status 1.
[[noreturn]] void mapping_failure(file_mapping* mapping, const char* third)
{
    char first[80];
    std::snprintf(first, sizeof first, "message Windows: Could not map view of file %ld",
                  static_cast<long>(GetLastError()));
    show_message(first, "", third);
    CloseHandle(mapping);
    bdd_exit(1);
}

[[noreturn]] void setup_error(const std::string& text)
{
    show_message(text, "", "");
    bdd_exit(1);
}

// Refuses names that the block has no room for.
void check_names(const std::list<std::string>& names, const char* side)
{
    const std::string where = "ERROR in IOsharemem_server::IOsharemem_server : ";
    if (names.size() > static_cast<std::size_t>(name_slots))
        setup_error(where + std::to_string(names.size()) + " " + side + " names, the shared block holds " +
                    std::to_string(name_slots) + " at most");
    for (const std::string& n : names)
        if (n.size() >= static_cast<std::size_t>(name_slot_size))
            setup_error(where + side + " name `" + n + "' has " + std::to_string(n.size()) +
                        " characters, " + std::to_string(name_slot_size - 1) + " at most");
}

// Writes the count, zero values and the names of one side.
void write_side(unsigned char* block, const std::list<std::string>& names, int count_offset,
                int values_offset, int names_offset)
{
    store_relaxed(block, count_offset, static_cast<int>(names.size()));
    int i = 0;
    for (const std::string& n : names) {
        store_relaxed(block, values_offset + 4 * i, 0);
        std::memcpy(block + names_offset + i * name_slot_size, n.c_str(), n.size() + 1);
        ++i;
    }
}

void wait_for(sem_t* s)
{
    while (sem_wait(s) != 0 && errno == EINTR) {
    }
}

const char* const server_hint = " Probablement erreur sur cr\xe9" "ation du fichier de m\xe9moire partag\xe9" "e";
const char* const client_hint = " Probablement serveur de m\xe9moire partag\xe9" "e non lanc\xe9 ?";

} // namespace

// ---- IOsharemem_server ----

IOsharemem_server::IOsharemem_server(std::list<std::string>& inputs, std::list<std::string>& outputs)
{
    check_names(inputs, "input");
    check_names(outputs, "output");
    mapping = CreateFileMappingA(size, name);
    if (mapping == nullptr) mapping_failure(mapping, server_hint);
    block = static_cast<unsigned char*>(MapViewOfFile(mapping, size));
    if (block == nullptr) mapping_failure(mapping, server_hint);
    memory_identifier = file_mapping_descriptor(mapping);
    sem_init(&guard, 0, 0); // taken until the block is set up
    write_side(block, inputs, input_count, input_values, input_names);
    write_side(block, outputs, output_count, output_values, output_names);
    store_release(block, sequence, 0);
    sem_post(&guard);
    if (!PublishFileMapping(mapping)) mapping_failure(mapping, server_hint); // clients may attach now
}

IOsharemem_server::~IOsharemem_server()
{
    show_message("server: fin...", "", "");
    UnmapViewOfFile(block, size);
    CloseHandle(mapping);
    sem_destroy(&guard);
}

void IOsharemem_server::setreset_input(int index, int value)
{
    if (index < 0 || index >= load_relaxed(block, input_count) || index >= value_slots) return;
    wait_for(&guard);
    store_relaxed(block, input_values + 4 * index, value);
    sem_post(&guard);
}

void IOsharemem_server::inputs_go()
{
    increment_release(block, sequence);
}

int IOsharemem_server::output_value(int index)
{
    if (index < 0 || index >= load_relaxed(block, output_count) || index >= value_slots) return 0;
    return load_relaxed(block, output_values + 4 * index);
}

int IOsharemem_server::get_outputs_clock()
{
    wait_for(&guard);
    int clock = load_acquire(block, outputs_clock);
    sem_post(&guard);
    return clock;
}

void IOsharemem_server::sharing_terminate()
{
    store_release(block, sequence, -1);
}

int IOsharemem_server::memory_ident()
{
    return memory_identifier;
}

// ---- IOsharemem_client ----

IOsharemem_client::IOsharemem_client(int)
{
    mapping = OpenFileMappingA(name);
    block = mapping != nullptr ? static_cast<unsigned char*>(MapViewOfFile(mapping, size)) : nullptr;
    if (block == nullptr) mapping_failure(mapping, client_hint);
    n_in = load_relaxed(block, input_count);
    n_out = load_relaxed(block, output_count);
    if (n_in < 0 || n_in > name_slots || n_out < 0 || n_out > name_slots) {
        show_message("ERROR in IOsharemem_client::IOsharemem_client : the shared block gives " +
                         std::to_string(n_in) + " inputs and " + std::to_string(n_out) + " outputs, " +
                         std::to_string(name_slots) + " at most on each side",
                     "", "");
        CloseHandle(mapping);
        bdd_exit(1);
    }
    store_release(block, outputs_clock, 0);
    last_sequence = 0;
    inputs = new int[n_in]();
}

IOsharemem_client::~IOsharemem_client()
{
    UnmapViewOfFile(block, size);
    CloseHandle(mapping);
    delete[] inputs;
}

int IOsharemem_client::receive()
{
    int s = load_acquire(block, sequence);
    if (s < 0) return -1;
    if (s <= last_sequence) {
        g_usleep(10000);
        return 0;
    }
    last_sequence = s;
    for (int i = 0; i < n_in; ++i) inputs[i] = load_relaxed(block, input_values + 4 * i);
    return 1;
}

int IOsharemem_client::input_is_set(const std::string& input)
{
    int value = 0;
    for (int i = 0; i < n_in; ++i)
        if (slot_name(block, input_names, i) == input) value = inputs[i];
    return value;
}

void IOsharemem_client::setreset_output(const std::string& output, int value)
{
    for (int i = 0; i < n_out; ++i)
        if (slot_name(block, output_names, i) == output) store_relaxed(block, output_values + 4 * i, value);
}

void IOsharemem_client::outputs_refresh()
{
    increment_release(block, outputs_clock);
}
