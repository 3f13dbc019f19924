// Drivers of the generated programs: for each target a main program (test bench) that resets
// the design, applies one input vector per cycle and prints the outputs; the commands that build
// and run it. Drivers take the inputs and print the outputs in byte order of the names (the
// parameter order of the targets); the harness maps them back to .outputs order.
#include "tests/differential/diff.h"

#include <sstream>

namespace {

// The vectors with their inputs in byte order of the names.
std::vector<std::string> sorted_vectors(const diff_circuit& c, const std::vector<std::string>& vec)
{
    std::vector<int> pos = diff_sorted_positions(c.inputs, c.sorted_inputs);
    std::vector<std::string> out;
    for (const std::string& v : vec) {
        std::string s(c.sorted_inputs.size(), '0');
        for (size_t j = 0; j < pos.size(); j++) s[size_t(pos[j])] = v[j];
        out.push_back(s);
    }
    return out;
}

// The vectors as a list of string literals, for C, C++ and C#.
std::string vector_literals(const std::vector<std::string>& vec)
{
    std::string s;
    for (const std::string& v : vec) s += "  \"" + v + "\",\n";
    return s;
}

}  // namespace

bool diff_run_driver(const diff_circuit& c, const std::string& dir, const std::string& label, const std::string& cmd,
                diff_trace& trace, std::string& err)
{
    std::string log = dir + "/" + label + ".log";
    if (diff_shell("cd " + diff_quote(dir) + " && " + cmd, dir + "/" + label + ".out", log) != 0) {
        err = label + ": build or run failed (see " + log + ")";
        return false;
    }
    diff_trace sorted = diff_read_trace(dir + "/" + label + ".trace");
    std::vector<int> pos = diff_sorted_positions(c.outputs, c.sorted_outputs);
    trace.clear();
    for (const std::string& line : sorted) {
        std::string t;
        for (int p : pos) t += size_t(p) < line.size() ? line[size_t(p)] : '?';
        trace.push_back(t);
    }
    return true;
}

std::string diff_written_name(const std::string& path, const std::string& head, const std::string& tail,
                              const std::string& fallback)
{
    std::istringstream in(diff_read_file(path));
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, head.size(), head) != 0) continue;
        size_t end = tail.empty() ? line.size() : line.find(tail, head.size());
        if (end != std::string::npos) return line.substr(head.size(), end - head.size());
    }
    return fallback;
}

namespace {

// Argument list of the C functions: the inputs from the vector v, then the output addresses.
std::string c_arguments(const diff_circuit& c, bool reset)
{
    std::string a, sep;
    for (size_t j = 0; j < c.sorted_inputs.size(); j++, sep = ", ")
        a += sep + (reset ? std::string("0") : "(v[" + std::to_string(j) + "] == '1')");
    for (size_t j = 0; j < c.sorted_outputs.size(); j++, sep = ", ") a += sep + "&tb_o[" + std::to_string(j) + "]";
    return a;
}

// C driver; an output that the call does not write prints as x.
std::string c_driver(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& base)
{
    size_t no = c.sorted_outputs.size();
    std::ostringstream s;
    s << "#include <stdio.h>\n#include \"" << base << ".h\"\n"
      << "static const char* const tb_vec[] = {\n" << vector_literals(vec) << "  0};\n"
      << "int main(void)\n{\n  int tb_o[" << no + 1 << "];\n  int k, j;\n  FILE* f = fopen(\"c.trace\", \"w\");\n"
      << "  " << base << "_reset_automaton(" << c_arguments(c, true) << ");\n"
      << "  for (k = 0; tb_vec[k]; k++) {\n    const char* v = tb_vec[k];\n    (void)v;\n"
      << "    for (j = 0; j <= " << no << "; j++) tb_o[j] = 2;\n"
      << "    " << base << "_automaton(" << c_arguments(c, false) << ");\n"
      << "    for (j = 0; j < " << no << "; j++) fputc(tb_o[j] == 0 ? '0' : tb_o[j] == 1 ? '1' : 'x', f);\n"
      << "    fputc('\\n', f);\n  }\n  fclose(f);\n  return 0;\n}\n";
    return s.str();
}

}  // namespace

// The generated C must compile with -Wall -Werror, the parentheses warning of its node lines aside.
static const char* const c_flags = "gcc -std=c99 -Wall -Werror -Wno-parentheses";

bool diff_run_c(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                const std::string& base, diff_trace& trace, std::string& err)
{
    diff_write_file(dir + "/tb_c.c", c_driver(c, sorted_vectors(c, vec), base));
    std::string cmd = std::string(c_flags) + " -c " + base + ".c -o " + base + "_c.o && gcc -std=c99 -c tb_c.c" +
                      " && gcc -o c.exe tb_c.o " + base + "_c.o && ./c.exe";
    return diff_run_driver(c, dir, "c", cmd, trace, err);
}

bool diff_run_csharp(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                     const std::string& base, diff_trace& trace, std::string& err)
{
    // A name holding '@' has a property of another name: the driver reaches it by its place
    // among the properties (the inputs', then the outputs', in declaration order).
    size_t ni = c.sorted_inputs.size();
    // the class is named after the base name, verbatim when it is a keyword
    const std::string cls = diff_written_name(dir + "/" + base + ".cs", " public class ", "", base);
    bool at = false;
    for (const auto* names : {&c.sorted_inputs, &c.sorted_outputs})
        for (const std::string& n : *names) at |= n.find('@') != std::string::npos;
    std::ostringstream s;
    s << "public class tb_main\n{\n  static readonly string[] tb_vec = {\n" << vector_literals(sorted_vectors(c, vec))
      << "  };\n"
      // the JIT compiles the step of a large circuit (tens of thousands of statements in one
      // method) on the calling thread's stack: give it a thread of 1 GB
      << "  public static void Main()\n  {\n"
      << "    var t = new System.Threading.Thread(Run, 1 << 30);\n    t.Start();\n    t.Join();\n  }\n"
      << "  static void Run()\n  {\n    " << cls << " d = new " << cls << "();\n";
    if (at)
        s << "    var tb_p = typeof(" << cls << ").GetProperties();\n"
          << "    System.Array.Sort(tb_p, (x, y) => x.MetadataToken.CompareTo(y.MetadataToken));\n"
          << "    if (tb_p.Length != " << ni + c.sorted_outputs.size() << ") throw new System.Exception(\"properties\");\n";
    s << "    var sb = new System.Text.StringBuilder();\n    foreach (string v in tb_vec) {\n";
    for (size_t j = 0; j < ni; j++)
        if (c.sorted_inputs[j].find('@') != std::string::npos)
            s << "      tb_p[" << j << "].SetValue(d, v[" << j << "] == '1');\n";
        else
            s << "      d.P_" << c.sorted_inputs[j] << " = v[" << j << "] == '1';\n";
    s << "      d.Automaton();\n";
    for (size_t k = 0; k < c.sorted_outputs.size(); k++)
        if (c.sorted_outputs[k].find('@') != std::string::npos)
            s << "      sb.Append((bool)tb_p[" << ni + k << "].GetValue(d) ? '1' : '0');\n";
        else
            s << "      sb.Append(d.GS_" << c.sorted_outputs[k] << " ? '1' : '0');\n";
    s << "      sb.Append('\\n');\n    }\n    System.IO.File.WriteAllText(\"cs.trace\", sb.ToString());\n  }\n}\n";
    diff_write_file(dir + "/tb_cs.cs", s.str());
    std::string cmd = "mcs -nowarn:169,414,219 -out:cs.exe " + base + ".cs tb_cs.cs && mono cs.exe";
    return diff_run_driver(c, dir, "cs", cmd, trace, err);
}

bool diff_run_vhdl(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                   const std::string& base, diff_trace& trace, std::string& err)
{
    std::vector<std::string> sv = sorted_vectors(c, vec);
    size_t ni = c.sorted_inputs.size(), no = c.sorted_outputs.size();
    std::ostringstream s;
    s << "library ieee;\nuse ieee.std_logic_1164.all;\nuse std.textio.all;\n\n"
      << "entity tb_main is\nend tb_main;\n\narchitecture tb of tb_main is\n"
      << "  signal tb_i : std_logic_vector(0 to " << ni << ") := (others => '0');\n"
      << "  signal tb_o : std_logic_vector(0 to " << no << ");\n"
      << "  signal tb_reset, tb_clk : std_logic := '0';\n"
      << "  type tb_vecs is array (0 to " << sv.size() - 1 << ") of string(1 to " << ni + 1 << ");\n"
      << "  constant tb_vec : tb_vecs := (\n";
    for (size_t k = 0; k < sv.size(); k++) s << "    " << k << " => \"" << sv[k] << "-\"" << (k + 1 < sv.size() ? ",\n" : ");\n");
    // the entity is named after the base name, as an extended identifier when it is reserved
    s << "begin\n  dut: entity work." << diff_written_name(dir + "/" + base + ".vhd", "entity ", " is", base)
      << " port map (";
    for (size_t j = 0; j < ni; j++) s << "tb_i(" << j << "), ";
    s << "tb_reset, tb_clk";
    for (size_t j = 0; j < no; j++) s << ", tb_o(" << j << ")";
    s << ");\n  process\n    file f : text open write_mode is \"vhdl.trace\";\n    variable l : line;\n  begin\n"
      << "    tb_reset <= '0'; wait for 1 ns; tb_reset <= '1'; wait for 1 ns;\n"
      << "    for k in tb_vec'range loop\n"
      << "      for j in 0 to " << ni << " - 1 loop\n"
      << "        if tb_vec(k)(j + 1) = '1' then tb_i(j) <= '1'; else tb_i(j) <= '0'; end if;\n"
      << "      end loop;\n"
      << "      wait for 1 ns; tb_clk <= '1'; wait for 1 ns; tb_clk <= '0'; wait for 1 ns;\n"
      << "      for j in 0 to " << no << " - 1 loop\n"
      << "        if tb_o(j) = '1' then write(l, character'('1'));\n"
      << "        elsif tb_o(j) = '0' then write(l, character'('0'));\n"
      << "        else write(l, character'('x')); end if;\n"
      << "      end loop;\n      writeline(f, l);\n    end loop;\n    wait;\n  end process;\nend tb;\n";
    diff_write_file(dir + "/tb_vhdl.vhd", s.str());
    std::string cmd = "rm -rf ghdl && mkdir ghdl && ghdl -a --workdir=ghdl " + base + ".vhd tb_vhdl.vhd" +
                      " && ghdl -e --workdir=ghdl tb_main && ghdl -r --workdir=ghdl tb_main";
    return diff_run_driver(c, dir, "vhdl", cmd, trace, err);
}

// SystemC driver. The ports are bound in declaration order (inputs, reset, clk, outputs), found
// among the module's children, so the driver needs none of the member names.
bool diff_run_systemc(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                      const std::string& base, diff_trace& trace, std::string& err)
{
    size_t ni = c.sorted_inputs.size(), no = c.sorted_outputs.size();
    std::ostringstream s;
    // one translation unit: the library's header is the bulk of the build time
    s << "#include \"" << base << "_sc.cc\"\n#include <cstdio>\n#include <vector>\n"
      << "static const char* const tb_vec[] = {\n" << vector_literals(sorted_vectors(c, vec)) << "  0};\n"
      << "int sc_main(int, char*[])\n{\n"
      << "  std::vector<sc_signal<bool>*> tb_i, tb_o;\n"
      << "  for (int j = 0; j < " << ni << "; j++) tb_i.push_back(new sc_signal<bool>);\n"
      << "  for (int j = 0; j < " << no << "; j++) tb_o.push_back(new sc_signal<bool>);\n"
      << "  sc_signal<bool> tb_reset, tb_clk;\n  "
      << diff_written_name(dir + "/" + base + "_sc.h", "SC_MODULE(", ")", base) << " d(\"d\");\n"
      << "  size_t p = 0;\n"
      << "  for (sc_object* o : d.get_child_objects()) {\n"
      << "    if (!dynamic_cast<sc_port_base*>(o)) continue;\n"
      << "    sc_signal<bool>& s = p < " << ni << " ? *tb_i[p] : p == " << ni << " ? tb_reset : p == " << ni + 1
      << " ? tb_clk : *tb_o[p - " << ni + 2 << "];\n"
      << "    if (sc_in<bool>* i = dynamic_cast<sc_in<bool>*>(o)) i->bind(s);\n"
      << "    else if (sc_out<bool>* x = dynamic_cast<sc_out<bool>*>(o)) x->bind(s);\n"
      << "    p++;\n  }\n"
      << "  if (p != " << ni + no + 2 << ") { std::fprintf(stderr, \"%d ports\\n\", int(p)); return 1; }\n"
      << "  FILE* f = std::fopen(\"systemc.trace\", \"w\");\n"
      << "  tb_reset = true; sc_start(1, SC_NS); tb_reset = false; sc_start(1, SC_NS);\n"
      << "  for (int k = 0; tb_vec[k]; k++) {\n"
      << "    for (int j = 0; j < " << ni << "; j++) *tb_i[j] = tb_vec[k][j] == '1';\n"
      << "    sc_start(1, SC_NS); tb_clk = true; sc_start(1, SC_NS);\n"
      << "    for (int j = 0; j < " << no << "; j++) std::fputc(tb_o[j]->read() ? '1' : '0', f);\n"
      << "    std::fputc('\\n', f);\n    tb_clk = false; sc_start(1, SC_NS);\n  }\n"
      << "  std::fclose(f);\n  return 0;\n}\n";
    diff_write_file(dir + "/tb_systemc.cc", s.str());
    std::string cmd = "g++ -std=c++17 -Wall -Wno-parentheses -o systemc.exe tb_systemc.cc -lsystemc"
                      " && SC_COPYRIGHT_MESSAGE=DISABLE ./systemc.exe";
    return diff_run_driver(c, dir, "systemc", cmd, trace, err);
}
