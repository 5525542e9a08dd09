#include "forms/FormConversion.h"

#include "forms/ObjectReader.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "source/Parser.h"
#include "source/Project.h"

#include <chrono>

namespace pembrill {

namespace {

using FileAge = std::optional<std::chrono::nanoseconds>;

// The last-write time at full precision, so that a text form file rewritten
// within moments of the previous one still counts as rewritten; nullopt when
// the file does not exist.
FileAge AgeOf(const std::string& path) {
    return LastWriteTime(path);
}

// The file the converter writes: the form file's name as found on disk with
// the extension .txt. Looking it up without regard to case would find an
// older UNIT1.TXT beside a unit1.dfm whose unit1.txt is not yet written.
std::string WrittenTextFormFile(const std::string& formFilePath) {
    return TextFormFilePath(NativePath(formFilePath));
}

void ShowNoTextFormFile(const std::string& formFilePath, const std::string& textFormFilePath) {
    ShowMessage(MessageKind::Error,
                "Could not create the unit's object text file. A possible reason is that you do "
                "not have write permission in the directory or the text file is marked as "
                "read-only. No objects will be reported for this form.\r\rUnit: " +
                    formFilePath + "\r\r" + "Textfile: " + textFormFilePath);
}

} // namespace

std::string FormFilePath(const std::string& projectFileName, const std::string& unitFileName) {
    return ResolveUnitFile(projectFileName, ChangeFileExt(unitFileName, ".dfm"));
}

std::string TextFormFilePath(const std::string& formFilePath) {
    return ChangeFileExt(formFilePath, ".txt");
}

bool ConvertFormFile(const std::string& converterPath, const std::string& formFilePath,
                     const std::function<void()>& repaint) {
    const std::string formFile = NativePath(formFilePath);
    const std::string folder = DirectoryOf(formFile);
    const std::string directory = folder.empty() ? std::string(".") : folder;
    int errorCode = 0;
    if (RunAndWait(NativePath(converterPath), FileNameOf(formFile), directory, errorCode)) {
        if (repaint)
            repaint();
        return true;
    }
    ShowMessage(MessageKind::Error, "CreateProcess failed:" + std::to_string(errorCode));
    return false;
}

std::optional<std::string> ConvertSourceEntry(const std::string& entry,
                                              const std::string& projectFileName,
                                              const std::string& converterPath,
                                              const std::function<void()>& repaint) {
    std::string formName, fileName;
    SplitSourceEntry(entry, formName, fileName);
    if (formName.empty())
        return std::nullopt;
    const std::string formFilePath = FormFilePath(projectFileName, fileName);
    const std::string textFormFilePath = TextFormFilePath(formFilePath);
    const std::string writtenFile = WrittenTextFormFile(formFilePath);
    const FileAge ageBefore = AgeOf(writtenFile);
    if (!FileExists(NativePath(formFilePath))) {
        ShowMessage(MessageKind::Error, "Could not open the unit \r\r" + formFilePath);
        return std::nullopt;
    }
    if (!ConvertFormFile(converterPath, formFilePath, repaint)) {
        ShowMessage(MessageKind::Error, "Could not convert " + formFilePath + " to text format");
        return std::nullopt;
    }
    if (AgeOf(writtenFile) == ageBefore) {
        ShowNoTextFormFile(formFilePath, textFormFilePath);
        return std::nullopt;
    }
    return writtenFile;
}

namespace {

std::string FormNameOf(const std::string& entry) {
    std::string formName, fileName;
    SplitSourceEntry(entry, formName, fileName);
    return formName;
}

int FormCount(const StringList& sourceList, int entryCount) {
    int forms = 0;
    for (int i = 0; i < entryCount; ++i)
        forms += FormNameOf(sourceList.Item(i)).empty() ? 0 : 1;
    return forms;
}

} // namespace

void AnalyzeForms(const StringList& sourceList, const std::string& projectFileName,
                  const std::string& converterPath, ObjectTree& tree,
                  const std::function<void()>& repaint, AnalyzeMonitor* monitor) {
    const int count = sourceList.Count();
    const int forms = monitor ? FormCount(sourceList, count) : 0;
    int formNumber = 0;
    for (int i = 0; i < count; ++i) {
        const std::string entry = sourceList.Item(i);
        const std::string formName = FormNameOf(entry);
        if (formName.empty())
            continue;
        if (monitor)
            monitor->FormBegun(++formNumber, forms, formName);
        const std::optional<std::string> textFormFile =
            ConvertSourceEntry(entry, projectFileName, converterPath, repaint);
        if (textFormFile)
            ReadTextFormFile(*textFormFile, tree);
        if (monitor && monitor->CancelRequested())
            return;
    }
}

} // namespace pembrill
