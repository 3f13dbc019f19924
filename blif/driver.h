// The command line of one run: options, file names, the driver's reports and their statuses.
#ifndef NELVOR_DRIVER_H
#define NELVOR_DRIVER_H

#include <string>

#include "blif/translation_run.h"

// The files that the driver opens, each the base name followed by its suffix (targets.h); the
// target files are the translation run's.
struct run_files {
    std::string blif; // input
    std::string log;  // log, created or emptied by every run that gets past the options
};

run_files run_file_names(const std::string& base);

extern const char* const nelvor_version; // "1.0.0"

std::string driver_help_text();          // shown by "-h"
std::string driver_missing_input_text(); // shown without an argument
std::string driver_version_text();       // shown by "-v"
std::string driver_unknown_option_text(const std::string& argument);
std::string driver_not_found_text(const std::string& blif_name);
std::string driver_folder_text(const std::string& blif_name);     // B.blif is a folder
std::string driver_no_log_text(const std::string& log_name);      // B.log cannot be created
std::string driver_module_name_text(const std::string& base);     // B's last part is no identifier

// Reads the command line into settings. Returns -1 when the run goes on to the files; otherwise
// the exit status, with report set to the text to show (help, version, missing input, unknown
// option).
int read_command_line(int argc, char** argv, run_settings& settings, std::string& report);

// The whole run of the program: command line, log, input, translation. Returns the process's
// exit status; the reports go to the message window (stderr without a display).
int nelvor_main(int argc, char** argv);

#endif
