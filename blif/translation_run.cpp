// The translation run: pre-pass, parse, sort and the writers of the requested targets.
#include "translation_run.h"

int translation_run(const run_settings&, std::ifstream&, std::ofstream&)
{
    return 0;
}
