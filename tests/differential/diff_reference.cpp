// The reference simulation: yosys reads the BLIF and writes Verilog, Icarus Verilog runs it on a
// generated test bench that applies one input vector per cycle and prints the outputs.
#include "tests/differential/diff.h"

#include <sstream>

// yosys turns each .latch into a $ff cell on the global clock with its initial value as an
// attribute; zinit rewrites every one to start at 0 (adding inverters around those that start
// at 1), so the test bench's $ff only needs the clock and a zero start.
// With more than 12 inputs in a cover, read_blif needs -sop, and techmap turns the covers into
// gates and the $ff cells into $_FF_ cells.
static const char* const ff_model =
    "module \\$ff #(parameter WIDTH = 1) (input [WIDTH-1:0] D, output reg [WIDTH-1:0] Q);\n"
    "  initial Q = 0;\n"
    "  always @(posedge tb.clk) Q <= D;\n"
    "endmodule\n"
    "module \\$_FF_ (input D, output reg Q);\n"
    "  initial Q = 0;\n"
    "  always @(posedge tb.clk) Q <= D;\n"
    "endmodule\n";

static const char* const yosys_scripts[] = {"read_blif %s; hierarchy -auto-top; rename -top ref_dut; zinit -all",
                                            "read_blif -sop %s; hierarchy -auto-top; rename -top ref_dut; techmap; "
                                            "zinit -all"};

bool diff_reference(const diff_circuit& c, const std::vector<std::string>& vec, const std::string& dir,
                    diff_trace& trace, std::string& err)
{
    std::string ref = dir + "/ref.v", tb = dir + "/ref_tb.v", sim = dir + "/ref.vvp";
    bool read = false;
    for (const char* form : yosys_scripts) {
        std::string script = form;
        script.replace(script.find("%s"), 2, c.path);
        script += "; write_verilog -noattr " + ref;
        if (diff_shell("yosys -q -p " + diff_quote(script), dir + "/yosys.out", dir + "/yosys.err") == 0) {
            read = true;
            break;
        }
    }
    if (!read) {
        err = "yosys failed on " + c.path + " (see " + dir + "/yosys.err)";
        return false;
    }
    size_t ni = c.inputs.size(), no = c.outputs.size();
    std::ostringstream v;
    v << "`timescale 1ns/1ns\n" << ff_model << "module tb;\n  reg clk = 0;\n";
    v << "  reg [" << ni << ":0] in;\n  wire [" << no << ":0] out;\n";
    v << "  reg [" << ni << ":0] vec [0:" << (vec.empty() ? 0 : vec.size() - 1) << "];\n";
    v << "  integer k, j;\n  assign out[0] = 1'b0;\n  ref_dut dut(";
    std::string sep;
    for (size_t j = 0; j < ni; j++, sep = ", ") v << sep << ".\\" << c.inputs[j] << " (in[" << j + 1 << "])";
    for (size_t j = 0; j < no; j++, sep = ", ") v << sep << ".\\" << c.outputs[j] << " (out[" << j + 1 << "])";
    v << ");\n  initial begin\n";
    for (size_t k = 0; k < vec.size(); k++) {
        std::string bits(vec[k].rbegin(), vec[k].rend());
        v << "    vec[" << k << "] = " << ni + 1 << "'b" << bits << "0;\n";
    }
    v << "    for (k = 0; k < " << vec.size() << "; k = k + 1) begin\n"
      << "      in = vec[k];\n      #1;\n"
      << "      for (j = 1; j <= " << no << "; j = j + 1) $write(\"%b\", out[j]);\n"
      << "      $write(\"\\n\");\n      clk = 1; #1; clk = 0; #1;\n    end\n    $finish;\n  end\nendmodule\n";
    diff_write_file(tb, v.str());
    if (diff_shell("iverilog -o " + diff_quote(sim) + " " + diff_quote(tb) + " " + diff_quote(ref),
                   dir + "/iverilog.out", dir + "/iverilog.err") != 0) {
        err = "iverilog failed on the reference of " + c.path + " (see " + dir + "/iverilog.err)";
        return false;
    }
    if (diff_shell("vvp -n " + diff_quote(sim), dir + "/ref.trace", dir + "/vvp.err") != 0) {
        err = "vvp failed on the reference of " + c.path;
        return false;
    }
    trace = diff_read_trace(dir + "/ref.trace");
    while (!trace.empty() && trace.back().find_first_not_of("01xz") != std::string::npos) trace.pop_back();
    return true;
}
