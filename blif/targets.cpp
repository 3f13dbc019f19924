// The table of targets.
#include "blif/targets.h"

#include "automaton/b_automaton.h"

const target TARGETS[] = {
    {"-bac", &run_settings::bac, ".ba", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.BAC_put(os, l, n); }, nullptr},
    {"-lustre", &run_settings::lustre, ".lus", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.LUSTRE_put(os, l, n); }, nullptr},
    {"-esterel", &run_settings::esterel, ".strl", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.ESTEREL_put(os, l, n); }, nullptr},
    {"-le", &run_settings::le, ".le", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.LE_put(os, l, n); }, nullptr},
    {"-c", &run_settings::c, ".c", ".h", -1, nullptr,
     [](b_automaton& a, std::ostream& os, std::ostream& os2, int l, const std::string& n) { a.C_put(os, os2, l, n); }},
    {"-cs", &run_settings::cs, ".cs", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.CSHARP_put(os, l, n); }, nullptr},
    {"-vhdl", &run_settings::vhdl, ".vhd", nullptr, 1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.VHDL_put(os, l, n); }, nullptr},
    {"-systemc", &run_settings::systemc, "_sc.cc", "_sc.h", -1, nullptr,
     [](b_automaton& a, std::ostream& os, std::ostream& os2, int l, const std::string& n) {
         a.SYSTEMC_put(os, os2, l, n);
     }},
    {"-doc", &run_settings::doc, ".doc", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.DOC_put(os, l, n); }, nullptr},
    {"-latex", &run_settings::latex, ".tex", nullptr, -1,
     [](b_automaton& a, std::ostream& os, int l, const std::string& n) { a.LATEX_put(os, l, n); }, nullptr},
};

const std::size_t TARGET_COUNT = sizeof TARGETS / sizeof TARGETS[0];

const char* const INPUT_SUFFIX = ".blif";
const char* const LOG_SUFFIX = ".log";
