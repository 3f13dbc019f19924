// The writers of the requested targets, in their fixed order.
#include "blif/run_writers.h"

#include <iostream>

#include "automaton/b_automaton.h"
#include "bdd/bddpp_literals.h"
#include "blif/blif_parser.h"
#include "blif/targets.h"

namespace {

void report(const char* what, const std::string& file)
{
    std::cerr << "ERROR in run_writers(): cannot " << what << " file `" << file << "'" << std::endl;
}

// A file buffer that ignores the flush at every line end: the writers flush each line, which
// would cost one system call per line; the lines go out when the buffer is full and at close.
class output_file : public std::filebuf {
public:
    explicit output_file(const std::string& name) : name_(name), stream_(this)
    {
        pubsetbuf(buffer_, sizeof buffer_);
        if (open(name.c_str(), std::ios::out | std::ios::trunc) == nullptr) report("create", name);
    }
    bool ok() const { return is_open(); }
    std::ostream& stream() { return stream_; }
    // Writes what is left; false, with the report, when a write failed.
    bool finish()
    {
        bool written = !stream_.fail() && close() != nullptr;
        if (!written) report("write", name_);
        return written;
    }

protected:
    int sync() override { return 0; }

private:
    std::string name_;    // the file's name, for the reports
    std::ostream stream_; // the stream handed to the writer
    char buffer_[1 << 16]; // the lines not written yet
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
