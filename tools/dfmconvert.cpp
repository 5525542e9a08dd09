// dfmconvert FILE.dfm: writes the text form of a form file as FILE.txt in
// the working directory, as Delphi's own converter does, for machines
// without a Delphi installation. On failure it says why on one line of
// standard error, exits with a non-zero code and leaves an existing FILE.txt
// as it was.

#include "platform/Process.h"
#include "tools/DfmFile.h"

#include <exception>
#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments = pembrill::ProgramArguments(argc, argv);
    if (arguments.size() != 1) {
        std::cerr << "usage: dfmconvert FILE.dfm\n";
        return 2;
    }
    const std::string& formPath = arguments.front();
    try {
        pembrill::ConvertDfmFile(formPath, pembrill::TextFileNameFor(formPath));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "dfmconvert: " << formPath << ": " << error.what() << '\n';
        return 1;
    }
}
