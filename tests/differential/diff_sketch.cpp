// The sketch target: the sketch has no translator option, so the harness writes it itself.
#include "diff.h"

bool diff_run_sketch(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                     const std::string&, diff_trace&, std::string& err)
{
    err = "sketch: not built yet";
    return false;
}
