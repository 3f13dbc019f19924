// The sketch target. The translator has no option for it, so the harness reads the circuit with
// the translator's own front end and writes the sketch itself (in a process of its own, since the
// front end may end the process on a bad file); a C driver stands in for the user functions.
#include "tests/differential/diff.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "automaton/b_automaton.h"
#include "blif/blif_lexer.h"
#include "blif/blif_parser.h"

namespace {

// Every output at an odd position of the byte order is a pulse action, the others level actions.
bool is_pulse(size_t sorted_position) { return sorted_position % 2 == 1; }

} // namespace

int diff_write_sketch(const std::string& blif, const std::string& base, int level, std::ostream& out)
{
    diff_circuit c;
    std::string err;
    if (!diff_read_circuit(blif, c, err)) {
        std::cerr << err << "\n";
        return 1;
    }
    std::ifstream input(blif);
    std::ofstream log(base + ".log");
    class_blif_parser parser;
    parser.lexer = new blifFlexLexer(&input, &log);
    parser.preparse(blif.c_str());
    parser.lexer->yyrestart(&input);
    if (parser.parse(log, 0) != 0 || parser.automaton == nullptr) {
        std::cerr << "parsing error in file " << blif << "\n";
        return 1;
    }
    parser.automaton->sort();
    std::list<std::string> pulse;
    for (size_t k = 0; k < c.sorted_outputs.size(); k++)
        if (is_pulse(k)) pulse.push_back(c.sorted_outputs[k]);
    parser.automaton->INO_put_grafcet(out, level, base, pulse);
    return 0;
}

// The names of the user functions, read from the sketch's declarations, since a signal's name is
// not always an identifier of C: the inputs' in byte order of the names, then for each output in
// that order its pulse action's name, or its level actions' name before "_true". False when the
// declarations do not match the interface.
static bool sketch_functions(const std::string& sketch, size_t input_count, size_t output_count,
                             std::vector<std::string>& inputs, std::vector<std::string>& outputs)
{
    const std::string in = "extern int ", out = "extern void ", tail = "(void);";
    std::vector<std::string> actions;
    std::istringstream lines(sketch);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < tail.size() || line.compare(line.size() - tail.size(), tail.size(), tail) != 0) continue;
        if (line.compare(0, in.size(), in) == 0)
            inputs.push_back(line.substr(in.size(), line.size() - in.size() - tail.size()));
        else if (line.compare(0, out.size(), out) == 0)
            actions.push_back(line.substr(out.size(), line.size() - out.size() - tail.size()));
    }
    size_t a = 3; // after my_setup, my_before and my_after
    for (size_t k = 0; k < output_count; k++) {
        if (a >= actions.size()) return false;
        std::string f = actions[a++];
        if (!is_pulse(k)) {
            if (f.size() < 5 || f.compare(f.size() - 5, 5, "_true") != 0 || a >= actions.size()) return false;
            f.erase(f.size() - 5);
            if (actions[a++] != f + "_false") return false;
        }
        outputs.push_back(f);
    }
    return inputs.size() == input_count && a == actions.size();
}

bool diff_run_sketch(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                     const std::string& base, diff_trace& trace, std::string& err)
{
    size_t no = c.sorted_outputs.size();
    // the level's directory is named O0, O1 or O2, followed by "_" and the base name for another base
    std::string level = dir.substr(dir.rfind("/O") + 2, 1);
    std::string sketch = dir + "/" + base + "_ino.c";
    if (diff_shell("cd " + diff_quote(dir) + " && " + diff_quote(diff_self()) + " sketch " + base + ".blif " + base +
                       " " + level,
                   sketch, dir + "/ino.log") != 0) {
        err = "ino: the sketch was not written (see " + dir + "/ino.log)";
        return false;
    }
    std::vector<std::string> inputs, outputs;
    if (!sketch_functions(diff_read_file(sketch), c.sorted_inputs.size(), no, inputs, outputs)) {
        err = "ino: the sketch's user functions do not match the interface (see " + sketch + ")";
        return false;
    }
    std::vector<int> sorted = diff_sorted_positions(c.inputs, c.sorted_inputs);
    std::ostringstream s;
    s << "#include <stdio.h>\nvoid setup(void);\nvoid loop(void);\n"
      << "static const char* tb_v;\nstatic int tb_o[" << no + 1 << "];\n"
      << "void my_setup(void) {}\nvoid my_before(void) {}\nvoid my_after(void) {}\n";
    for (size_t j = 0; j < c.inputs.size(); j++)
        s << "int " << inputs[size_t(sorted[j])] << "(void) { return tb_v[" << j << "] == '1'; }\n";
    for (size_t k = 0; k < no; k++) {
        const std::string& o = outputs[k];
        if (is_pulse(k)) s << "void " << o << "(void) { tb_o[" << k << "] = 1; }\n";
        else
            s << "void " << o << "_true(void) { tb_o[" << k << "] = 1; }\nvoid " << o << "_false(void) { tb_o[" << k
              << "] = 0; }\n";
    }
    s << "static const char* const tb_vec[] = {\n";
    for (const std::string& v : vec) s << "  \"" << v << "\",\n";
    s << "  0};\nint main(void)\n{\n  int k, j;\n  FILE* f = fopen(\"ino.trace\", \"w\");\n  setup();\n"
      << "  for (k = 0; tb_vec[k]; k++) {\n    tb_v = tb_vec[k];\n";
    for (size_t k = 0; k < no; k++) s << "    tb_o[" << k << "] = " << (is_pulse(k) ? 0 : 2) << ";\n";
    s << "    loop();\n"
      << "    for (j = 0; j < " << no << "; j++) fputc(tb_o[j] == 0 ? '0' : tb_o[j] == 1 ? '1' : 'x', f);\n"
      << "    fputc('\\n', f);\n  }\n  fclose(f);\n  return 0;\n}\n";
    diff_write_file(dir + "/tb_ino.c", s.str());
    std::string cmd = "gcc -std=c99 -Wall -Werror -Wno-parentheses -c " + base +
                      "_ino.c -o ino.o && gcc -std=c99 -c tb_ino.c && gcc -o ino.exe ino.o tb_ino.o && ./ino.exe";
    return diff_run_driver(c, dir, "ino", cmd, trace, err);
}
