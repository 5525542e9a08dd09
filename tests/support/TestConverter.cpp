// A stand-in for the form converter in tests that start one, where no shell
// script can serve (Windows). Started as the program starts the converter,
// with the form file's bare name, it appends "<working directory>|<argument
// count>|<arguments>" to the file $TEST_CONVERTER_LOG names, then acts by the
// form file's name:
//
//     Slow*     waits 300 ms, then writes the text form
//     Quiet*    writes nothing and ends well
//     Failing*  writes nothing and exits with 3
//     Exit3*    writes the text form and exits with 3
//     else      writes the text form: a copy of the form file, as base.txt

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

void LogCall(int argc, char** argv) {
    const char* log = std::getenv("TEST_CONVERTER_LOG");
    if (!log)
        return;
    std::string arguments;
    for (int i = 1; i < argc; ++i)
        arguments += (i > 1 ? " " : "") + std::string(argv[i]);
    std::ofstream(log, std::ios::app | std::ios::binary)
        << fs::current_path().string() << "|" << argc - 1 << "|" << arguments << "\n";
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

int main(int argc, char** argv) {
    LogCall(argc, argv);
    if (argc < 2)
        return 2;
    const fs::path form = argv[1];
    const std::string base = form.stem().string();
    if (StartsWith(base, "Quiet"))
        return 0;
    if (StartsWith(base, "Failing"))
        return 3;
    if (StartsWith(base, "Slow"))
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::error_code error;
    fs::copy_file(form, base + ".txt", fs::copy_options::overwrite_existing, error);
    if (error)
        return 1;
    return StartsWith(base, "Exit3") ? 3 : 0;
}
