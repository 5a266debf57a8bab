#pragma once

#include <string>
#include <vector>

namespace tt::test {

// What a finished child process left behind.
struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs `argv` (argv[0] is the program's path) with `input` as its standard input
// and collects its standard output and error. Throws when it cannot be started.
ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& input = {});

// The path of the command-line tool built with the tests.
std::string CliPath();

// Runs the command-line tool built with the tests, with `args` after the program name.
ProgramResult RunCli(const std::vector<std::string>& args, const std::string& input = {});

}  // namespace tt::test
