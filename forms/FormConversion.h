#pragma once

#include "forms/ObjectTree.h"
#include "source/StringList.h"

#include <functional>
#include <optional>
#include <string>

namespace pembrill {

// The form file of a unit: its file name with the extension .dfm, in the
// project file's directory when the name has no directory part of its own.
std::string FormFilePath(const std::string& projectFileName, const std::string& unitFileName);

// The converter's output for a form file: same place, extension .txt.
std::string TextFormFilePath(const std::string& formFilePath);

// Runs the converter on one form file, in the form file's directory with the
// file's bare name as its one argument, and blocks until it has ended. True
// when it could be started, whatever it then did; false after a message when
// it could not. `repaint` redraws the window that the wait kept from drawing.
bool ConvertFormFile(const std::string& converterPath, const std::string& formFilePath,
                     const std::function<void()>& repaint);

// Has the converter write the text form file of one source list entry and
// gives its path; nullopt when the entry is to be skipped: it has no form
// (silently), or its form file is missing, cannot be converted or no new
// text form file appeared (after a message).
std::optional<std::string> ConvertSourceEntry(const std::string& entry,
                                              const std::string& projectFileName,
                                              const std::string& converterPath,
                                              const std::function<void()>& repaint);

// What Analyze tells the window that watches it, and asks it between forms.
class AnalyzeMonitor {
public:
    virtual ~AnalyzeMonitor() = default;
    // Before a form is converted: its number among the list's entries with a
    // form (from 1), their count and the form's name.
    virtual void FormBegun(int number, int count, const std::string& formName) = 0;
    // After each form, read or skipped; true ends Analyze there.
    virtual bool CancelRequested() = 0;
};

// Analyze: converts and reads the form of every entry of the source list, in
// list order, appending one top-level item per form read to the tree. A
// cancel leaves the tree as if the list had ended after the form in hand.
// The monitor may be null.
void AnalyzeForms(const StringList& sourceList, const std::string& projectFileName,
                  const std::string& converterPath, ObjectTree& tree,
                  const std::function<void()>& repaint, AnalyzeMonitor* monitor);

} // namespace pembrill
