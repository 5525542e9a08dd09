#include "report/PrintFile.h"

#include "platform/FileError.h"
#include "platform/TempFile.h"

namespace pembrill {

std::unique_ptr<PrintFile> PrintFile::Create() {
    std::string path;
    std::FILE* file = CreateTempFile("pbx", ".TMP", path);
    if (!file)
        return nullptr;
    return std::unique_ptr<PrintFile>(new PrintFile(file, path));
}

void PrintFile::Delete(const std::string& path) {
    RemoveTempFile(path);
}

PrintFile::~PrintFile() {
    if (File)
        std::fclose(File);
}

void PrintFile::WriteLine(const std::string& line) {
    if (std::fwrite(line.data(), 1, line.size(), File) != line.size() ||
        std::fwrite("\r\n", 1, 2, File) != 2)
        throw LastFileError();
}

void PrintFile::Close() {
    std::FILE* file = File;
    File = nullptr;
    if (std::fflush(file) != 0) {
        const FileError error = LastFileError();
        std::fclose(file);
        throw error;
    }
    if (std::fclose(file) != 0)
        throw LastFileError();
}

} // namespace pembrill
