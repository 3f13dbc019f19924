// Circuits of the harness: the BLIF interface reader, the random circuit generator, the input
// vectors, and the small file and shell helpers.
#include "tests/differential/diff.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>

std::string diff_quote(const std::string& s)
{
    std::string q = "'";
    for (char ch : s) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

int diff_shell(const std::string& cmd, const std::string& out, const std::string& err)
{
    std::string full = "( " + cmd + " ) >" + diff_quote(out) + " 2>" + diff_quote(err) + " </dev/null";
    int rc = std::system(full.c_str());
    if (rc == -1) return -1;
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : 128;
}

std::string diff_read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void diff_write_file(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

diff_trace diff_read_trace(const std::string& path)
{
    diff_trace t;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        t.push_back(line);
    }
    return t;
}

std::vector<int> diff_sorted_positions(const std::vector<std::string>& names,
                                       const std::vector<std::string>& sorted)
{
    std::vector<int> pos;
    for (const std::string& n : names)
        pos.push_back(int(std::lower_bound(sorted.begin(), sorted.end(), n) - sorted.begin()));
    return pos;
}

// Logical lines of a BLIF file: comments removed, continuations joined, split into words.
static std::vector<std::vector<std::string>> blif_lines(const std::string& text)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string raw, pending;
    while (std::getline(in, raw)) {
        size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.erase(hash);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (!raw.empty() && raw.back() == '\\') {
            pending += raw.substr(0, raw.size() - 1) + " ";
            continue;
        }
        std::istringstream words(pending + raw);
        pending.clear();
        std::vector<std::string> w;
        for (std::string x; words >> x;) w.push_back(x);
        if (!w.empty()) lines.push_back(w);
    }
    return lines;
}

std::string diff_join_lines(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            i++;
        } else
            out += text[i];
    }
    return out;
}

bool diff_read_circuit(const std::string& path, diff_circuit& c, std::string& err)
{
    std::ifstream probe(path);
    if (!probe) {
        err = "cannot read " + path;
        return false;
    }
    c = diff_circuit();
    c.path = path;
    for (const auto& w : blif_lines(diff_read_file(path))) {
        if (w[0] == ".model" && w.size() > 1) c.model = w[1];
        else if (w[0] == ".inputs") c.inputs.insert(c.inputs.end(), w.begin() + 1, w.end());
        else if (w[0] == ".outputs") c.outputs.insert(c.outputs.end(), w.begin() + 1, w.end());
        else if (w[0] == ".latch") {
            if (w.size() != 4 || (w[3] != "0" && w[3] != "1")) {
                err = path + ": .latch needs a next-state, a register and an initial value 0 or 1";
                return false;
            }
            c.latches.push_back({w[1], w[2], w[3] == "1"});
        }
    }
    c.sorted_inputs = c.inputs;
    c.sorted_outputs = c.outputs;
    std::sort(c.sorted_inputs.begin(), c.sorted_inputs.end());
    std::sort(c.sorted_outputs.begin(), c.sorted_outputs.end());
    c.sorted_inputs.erase(std::unique(c.sorted_inputs.begin(), c.sorted_inputs.end()), c.sorted_inputs.end());
    c.sorted_outputs.erase(std::unique(c.sorted_outputs.begin(), c.sorted_outputs.end()),
                           c.sorted_outputs.end());
    return true;
}

std::vector<std::string> diff_vectors(const diff_circuit& c, unsigned seed, int cycles)
{
    std::mt19937 rng(seed);
    std::vector<std::string> vec;
    for (int k = 0; k < cycles; k++) {
        std::string v;
        for (size_t j = 0; j < c.inputs.size(); j++) v += char('0' + (rng() >> 7) % 2);
        vec.push_back(v);
    }
    return vec;
}

// ---- generator ----

namespace {

// Names given to some signals of a circuit with hardware names: frame ports, reserved words of
// VHDL and C++, a case twin and identifiers that VHDL only takes as extended identifiers.
const char* const hw_names_table[] = {"reset", "clk", "signal", "begin", "out", "in", "int",
                                      "process", "A", "x_", "y__z", "sensitive", "next", "end"};

struct generator {
    std::mt19937 rng;
    std::ostringstream text;
    int pick(int n) { return n <= 0 ? 0 : int(rng() % unsigned(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    // One cover over `fanin` with the defined signal `name`: ON-set or OFF-set cubes with
    // don't-cares, a copy, an inverter, or one of the three constant forms.
    void cover(const std::vector<std::string>& fanin, const std::string& name)
    {
        text << ".names";
        for (const std::string& f : fanin) text << " " << f;
        text << " " << name << "\n";
        if (fanin.empty()) {
            int k = pick(3);
            if (k == 1) text << "1\n";
            if (k == 2) text << "0\n";
            return;
        }
        if (fanin.size() == 1 && chance(60)) {
            text << (chance(70) ? "1 1\n" : "0 1\n");
            return;
        }
        char out = chance(25) ? '0' : '1';
        int rows = 1 + pick(3);
        for (int r = 0; r < rows; r++) {
            for (size_t i = 0; i < fanin.size(); i++) text << "01-"[pick(chance(30) ? 3 : 2)];
            text << " " << out << "\n";
        }
    }
};

}  // namespace

std::string diff_generate(unsigned seed, int gates, const std::string& names)
{
    const bool hw_names = names == "hw", awkward = hw_names || names == "at";
    generator g{std::mt19937(seed), {}};
    int ni = std::min(2 + gates / 25, 40), ns = 1 + gates / 10, no = std::min(1 + gates / 8, 64);
    std::vector<std::string> in, reg, gate;
    for (int i = 0; i < ni; i++) in.push_back("i" + std::to_string(i));
    for (int i = 0; i < ns; i++) reg.push_back("r" + std::to_string(i));
    for (int i = 0; i < gates; i++) gate.push_back("n" + std::to_string(i));
    if (hw_names) {
        // spread the awkward names over inputs, registers and gates
        std::vector<std::string*> slots;
        for (auto* v : {&in, &reg, &gate})
            for (size_t i = 0; i < v->size() && i < 5; i++) slots.push_back(&(*v)[i]);
        size_t k = 0;
        for (const char* n : hw_names_table)
            if (k < slots.size()) *slots[k++] = n;
        if (!gate.empty()) gate.back() = "a";  // "A" twin when "A" is taken above
    }
    if (awkward) {
        // names the C-like targets cannot write as they are: names holding '@' (one beside its
        // at-free form), an input and a gate named like the copy "dut_" + name that the CSharp
        // class makes of another signal (the harness translates every circuit as dut), a gate
        // named like the node array (dut_def_node), one named like the next value of a register
        // (dut_ + register + next) and a register holding '@'
        in.insert(in.end(), {"@", "i@n", "i_at_n", "dut_" + in[0]});
        // names that a C# property's setter or asynchronous code read otherwise, and registers
        // named like the C step and reset functions (dut_automaton, dut_reset_automaton)
        in.insert(in.end(), {"value", "await"});
        ni = int(in.size());
        reg.insert(reg.end(), {"automaton", "reset_automaton"});
        reg.push_back("r@");
        ns = int(reg.size());
        if (gates >= 10) {
            gate[size_t(gates) - 2] = "def_node";
            gate[size_t(gates) - 3] = "g@";
            gate[size_t(gates) - 4] = "dut_" + gate[0];
            gate[size_t(gates) - 5] = reg[0] + "next";
        }
    }
    // outputs: gates (some read by later gates), one or two registers, a copy of an output
    std::vector<std::string> out;
    for (int i = 0; i < no; i++) out.push_back(gate[size_t(g.pick(gates))]);
    out.push_back(reg[0]);
    if (ns > 2 && g.chance(50)) out.push_back(reg[2]);
    if (awkward) {
        out.push_back(reg.back());
        for (int back = 2; back <= 5 && gates >= 10; back++) out.push_back(gate[size_t(gates - back)]);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());

    g.text << ".model gen" << seed << "_" << gates << "\n.inputs";
    for (const std::string& x : in) g.text << " " << x;
    g.text << "\n.outputs";
    for (const std::string& x : out) g.text << " " << x;
    g.text << "\n";
    // latches first for half of the registers, the others after the gates
    auto latch = [&](int r) {
        std::string next;
        int kind = g.pick(10);
        if (kind == 0) next = in[size_t(g.pick(ni))];                        // fed by an input
        else if (kind == 1 && ns > 1) next = reg[size_t((r + 1) % ns)];      // fed by a register
        else if (kind == 2) next = out[size_t(g.pick(int(out.size())))];     // fed by an output
        else next = gate[size_t(g.pick(gates))];
        if (next == reg[size_t(r)]) next = gate[size_t(g.pick(gates))];
        g.text << ".latch " << next << " " << reg[size_t(r)] << " " << g.pick(2) << "\n";
    };
    for (int r = 0; r < ns / 2; r++) latch(r);
    std::vector<std::string> avail = in;
    avail.insert(avail.end(), reg.begin(), reg.end());
    for (int i = 0; i < gates; i++) {
        std::vector<std::string> fanin;
        int k = g.chance(6) ? 0 : g.chance(15) ? 1 : 1 + g.pick(4);
        for (int j = 0; j < k; j++) {
            // prefer recent gates, so that chains form and outputs get read
            size_t pos = avail.size() > 8 && g.chance(60) ? avail.size() - 1 - size_t(g.pick(8))
                                                          : size_t(g.pick(int(avail.size())));
            if (std::find(fanin.begin(), fanin.end(), avail[pos]) == fanin.end()) fanin.push_back(avail[pos]);
        }
        g.cover(fanin, gate[size_t(i)]);
        avail.push_back(gate[size_t(i)]);
    }
    for (int r = ns / 2; r < ns; r++) latch(r);
    g.text << ".end\n";
    return g.text.str();
}
