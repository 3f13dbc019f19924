// The writers of the requested targets, in their fixed order.
#include "blif/run_writers.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "automaton/b_automaton.h"
#include "bdd/bddpp_literals.h"
#include "blif/blif_parser.h"
#include "blif/targets.h"

namespace {

void report(const char* what, const std::string& file)
{
    std::cerr << "ERROR in run_writers(): cannot " << what << " file `" << file << "'" << std::endl;
}

// The stream buffer of one output file: the text goes into a large buffer of our own, copied
// in without the checks of a file buffer, and out to the file in big chunks when it is full
// and at the end. The flush at every line end is ignored: it would cost one system call per line.
class output_file : public std::streambuf {
public:
    explicit output_file(const std::string& name)
        : name_(name), file_(std::fopen(name.c_str(), "wb")), stream_(this), buffer_(new char[buffer_size])
    {
        if (file_ == nullptr) {
            report("create", name);
            return;
        }
        // the chunks are already large: the C library's own buffer would only copy them again
        std::setvbuf(file_, nullptr, _IONBF, 0);
        reset();
    }
    ~output_file() override
    {
        if (file_ != nullptr) std::fclose(file_);
    }
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;
    bool ok() const { return file_ != nullptr; }
    std::ostream& stream() { return stream_; }
    // Writes what is left; false, with the report, when a write failed.
    bool finish()
    {
        bool written = !stream_.fail() && empty_buffer();
        if (std::fclose(file_) != 0) written = false;
        file_ = nullptr;
        if (!written) report("write", name_);
        return written;
    }

protected:
    int sync() override { return 0; }
    int_type overflow(int_type ch) override
    {
        if (!empty_buffer()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        if (n >= std::streamsize(direct_size)) {
            // the writers hand over their text in large pieces: a piece that large goes out at
            // once after the buffer, without a copy in it
            if (!empty_buffer()) return 0;
            return std::streamsize(std::fwrite(s, 1, std::size_t(n), file_));
        }
        if (n <= epptr() - pptr()) {
            std::memcpy(pptr(), s, std::size_t(n));
            pbump(int(n));
            return n;
        }
        if (!empty_buffer()) return 0;
        std::memcpy(pptr(), s, std::size_t(n));
        pbump(int(n));
        return n;
    }

private:
    // Writes the buffer's text to the file; false when the write failed.
    bool empty_buffer()
    {
        std::size_t used = std::size_t(pptr() - pbase());
        if (used == 0) return true;
        bool written = std::fwrite(pbase(), 1, used, file_) == used;
        reset();
        return written;
    }

    void reset() { setp(buffer_.get(), buffer_.get() + buffer_size); }

    std::string name_;      // the file's name, for the reports
    std::FILE* file_;       // the file, null when it could not be created
    std::ostream stream_;   // the stream handed to the writer
    // the text not written yet; its room is not cleared first, as only what is written is read
    static constexpr std::size_t buffer_size = std::size_t(1) << 20;
    static constexpr std::size_t direct_size = std::size_t(1) << 15; // pieces written without the buffer
    std::unique_ptr<char[]> buffer_;
};

// Writes one target; false when one of its files could not be created or written.
bool run_target(b_automaton& a, const target& t, const run_settings& s)
{
    int level = t.fixed_level >= 0 ? t.fixed_level : s.level;
    const std::string name = module_name(s.base);
    output_file first(s.base + t.suffix);
    if (!first.ok()) return false;
    if (t.suffix2 == nullptr) {
        t.write(a, first.stream(), level, name);
        return first.finish();
    }
    output_file second(s.base + t.suffix2);
    if (!second.ok()) return false;
    t.write2(a, first.stream(), second.stream(), level, name);
    bool ok = first.finish();
    return second.finish() && ok;
}

} // namespace

// Without its directory part, which would make every identifier built from it invalid ("node
// sub/e2e", "#include "sub/e2e_sc.h"" beside the file it is in).
std::string module_name(const std::string& base)
{
    std::string::size_type slash = base.find_last_of('/');
    return slash == std::string::npos ? base : base.substr(slash + 1);
}

bool module_name_usable(const std::string& base)
{
    const std::string name = module_name(base);
    auto letter = [](char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; };
    if (name.empty() || !letter(name[0])) return false;
    for (char ch : name)
        if (!letter(ch) && !(ch >= '0' && ch <= '9')) return false;
    return true;
}

int run_writers(b_automaton* automaton, const run_settings& settings)
{
    if (automaton == nullptr) return 1;
    if (settings.awaited) automaton->export_awaited_inputs();
    // a combinational cycle is reported; the targets are still written
    int status = blif_report_cycles(automaton, automaton->sort());
    // the sum-of-products targets print the same covers: each is computed once for the run
    bddpp_manager* m = automaton->wood != nullptr ? automaton->wood->manager : nullptr;
    cover_memo_scope covers(m);
    for (std::size_t k = 0; k < TARGET_COUNT; ++k)
        if (settings.*(TARGETS[k].flag) && !run_target(*automaton, TARGETS[k], settings)) status = 1;
    return status;
}
