#pragma once

#include "report/Settings.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pembrill {

// One name moved between the lists of a filter dialog.
struct FilterMove {
    enum Target { Show, Suppress, Type };
    Target Kind;
    std::string Name;
};

// pembrill-cli's command line. Each option stands for a control or a button
// of the windows; the work is done by setting and pressing them.
struct CliOptions {
    bool Help = false;
    bool Model = false;
    bool Analyze = false;
    bool Tree = false;
    std::vector<FilterMove> Moves; // in the order given
    bool Dependencies = false;
    std::optional<std::string> Levels;
    std::optional<ReportChoice> Sources;
    std::vector<std::string> Selections;
    bool NoLineNumbers = false;
    std::optional<ReportChoice> Objects;
    bool Components = false;
    bool AllSubComponents = false;
    bool NoComponents = false;
    bool Properties = false;
    std::vector<std::pair<std::string, std::string>> Settings; // --set NAME=VALUE
    bool Text = false;
    std::optional<std::string> PdfFile;
    bool SaveSettings = false;
    bool Pictures = false;
    std::optional<std::string> PictureDir;
    std::string ProjectFile;
};

// Reads the arguments (without the program name). False with a one-line
// reason when they are not a valid command line.
bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error);

// "usage: pembrill-cli [OPTION]... PROJECT.dpr", then with withOptions a line
// for each option.
std::string CliUsage(bool withOptions);

// Runs the windows hidden as the options say; gives the exit status.
int RunCli(const CliOptions& options);

} // namespace pembrill
