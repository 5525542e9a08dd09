#pragma once

#include <string>
#include <vector>

namespace pembrill {

// pembrill-cli's command line. Each option maps onto a control or button of
// the windows; the work is done by pressing them.
// One name moved between the lists of a filter dialog.
struct FilterMove {
    enum Target { Show, Suppress, Type };
    Target Kind;
    std::string Name;
};

struct CliOptions {
    bool Model = false;
    bool Analyze = false;
    bool Tree = false;
    std::vector<FilterMove> Moves; // in the order given
    std::string ProjectFile;
};

// Reads the arguments (without the program name). False with a one-line
// reason when they are not a valid command line.
bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error);

// Runs the windows hidden as the options say; gives the exit status.
int RunCli(const CliOptions& options);

} // namespace pembrill
