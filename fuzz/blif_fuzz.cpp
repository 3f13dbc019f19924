// libFuzzer target over the BLIF reader: pre-pass, scanner and grammar on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <streambuf>

#include "blif_read_once.h"

namespace {

// Drops every character.
class null_buffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // the reader's messages would drown the fuzzer's lines; sanitizer reports use the descriptor itself
    static null_buffer sink;
    std::cerr.rdbuf(&sink);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream log;
    blif_read_once(std::string(reinterpret_cast<const char*>(data), size), log, 1);
    return 0;
}
