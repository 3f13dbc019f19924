// Files written whole or not at all, removed only when still the ones written, and programs run
// without a shell: the viewer's exports.
#ifndef NELVOR_FORMSPP_FILES_H
#define NELVOR_FORMSPP_FILES_H

#include <string>

// Writes bytes as the file name (a name of the current directory or a path) through a new
// sibling temporary file renamed into place: an existing symbolic link of that name is
// replaced, never followed, and nobody sees the file half-written. "" on success, else the
// system's reason (nothing is left behind then).
std::string write_whole_file(const std::string& name, const std::string& bytes);

// Removes the file name when it is still the very file write_whole_file wrote there; true then.
bool remove_written_file(const std::string& name);

// Runs program (looked up in PATH unless it holds a '/') with argument as its only argument and
// waits for it to end. "" when it ran, else the reason it could not be started.
std::string run_program(const std::string& program, const std::string& argument);

#endif
