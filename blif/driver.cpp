// The command line of one run: options, file names, the driver's reports and their statuses.
#include "blif/driver.h"

#include <fstream>
#include <new>
#include <sys/stat.h>

#include "blif/blif_parser.h"
#include "blif/run_writers.h"
#include "blif/targets.h"
#include "forms/formspp.h"

const char* const nelvor_version = "1.0.0";

run_files run_file_names(const std::string& base)
{
    run_files f;
    f.blif = base + INPUT_SUFFIX;
    f.log = base + LOG_SUFFIX;
    return f;
}

// The lines joined by line breaks, no break after the last.
template <int N> static std::string lines_text(const char* const (&lines)[N])
{
    std::string text;
    for (int i = 0; i < N; ++i) {
        if (i > 0) text += "\n";
        text += lines[i];
    }
    return text;
}

static const char* const usage_lines[] = {
    "",
    "   syntax:",
    "",
    "         nelvor <filename> [-awaited] [-bac] [-lustre] [-esterel] [-c] [-cs] [-vhdl] [-systemc] [-doc] [-latex]",
    "",
    "",
    "         or nelvor -v",
    "",
    "         or nelvor -h",
    "",
    "   options:",
    "",
    "      -h : this help",
    "",
    "      -v : version",
    "",
    "      -Ox : optimisation level of the genereted code (x=0: no, x=2: better)",
    "",
    "      -awaited : export the awaited inputs",
    "",
    "      -bac : generate a ba file of boolean equations for the BAC analyser",
    "",
    "      -lustre : generate a LUSTRE node with an equivalent behavior",
    "",
    "      -esterel : genere an ESTEREL module with an equivalent behavior",
    "",
    "      -le : generate a LIGHT ESTEREL module with an equivalent behavior",
    "",
    "      -c : generate a c function with include",
    "",
    "      -cs : generate a CSharp file",
    "",
    "      -vhdl : generate a vhdl file",
    "",
    "      -systemc : generate a SystemC file with include",
    "",
    "      -doc : generate an human readable file",
    "",
    "      -latex : generate a doc file in latex format",
};

static const char* const missing_input_lines[] = {
    "missing input filename in parameter !",
    "",
    "syntax :",
    "",
    "   nelvor <filename> [-awaited] [-bac] [-lustre] [-esterel] [-le] [-c] [-cs] [-systemc] [-vhdl] [-doc] [-latex]",
    "",
    "",
    "   or nelvor -v",
    "",
    "   or nelvor -h",
};

std::string driver_help_text()
{
    return std::string("        nelvor: target generation from blif\n") +
           "        written by the nelvor author, version " + nelvor_version + "\n" + lines_text(usage_lines);
}

std::string driver_missing_input_text()
{
    return lines_text(missing_input_lines);
}

std::string driver_version_text()
{
    return std::string("nelvor : version  ") + nelvor_version;
}

std::string driver_unknown_option_text(const std::string& argument)
{
    return "`" + argument + "' unknown option: try nelvor -h to known the list ...";
}

std::string driver_not_found_text(const std::string& blif_name)
{
    return "file " + blif_name + " not found";
}

std::string driver_folder_text(const std::string& blif_name)
{
    return "file " + blif_name + " is a folder, not a BLIF file";
}

std::string driver_no_log_text(const std::string& log_name)
{
    return "file " + log_name + " cannot be created";
}

std::string driver_module_name_text(const std::string& base)
{
    return "base name " + base + " cannot name the module: its last part must be a letter or _ followed by "
           "letters, digits and _";
}

// An option that requests no target and what it sets: a flag of the settings, or the level when
// flag is null.
struct option_entry {
    const char* text;              // the option, compared whole and case-sensitive
    int run_settings::*flag;       // the flag it sets to 1, or null
    int level;                     // the level it sets when flag is null
};

static const option_entry options[] = {
    {"-awaited", &run_settings::awaited, 0}, {"-O0", nullptr, 0}, {"-O1", nullptr, 1}, {"-O2", nullptr, 2},
};

// Sets what the option sets; false when the argument is no option. The target options are
// those of the table of targets.
static bool apply_option(const std::string& argument, run_settings& settings)
{
    for (std::size_t k = 0; k < TARGET_COUNT; ++k)
        if (argument == TARGETS[k].option) {
            settings.*TARGETS[k].flag = 1;
            return true;
        }
    for (const option_entry& o : options) {
        if (argument != o.text) continue;
        if (o.flag != nullptr) settings.*o.flag = 1;
        else settings.level = o.level;
        return true;
    }
    return false;
}

int read_command_line(int argc, char** argv, run_settings& settings, std::string& report)
{
    settings = run_settings();
    report.clear();
    if (argc < 2) {
        report = driver_missing_input_text();
        return 1;
    }
    std::string first = argv[1];
    if (first == "-h") {
        report = driver_help_text();
        return 0;
    }
    if (first == "-v") {
        report = driver_version_text();
        return 0;
    }
    settings.base = first;
    for (int i = 2; i < argc; ++i)
        if (!apply_option(argv[i], settings)) {
            report = driver_unknown_option_text(argv[i]);
            return 1;
        }
    return -1;
}

int nelvor_main(int argc, char** argv)
{
    run_settings settings;
    std::string report;
    int status = read_command_line(argc, argv, settings, report);
    if (status >= 0) {
        fl_show_Smessages(report);
        return status;
    }
    run_files files = run_file_names(settings.base);
    std::ifstream input(files.blif.c_str());
    std::ofstream log(files.log.c_str()); // created even when the input cannot be opened
    if (input.fail()) {
        fl_show_Smessages(driver_not_found_text(files.blif));
        return 1;
    }
    // a folder opens as a file and fails at the first read
    struct stat st;
    if (stat(files.blif.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        fl_show_Smessages(driver_folder_text(files.blif));
        return 1;
    }
    // the scanner copies into the log what it does not recognise: a run without it loses that
    if (log.fail()) {
        fl_show_Smessages(driver_no_log_text(files.log));
        return 1;
    }
    // the module, class and entity inside the targets are named after the base name
    if (!module_name_usable(settings.base)) {
        fl_show_Smessages(driver_module_name_text(settings.base));
        return 1;
    }
    // a function without a small BDD ends the run with a message naming its signal
    bdd_node_limit_handler = blif_node_limit_reached;
    std::set_new_handler(blif_out_of_memory);
    return translation_run(settings, input, files.blif, log);
}
