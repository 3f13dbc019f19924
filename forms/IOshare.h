// The shared-memory link between a simulator (the server) and its client processes: one named
// block holding the inputs and outputs, their names, an input sequence number and an outputs
// clock.
#ifndef NELVOR_IOSHARE_H
#define NELVOR_IOSHARE_H

#include <list>
#include <semaphore.h>
#include <string>

struct file_mapping;

// The block: 32-bit little-endian words at these offsets, 4521 bytes in all.
namespace IOshare_block {
const char* const name = "Global/IOshare"; // the POSIX object /Global_IOshare
const int size = 4521;
const int sequence = 0;         // input sequence: 0 after set-up, -1 once the server has ended
const int outputs_clock = 4;    // incremented by a client after each set of outputs
const int semaphore = 8;        // the server's semaphore: left 0, the server keeps it itself
const int input_count = 12;
const int output_count = 16;
const int input_values = 20;    // 50 slots of 4 bytes
const int output_values = 220;  // 50 slots of 4 bytes
const int input_names = 420;    // 41 slots of 50 bytes, NUL-terminated names
const int output_names = 2470;  // 41 slots of 50 bytes
const int value_slots = 50;
const int name_slots = 41;      // names on one side at most
const int name_slot_size = 50;  // a name has at most 49 bytes
} // namespace IOshare_block

// Creates and sets up the block. Too many names on one side, a name too long for its slot, or a
// block that cannot be made end the process with status 1 after a message box.
class IOsharemem_server {
public:
    IOsharemem_server(std::list<std::string>& inputs, std::list<std::string>& outputs);
    ~IOsharemem_server(); // the message box "server: fin...", then the block is closed
    void setreset_input(int index, int value); // ignored unless 0 <= index < input count
    void inputs_go();                          // a new set of inputs is ready
    int output_value(int index);               // 0 unless 0 <= index < output count
    int get_outputs_clock();
    void sharing_terminate(); // the clients' next receive gives -1
    int memory_ident();       // the descriptor of the block in this process

private:
    int memory_identifier;  // the block's descriptor
    file_mapping* mapping;  // the block, removed when closed
    unsigned char* block;   // its view
    sem_t guard;            // serialises setreset_input and get_outputs_clock in this process
};

// Attaches to the block of a running server; without one (none, a server that has ended, one
// still setting it up, a block too small or with impossible counts) the process ends with
// status 1 after a message box.
class IOsharemem_client {
public:
    explicit IOsharemem_client(int unused);
    ~IOsharemem_client(); // closes the block
    // -1 once the server has ended; 0, after sleeping 11 ms, when no new set of inputs is there;
    // 1 when a new set was copied into the local input values.
    int receive();
    int input_is_set(const std::string& name); // the local value of the last input of that name, else 0
    void setreset_output(const std::string& name, int value); // every output of that name
    void outputs_refresh();                                   // a new set of outputs is ready

private:
    int n_in;               // input count, copied at attach
    int n_out;              // output count, copied at attach
    unsigned char* block;   // the view of the block
    file_mapping* mapping;  // the block
    int* inputs;            // local input values, n_in of them
    int last_sequence;      // the last input sequence copied
};

#endif
