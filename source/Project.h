#pragma once

#include "source/StringList.h"

#include <string>
#include <vector>

namespace pembrill {

// What opening a project produces; fields of the main window.
struct ProjectModel {
    std::string ProjectFileName; // as the Open dialog returned it
    // Parallel lists, one entry per unit with an "in" clause, in project
    // file order.
    std::vector<std::string> UnitNames;
    std::vector<std::string> FormNames;
    std::vector<std::string> UnitFiles; // as written in the project file
    std::string MainFormName;
};

// The list boxes a project fills besides its model: the main window's two
// source lists and the unit filter's two lists.
struct ProjectLists {
    StringList& SourceList;
    StringList& UnusedList;
    StringList& ShowList;
    StringList& SuppressList;
};

// The Open dialog takes only a project file: true for a name whose extension
// is .dpr (compared as Windows compares it); otherwise says "You must enter a
// Delphi Project File .dpr" and gives false.
bool AcceptProjectFileName(const std::string& fileName);

// Case-insensitive (A to Z only) linear search; index -1 when not found.
bool FindInList(const std::string& name, const std::vector<std::string>& list, int& index);
bool FindInList(const std::string& name, const StringList& list, int& index);

// A source list entry, as the list holds it, back into its form name and file
// name. An entry that begins with a blank has no form: its file name is the
// whole entry without the blanks at its ends.
void SplitSourceEntry(const std::string& entry, std::string& formName, std::string& fileName);

// "%18s  %s" of "" and the project file's name without its directory.
std::string ProjectSourceEntry(const std::string& projectFileName);
// "%-18s  %s" of the form name and the file name.
std::string UnitSourceEntry(const std::string& formName, const std::string& fileName);

// A file name without a directory part lies in the project file's
// directory; one with a directory part is used as written.
std::string ResolveUnitFile(const std::string& projectFileName, const std::string& fileName);

// Empties the model's lists and the four list boxes.
void ClearProjectLists(ProjectModel& model, ProjectLists& lists);

// Reads a project whose ProjectFileName is set, into an empty model and
// empty lists: the project's own source entry (selected), the project file,
// the Show list, every unit's uses clauses, the unused sources. Messages go
// through ShowMessage. A read error other than a file that cannot be opened
// raises FileError.
void ReadProject(ProjectModel& model, ProjectLists& lists);

void ReadProjectFile(ProjectModel& model, ProjectLists& lists);
void ScanUnitUses(const ProjectModel& model, ProjectLists& lists);
void ListUnusedSources(const ProjectModel& model, StringList& unusedList);

} // namespace pembrill
