// libFuzzer target over the whole translation: pre-pass, scanner, grammar, the checks of the
// signals, the sort and every target writer, on arbitrary bytes. Besides crashes, hangs and
// sanitizer reports, an input that makes the run print an "INTERNAL ERROR" line is a finding:
// the process aborts on it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <unistd.h>

#include "fuzz/blif_read_once.h"

namespace {

// Drops every character (of the standard error and output streams), remembering whether a line held "INTERNAL ERROR".
class watching_buffer : public std::streambuf {
public:
    bool found = false; // an INTERNAL ERROR line since the last reset

protected:
    int overflow(int c) override
    {
        if (c == traits_type::eof()) return 0;
        if (c == '\n') {
            if (line_.find("INTERNAL ERROR") != std::string::npos) found = true;
            line_.clear();
        } else if (line_.size() < 4096) {
            line_ += char(c);
        }
        return c;
    }

private:
    std::string line_; // the current line, cut at 4096 characters
};

watching_buffer errors;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // the messages would drown the fuzzer's lines; sanitizer reports use the descriptor itself
    std::cerr.rdbuf(&errors);
    std::cout.rdbuf(&errors);
    // a wide cover ends the run at a small budget, as the translator ends at its own
    bdd_node_limit = 200000;
    bdd_node_limit_handler = blif_node_limit_reached;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    errors.found = false;
    std::ostringstream log;
    blif_translate_result t = blif_translate_once(text, log, int(size % 3));
    std::cerr << std::endl; // the last line, even without its line end
    if (errors.found || t.internal_text) {
        static const char message[] = "blif_fuzz: the run printed an INTERNAL ERROR line\n";
        if (write(2, message, sizeof message - 1) < 0) std::abort();
        std::abort();
    }
    return 0;
}
