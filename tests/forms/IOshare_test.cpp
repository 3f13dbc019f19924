// The simulator link through the real shared block: its bytes, the exchange inside one process
// and between two, and the failures of either side. Every test holds one lock file, since they
// all use the block's fixed name and ctest runs them side by side.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <list>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "forms/IOshare.h"
#include "platform/shared_memory.h"

namespace {

// Runs before anything asks for the display: the message boxes go to stderr.
struct no_display {
    no_display() { unsetenv("DISPLAY"); }
} const unset_display;

const char* const posix_name = "/Global_IOshare";

bool block_exists()
{
    int d = shm_open(posix_name, O_RDONLY, 0);
    if (d < 0) return false;
    close(d);
    return true;
}

// The size of the block under the name, -1 when there is none.
long block_size()
{
    int d = shm_open(posix_name, O_RDONLY, 0);
    if (d < 0) return -1;
    struct stat s;
    long size = fstat(d, &s) == 0 ? static_cast<long>(s.st_size) : -1;
    close(d);
    return size;
}

// A view of the block under the name, as a third process would map it.
struct outside_view {
    unsigned char* bytes = nullptr; // the 4521 bytes, null when there is no block
    outside_view()
    {
        int d = shm_open(posix_name, O_RDWR, 0);
        if (d < 0) return;
        void* v = mmap(nullptr, 4521, PROT_READ | PROT_WRITE, MAP_SHARED, d, 0);
        close(d);
        if (v != MAP_FAILED) bytes = static_cast<unsigned char*>(v);
    }
    ~outside_view()
    {
        if (bytes != nullptr) munmap(bytes, 4521);
    }
    long word(int offset) const // 32-bit little-endian, two's complement
    {
        unsigned long w = bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                          static_cast<unsigned long>(bytes[offset + 3]) << 24;
        return static_cast<long>(static_cast<std::int32_t>(w));
    }
};

struct child_result {
    int status;      // exit status, -1 when ended by a signal
    std::string err; // what it wrote on stderr
};

// Runs body in a child process and collects its exit status and its stderr.
child_result in_child(const std::function<void()>& body)
{
    int p[2];
    if (pipe(p) != 0) return {-2, ""};
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(p[0]);
        dup2(p[1], 2);
        alarm(60); // a child that would wait forever ends instead
        body();
        std::fflush(nullptr);
        _exit(0);
    }
    close(p[1]);
    std::string err;
    char chunk[4096];
    ssize_t n;
    while ((n = read(p[0], chunk, sizeof chunk)) > 0) err.append(chunk, static_cast<std::size_t>(n));
    close(p[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}

std::list<std::string> numbered(const std::string& prefix, int count, std::size_t length = 0)
{
    std::list<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string n = prefix + std::to_string(i);
        if (n.size() < length) n += std::string(length - n.size(), 'z');
        names.push_back(n);
    }
    return names;
}

const std::string client_failure_tail = "\n\n Probablement serveur de m\xe9moire partag\xe9" "e non lanc\xe9 ?\n";

std::string client_failure(int error)
{
    return "message Windows: Could not map view of file " + std::to_string(error) + client_failure_tail;
}

double elapsed_ms(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

class Link : public testing::Test {
protected:
    void SetUp() override
    {
        lock = open("/tmp/nelvor_IOshare.lock", O_RDWR | O_CREAT, 0666);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        shm_unlink(posix_name); // whatever an earlier run left behind
        alarm(120);
    }
    void TearDown() override
    {
        alarm(0);
        shm_unlink(posix_name);
        flock(lock, LOCK_UN);
        close(lock);
    }
    int lock = -1; // the lock file's descriptor
};

TEST_F(Link, BlockBytesAtTheirOffsets)
{
    std::list<std::string> in = {"a", "bb", "c"}, out = {"x", "y"};
    testing::internal::CaptureStderr();
    {
        IOsharemem_server server(in, out);
        EXPECT_EQ(block_size(), 4521);
        outside_view v;
        ASSERT_NE(v.bytes, nullptr);
        EXPECT_EQ(v.word(0), 0);  // input sequence
        EXPECT_EQ(v.word(4), 0);  // outputs clock
        EXPECT_EQ(v.word(8), 0);  // the semaphore stays in the server
        EXPECT_EQ(v.word(12), 3); // input count
        EXPECT_EQ(v.word(16), 2); // output count
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 420), "a");
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 470), "bb");
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 520), "c");
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 2470), "x");
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 2520), "y");
        std::string named[] = {"a", "bb", "c"};
        int used = 0;
        for (int i = 0; i < 4521; ++i) {
            bool in_name = (i >= 420 && i < 421) || (i >= 470 && i < 472) || (i >= 520 && i < 521) ||
                           (i >= 2470 && i < 2471) || (i >= 2520 && i < 2521) || (i == 12 || i == 16);
            if (!in_name) EXPECT_EQ(v.bytes[i], 0) << "byte " << i;
            else ++used;
        }
        EXPECT_EQ(used, 8);

        server.setreset_input(1, 0x01020304);
        EXPECT_EQ(v.bytes[24], 0x04);
        EXPECT_EQ(v.bytes[25], 0x03);
        EXPECT_EQ(v.bytes[26], 0x02);
        EXPECT_EQ(v.bytes[27], 0x01);
        server.setreset_input(2, -2);
        EXPECT_EQ(v.word(28), -2);
        server.setreset_input(3, 9); // past the inputs: nothing
        server.setreset_input(-1, 9);
        EXPECT_EQ(v.word(32), 0);
        EXPECT_EQ(v.word(16), 2);
        server.inputs_go();
        server.inputs_go();
        EXPECT_EQ(v.word(0), 2);

        v.bytes[224] = 0x2a; // output 1, written as a client would
        v.bytes[227] = 0x80;
        EXPECT_EQ(server.output_value(1), static_cast<int>(0x8000002a));
        EXPECT_EQ(server.output_value(0), 0);
        v.bytes[228] = 5; // slot 2 lies past the outputs
        EXPECT_EQ(server.output_value(2), 0);
        EXPECT_EQ(server.output_value(-1), 0);
        v.bytes[4] = 7;
        EXPECT_EQ(server.get_outputs_clock(), 7);
        EXPECT_GE(server.memory_ident(), 0);
        EXPECT_EQ(server.memory_ident(), server.memory_ident());

        server.sharing_terminate();
        EXPECT_EQ(v.word(0), -1);
        EXPECT_EQ(v.bytes[0], 0xff);
        EXPECT_EQ(v.bytes[3], 0xff);
        EXPECT_EQ(v.bytes[4520], 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        testing::internal::CaptureStderr();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "server: fin...\n\n\n");
    EXPECT_FALSE(block_exists()); // the server's close removes the block
}

TEST_F(Link, ExchangeInOneProcess)
{
    std::list<std::string> in = {"go", "d", "d"}, out = {"q", "r", "q"};
    testing::internal::CaptureStderr();
    IOsharemem_server server(in, out);
    server.setreset_input(1, 5);
    server.setreset_input(2, 6);
    IOsharemem_client client(0);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.receive(), 0); // sequence 0 is nothing new
    EXPECT_GE(elapsed_ms(start), 11.0);
    EXPECT_EQ(client.input_is_set("d"), 0); // nothing copied yet

    server.inputs_go();
    EXPECT_EQ(client.receive(), 1);
    EXPECT_EQ(client.input_is_set("d"), 6); // the later of two equal names
    EXPECT_EQ(client.input_is_set("go"), 0);
    EXPECT_EQ(client.input_is_set("none"), 0);
    EXPECT_EQ(client.input_is_set("g"), 0);
    EXPECT_EQ(client.receive(), 0); // the same set again is nothing new

    server.setreset_input(0, 1);
    EXPECT_EQ(client.input_is_set("go"), 0); // the local copy holds until the next set
    server.inputs_go();
    EXPECT_EQ(client.receive(), 1);
    EXPECT_EQ(client.input_is_set("go"), 1);

    EXPECT_EQ(server.get_outputs_clock(), 0);
    client.setreset_output("q", 11); // both outputs of that name
    client.setreset_output("r", 12);
    client.setreset_output("none", 13);
    client.outputs_refresh();
    EXPECT_EQ(server.get_outputs_clock(), 1);
    EXPECT_EQ(server.output_value(0), 11);
    EXPECT_EQ(server.output_value(1), 12);
    EXPECT_EQ(server.output_value(2), 11);
    EXPECT_EQ(server.output_value(3), 0);
    client.outputs_refresh();
    EXPECT_EQ(server.get_outputs_clock(), 2);

    IOsharemem_client second(0); // a client attaching resets the clock
    EXPECT_EQ(server.get_outputs_clock(), 0);

    server.sharing_terminate();
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.receive(), -1);
    EXPECT_EQ(second.receive(), -1);
    EXPECT_LT(elapsed_ms(start), 5.0); // without sleeping
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Link, TwoProcessesEchoAThousandSets)
{
    std::list<std::string> in = {"left", "right"}, out = {"left_echo", "right_echo"};
    testing::internal::CaptureStderr();
    IOsharemem_server server(in, out);
    const int exchanges = 1000;
    int seen = 0;
    child_result echo;
    {
        int p[2];
        ASSERT_EQ(pipe(p), 0);
        std::fflush(nullptr);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // the client: echoes every new set of inputs until the server ends
            close(p[0]);
            dup2(p[1], 2);
            alarm(60);
            IOsharemem_client client(0);
            int sets = 0;
            for (;;) {
                int r = client.receive();
                if (r < 0) break;
                if (r == 0) continue;
                ++sets;
                client.setreset_output("left_echo", client.input_is_set("left"));
                client.setreset_output("right_echo", client.input_is_set("right"));
                client.outputs_refresh();
            }
            std::fprintf(stderr, "%d sets\n", sets);
            _exit(0);
        }
        close(p[1]);
        int clock = server.get_outputs_clock();
        for (int k = 1; k <= exchanges; ++k) {
            server.setreset_input(0, k);
            server.setreset_input(1, -3 * k);
            server.inputs_go();
            auto start = std::chrono::steady_clock::now();
            while (server.get_outputs_clock() == clock && elapsed_ms(start) < 10000) usleep(200);
            int now = server.get_outputs_clock();
            ASSERT_NE(now, clock) << "no answer to set " << k;
            clock = now;
            ASSERT_EQ(server.output_value(0), k);
            ASSERT_EQ(server.output_value(1), -3 * k);
            ++seen;
        }
        server.sharing_terminate();
        char chunk[256];
        ssize_t n;
        while ((n = read(p[0], chunk, sizeof chunk)) > 0) echo.err.append(chunk, static_cast<std::size_t>(n));
        close(p[0]);
        int status = 0;
        waitpid(child, &status, 0);
        echo.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    EXPECT_EQ(seen, exchanges);
    EXPECT_EQ(echo.status, 0);
    EXPECT_EQ(echo.err, "1000 sets\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Link, ClientWithoutServer)
{
    child_result r = in_child([] { IOsharemem_client c(0); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, client_failure(ENOENT));
}

TEST_F(Link, BlockLeftByAKilledServer)
{
    child_result killed = in_child([] {
        std::list<std::string> in = {"old"}, out = {"stale"};
        IOsharemem_server server(in, out);
        server.inputs_go();
        raise(SIGKILL);
    });
    EXPECT_EQ(killed.status, -1);
    EXPECT_TRUE(block_exists()); // the block stays behind ...
    child_result r = in_child([] { IOsharemem_client c(0); });
    EXPECT_EQ(r.status, 1); // ... but no client takes it for a server
    EXPECT_EQ(r.err, client_failure(ENOENT));

    std::list<std::string> in = {"new"}, out = {"fresh", "other"};
    testing::internal::CaptureStderr();
    {
        IOsharemem_server server(in, out); // a new server replaces it
        outside_view v;
        ASSERT_NE(v.bytes, nullptr);
        EXPECT_EQ(v.word(0), 0);
        EXPECT_EQ(v.word(12), 1);
        EXPECT_EQ(v.word(16), 2);
        EXPECT_STREQ(reinterpret_cast<char*>(v.bytes + 2470), "fresh");
        IOsharemem_client client(0);
        EXPECT_EQ(client.input_is_set("new"), 0);
        server.setreset_input(0, 4);
        server.inputs_go();
        EXPECT_EQ(client.receive(), 1);
        EXPECT_EQ(client.input_is_set("new"), 4);
        EXPECT_EQ(client.input_is_set("old"), 0);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "server: fin...\n\n\n");
}

TEST_F(Link, ClientOfABlockBeingSetUpOrTooSmall)
{
    file_mapping* setting_up = CreateFileMappingA(4521, "Global/IOshare"); // not yet published
    ASSERT_NE(setting_up, nullptr);
    child_result r = in_child([] { IOsharemem_client c(0); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, client_failure(EAGAIN));
    CloseHandle(setting_up);

    file_mapping* small = CreateFileMappingA(4520, "Global/IOshare");
    ASSERT_NE(small, nullptr);
    ASSERT_TRUE(PublishFileMapping(small));
    r = in_child([] { IOsharemem_client c(0); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, client_failure(EINVAL));
    CloseHandle(small);
}

TEST_F(Link, ClientChecksTheCountsAndReadsNamesInsideTheirSlots)
{
    file_mapping* m = CreateFileMappingA(4521, "Global/IOshare");
    ASSERT_NE(m, nullptr);
    unsigned char* block = static_cast<unsigned char*>(MapViewOfFile(m, 4521));
    ASSERT_NE(block, nullptr);
    ASSERT_TRUE(PublishFileMapping(m));
    struct { int n_in, n_out; } bad[] = {{42, 0}, {0, 42}, {-1, 1}, {1, -1}};
    for (auto& c : bad) {
        std::memcpy(block + 12, &c.n_in, 4);
        std::memcpy(block + 16, &c.n_out, 4);
        child_result r = in_child([] { IOsharemem_client client(0); });
        EXPECT_EQ(r.status, 1) << c.n_in << " " << c.n_out;
        EXPECT_EQ(r.err, "ERROR in IOsharemem_client::IOsharemem_client : the shared block gives " +
                             std::to_string(c.n_in) + " inputs and " + std::to_string(c.n_out) +
                             " outputs, 41 at most on each side\n\n\n");
    }
    // a name that fills its slot without its NUL ends where the slot ends
    int counts[2] = {41, 41};
    std::memcpy(block + 12, counts, 8);
    std::memset(block + 420, 'a', 50);
    std::memset(block + 470, 'b', 3);
    std::memset(block + 2470 + 40 * 50, 'w', 50); // the last output slot, up to the spare byte
    block[4520] = 'w';
    block[20] = 5; // input 0
    block[24] = 9; // input 1
    block[0] = 1;  // a new set
    child_result r = in_child([] {
        IOsharemem_client client(0);
        if (client.receive() != 1) _exit(3);
        if (client.input_is_set(std::string(50, 'a')) != 5) _exit(4);
        if (client.input_is_set(std::string(50, 'a') + "bbb") != 0) _exit(5); // not into the next slot
        if (client.input_is_set("bbb") != 9) _exit(6);
        client.setreset_output(std::string(50, 'w'), 7);
        client.setreset_output(std::string(51, 'w'), 8); // not into the spare byte
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(block[220 + 4 * 40], 7);
    UnmapViewOfFile(block, 4521);
    CloseHandle(m);
}

TEST_F(Link, FortyOneNamesOfFortyNineBytesFit)
{
    std::list<std::string> in = numbered("in", 41, 49), out = numbered("out", 41, 49);
    testing::internal::CaptureStderr();
    {
        IOsharemem_server server(in, out);
        outside_view v;
        ASSERT_NE(v.bytes, nullptr);
        EXPECT_EQ(v.word(12), 41);
        EXPECT_EQ(v.word(16), 41);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(v.bytes + 420 + 40 * 50)), in.back());
        EXPECT_EQ(std::string(reinterpret_cast<char*>(v.bytes + 2470 + 40 * 50)), out.back());
        EXPECT_EQ(v.bytes[4519], 0); // the last name's NUL
        EXPECT_EQ(v.bytes[4520], 0); // the spare byte
        IOsharemem_client client(0);
        server.setreset_input(40, 3);
        server.inputs_go();
        EXPECT_EQ(client.receive(), 1);
        EXPECT_EQ(client.input_is_set(in.back()), 3);
        client.setreset_output(out.back(), 4);
        EXPECT_EQ(server.output_value(40), 4);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "server: fin...\n\n\n");
}

TEST_F(Link, TooManyOrTooLongNamesAreRefused)
{
    const std::string where = "ERROR in IOsharemem_server::IOsharemem_server : ";
    std::string fifty = std::string(49, 'n') + "X";
    struct {
        std::list<std::string> in, out;
        std::string message;
    } cases[] = {
        {numbered("i", 42), {"o"}, where + "42 input names, the shared block holds 41 at most\n\n\n"},
        {{"i"}, numbered("o", 42), where + "42 output names, the shared block holds 41 at most\n\n\n"},
        {{"a", fifty}, {}, where + "input name `" + fifty + "' has 50 characters, 49 at most\n\n\n"},
        {{}, {fifty + "more"}, where + "output name `" + fifty + "more' has 54 characters, 49 at most\n\n\n"},
    };
    for (auto& c : cases) {
        child_result r = in_child([&] { IOsharemem_server server(c.in, c.out); });
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.message);
        EXPECT_FALSE(block_exists()); // refused before any block is made
    }
}

} // namespace
