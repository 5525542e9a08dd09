#pragma once

#include "report/LineSink.h"

#include <cstdio>
#include <memory>
#include <string>

namespace pembrill {

// One section's print file: a temporary file "pbx??????.TMP" of plain text
// lines ended by CR LF, with no marks of any kind. The file stays on disk
// after Close until the job deletes it.
class PrintFile : public LineSink {
public:
    // Null when the file cannot be made.
    static std::unique_ptr<PrintFile> Create();
    ~PrintFile() override;
    PrintFile(const PrintFile&) = delete;
    PrintFile& operator=(const PrintFile&) = delete;

    // Throws FileError with the platform's text when the write fails (a
    // full disk).
    void WriteLine(const std::string& line) override;
    // Flushes and closes; throws FileError when the data could not be
    // written.
    void Close();

    const std::string& Path() const { return FilePath; }
    // Deletes the print file at `path`, made by Create and closed since: the
    // job keeps only the paths until the run returns.
    static void Delete(const std::string& path);

private:
    PrintFile(std::FILE* file, std::string path) : File(file), FilePath(std::move(path)) {}

    std::FILE* File;
    std::string FilePath;
};

} // namespace pembrill
