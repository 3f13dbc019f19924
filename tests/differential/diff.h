// The differential harness: circuits, input vectors, traces and the runners that produce them.
#ifndef NELVOR_DIFF_H
#define NELVOR_DIFF_H

#include <ostream>
#include <string>
#include <vector>

struct diff_latch {
    std::string next;  // next-state signal (first field of .latch)
    std::string reg;   // register (second field)
    int init = 0;      // initial value, 0 or 1
};

// What the harness needs to know of a BLIF circuit: its interface and its registers.
struct diff_circuit {
    std::string path;                    // the BLIF file
    std::string model;                   // the .model name
    std::vector<std::string> inputs;     // .inputs, in file order
    std::vector<std::string> outputs;    // .outputs, in file order
    std::vector<diff_latch> latches;     // .latch lines, in file order
    std::vector<std::string> sorted_inputs;   // inputs in byte order: the parameter order of the targets
    std::vector<std::string> sorted_outputs;  // outputs in byte order
};

// One trace: for every cycle a line of '0'/'1' per output, in .outputs order.
using diff_trace = std::vector<std::string>;

// Reads the interface of a BLIF file; returns false with a one-line message in err.
bool diff_read_circuit(const std::string& path, diff_circuit& c, std::string& err);

// Writes a random legal circuit of about `gates` gates (covers) drawn from `seed`. With names
// "at" some signals have names that the C-like targets cannot write as they are ('@', the node
// array's name, the name of another signal's copy or next value); with "hw" those and signals
// named like ports or reserved words of the hardware targets; with "" none.
std::string diff_generate(unsigned seed, int gates, const std::string& names);

// The BLIF text with every continued line (ending in a backslash) joined to the next one.
std::string diff_join_lines(const std::string& text);

// Random input vectors: `cycles` strings of one '0'/'1' per input, in .inputs order.
std::vector<std::string> diff_vectors(const diff_circuit& c, unsigned seed, int cycles);

// Runs a shell command with stdout and stderr sent to the named files; returns its exit status.
int diff_shell(const std::string& cmd, const std::string& out, const std::string& err);
std::string diff_quote(const std::string& s);
std::string diff_read_file(const std::string& path);
void diff_write_file(const std::string& path, const std::string& text);
diff_trace diff_read_trace(const std::string& path);

// The reference: yosys reads the BLIF, Icarus Verilog simulates it on a generated test bench.
// Returns false with a message in err when a tool fails.
bool diff_reference(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                    diff_trace& trace, std::string& err);

// A target run: in `dir`, where the translator wrote its files for base name `base`, writes a
// driver, compiles and runs it on the vectors. Returns false with a message in err when a tool fails.
using diff_runner = bool (*)(const diff_circuit& c, const std::vector<std::string>& vec,
                             const std::string& dir, const std::string& base, diff_trace& trace,
                             std::string& err);

bool diff_run_c(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                const std::string&, diff_trace&, std::string&);
bool diff_run_csharp(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                     const std::string&, diff_trace&, std::string&);
bool diff_run_sketch(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                     const std::string&, diff_trace&, std::string&);
bool diff_run_vhdl(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                   const std::string&, diff_trace&, std::string&);
bool diff_run_systemc(const diff_circuit&, const std::vector<std::string>&, const std::string&,
                      const std::string&, diff_trace&, std::string&);

// Runs `cmd` in `dir`; the command must leave the outputs, one line per cycle in byte order of the
// names, in `label`.trace, which becomes the trace in .outputs order.
bool diff_run_driver(const diff_circuit& c, const std::string& dir, const std::string& label, const std::string& cmd,
                     diff_trace& trace, std::string& err);

// Reads the BLIF file with the translator's front end and writes its sketch for base name `base`
// (every output at an odd place of the byte order is a pulse action); returns the exit status.
int diff_write_sketch(const std::string& blif, const std::string& base, int level, std::ostream& out);

// The name that the first line of the file at path beginning with head gives between head and
// the first tail after it, or the line's end for an empty tail (the module name as a target
// wrote it); fallback when there is none.
std::string diff_written_name(const std::string& path, const std::string& head, const std::string& tail,
                              const std::string& fallback);

// The path of this program.
std::string diff_self();

// Index of each output of `c.outputs` in `c.sorted_outputs` (and likewise for the inputs).
std::vector<int> diff_sorted_positions(const std::vector<std::string>& names,
                                       const std::vector<std::string>& sorted);

#endif
