#include "source/Project.h"

#include "platform/ByteText.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "source/Parser.h"

#include <optional>
#include <unordered_set>

namespace pembrill {

namespace {

constexpr const char* CanNotOpenFile = "Can not open file: \r\r";

// FindInList over any list whose entry i is itemAt(i).
template <typename ItemAt>
bool FindLowered(const std::string& name, int count, ItemAt itemAt, int& index) {
    const std::string wanted = LowerAscii(name);
    for (index = 0; index < count; ++index)
        if (LowerAscii(itemAt(index)) == wanted)
            return true;
    index = -1;
    return false;
}

// A set of names that compare without regard to case, as FindInList does.
// Membership tests over the unit lists happen for every name of every uses
// clause, so they go through a hash of the lower-cased names instead of a
// walk of the list; the answers are those of FindInList.
class NameSet {
public:
    explicit NameSet(const std::vector<std::string>& names) {
        for (const auto& name : names)
            Insert(name);
    }
    explicit NameSet(const StringList& names) {
        for (int i = 0; i < names.Count(); ++i)
            Insert(names.Item(i));
    }
    bool Contains(const std::string& name) const { return Names.count(LowerAscii(name)) != 0; }
    void Insert(const std::string& name) { Names.insert(LowerAscii(name)); }

private:
    std::unordered_set<std::string> Names;
};

// AddDependencyUnit: every unit name a uses clause mentions that is neither a
// project unit nor already suppressed goes to the Suppress list.
class DependencyCollector {
public:
    DependencyCollector(const ProjectModel& model, StringList& suppressList)
        : UnitNames(model.UnitNames), SuppressedNames(suppressList), SuppressList(suppressList) {}

    void AddDependencyUnit(const std::string& name) {
        if (UnitNames.Contains(name) || SuppressedNames.Contains(name))
            return;
        SuppressList.Add(name);
        SuppressedNames.Insert(name);
    }

    bool IsProjectUnit(const std::string& name) const { return UnitNames.Contains(name); }
    void AddUnitName(const std::string& name) { UnitNames.Insert(name); }

    void ReadUsesList(TParser& parser) {
        bool last = false;
        do {
            std::string name;
            last = parser.ReadUsesName(name);
            if (name == "}")
                last = true;
            AddDependencyUnit(name);
        } while (!last);
    }

private:
    NameSet UnitNames;
    NameSet SuppressedNames;
    StringList& SuppressList;
};

std::optional<TParser> OpenParser(const std::string& path) {
    try {
        return std::optional<TParser>(std::in_place, path);
    } catch (const FileError&) {
        ShowMessage(MessageKind::Error, CanNotOpenFile + path);
        return std::nullopt;
    }
}

void ReadProjectUses(TParser& parser, std::string& token, TTokenKind& kind, ProjectModel& model,
                     ProjectLists& lists, NameSet& formNames) {
    DependencyCollector dependencies(model, lists.SuppressList);
    while (parser.FindUses(token, kind)) {
        bool last = false;
        while (!last) {
            std::string unitName, formName, fileName;
            TUsesEntryKind entryKind = uePlain;
            last = parser.ReadUsesEntry(unitName, formName, fileName, entryKind);
            if (fileName.empty()) {
                dependencies.AddDependencyUnit(unitName);
                continue;
            }
            if (dependencies.IsProjectUnit(unitName))
                continue;
            if (entryKind == uePlain)
                formNames.Insert(formName);
            model.UnitNames.push_back(unitName);
            model.FormNames.push_back(formName);
            model.UnitFiles.push_back(fileName);
            dependencies.AddUnitName(unitName);
            lists.SourceList.Add(UnitSourceEntry(formName, fileName));
        }
    }
}

void SkipStatement(TParser& parser, std::string& token, TTokenKind& kind) {
    while (!parser.AtEnd() && token != ";")
        parser.NextToken(token, kind);
}

// Application.CreateForm(TClass, Name): true when the statement has that
// shape; Name is then the current token.
bool ReadCreateFormCall(TParser& parser, std::string& token, TTokenKind& kind) {
    parser.NextToken(token, kind);
    if (token != ".")
        return false;
    parser.NextToken(token, kind);
    if (!EqualIgnoringAsciiCase(token, "createform"))
        return false;
    parser.NextToken(token, kind);
    if (token != "(")
        return false;
    parser.NextToken(token, kind); // the class name
    parser.NextToken(token, kind); // its separator
    if (token != ",")
        return false;
    parser.NextToken(token, kind);
    return true;
}

// The main form is the second argument of the first Application.CreateForm
// call after the first "begin" whose name is a form of a plain uses entry.
// The search for "begin" looks first at the token the uses reading left
// behind: when that is the file's last word, "begin", the calls are looked
// for from the file's start.
void FindMainForm(TParser& parser, std::string& token, TTokenKind& kind, ProjectModel& model,
                  const NameSet& formNames) {
    parser.Rewind();
    while (!parser.AtEnd()) {
        if (EqualIgnoringAsciiCase(token, "begin") && kind == tkIdentifier)
            break;
        parser.NextToken(token, kind);
    }
    model.MainFormName.clear();
    parser.NextToken(token, kind);
    bool found = false;
    while (!found && !parser.AtEnd()) {
        if (!EqualIgnoringAsciiCase(token, "application")) {
            SkipStatement(parser, token, kind);
        } else if (ReadCreateFormCall(parser, token, kind)) {
            model.MainFormName = token;
            found = formNames.Contains(token);
            if (!found)
                SkipStatement(parser, token, kind);
        } else {
            SkipStatement(parser, token, kind);
        }
        parser.NextToken(token, kind);
    }
}

} // namespace

bool FindInList(const std::string& name, const std::vector<std::string>& list, int& index) {
    return FindLowered(
        name, static_cast<int>(list.size()),
        [&list](int i) -> const std::string& { return list[static_cast<size_t>(i)]; }, index);
}

bool FindInList(const std::string& name, const StringList& list, int& index) {
    return FindLowered(
        name, list.Count(), [&list](int i) { return list.Item(i); }, index);
}

// An entry without a form begins with blanks, and its file name may hold
// blanks of its own ("Tool Box.pas"): only an entry that begins with a form
// name is cut at its first blank.
void SplitSourceEntry(const std::string& entry, std::string& formName, std::string& fileName) {
    if (!entry.empty() && IsBlank(entry.front())) {
        formName.clear();
        fileName = TrimBlanks(entry);
        return;
    }
    const size_t space = entry.find(' ');
    if (space == std::string::npos) {
        formName.clear();
        fileName = entry;
        return;
    }
    formName = entry.substr(0, space);
    fileName = TrimBlanks(entry.substr(space + 1));
}

bool AcceptProjectFileName(const std::string& fileName) {
    if (EqualIgnoringAsciiCase(ExtractFileExt(fileName), ".dpr"))
        return true;
    ShowMessage(MessageKind::Information, "You must enter a Delphi Project File .dpr");
    return false;
}

std::string ProjectSourceEntry(const std::string& projectFileName) {
    return std::string(20, ' ') + FileNameOf(projectFileName);
}

std::string UnitSourceEntry(const std::string& formName, const std::string& fileName) {
    std::string entry = formName;
    if (entry.size() < 18)
        entry.append(18 - entry.size(), ' ');
    return entry + "  " + fileName;
}

std::string ResolveUnitFile(const std::string& projectFileName, const std::string& fileName) {
    if (HasDirectoryPart(fileName))
        return fileName;
    return DirectoryOf(projectFileName) + fileName;
}

void ClearProjectLists(ProjectModel& model, ProjectLists& lists) {
    lists.SourceList.Clear();
    lists.UnusedList.Clear();
    model.UnitNames.clear();
    model.FormNames.clear();
    model.UnitFiles.clear();
    lists.ShowList.Clear();
    lists.SuppressList.Clear();
}

void ReadProjectFile(ProjectModel& model, ProjectLists& lists) {
    auto parser = OpenParser(model.ProjectFileName);
    if (!parser)
        return;
    std::string token;
    TTokenKind kind = tkIdentifier;
    // The first token is read as it stands, so a brace comment opening the
    // file is read as code; "//" and "(* *)" comments are skipped as anywhere.
    parser->SkipSlashAndStarComments();
    parser->ReadToken(token, kind);
    NameSet formNames{std::vector<std::string>()};
    ReadProjectUses(*parser, token, kind, model, lists, formNames);
    FindMainForm(*parser, token, kind, model, formNames);
    if (model.MainFormName.empty())
        ShowMessage(MessageKind::Warning, "Could not determine Main form of project");
}

void ScanUnitUses(const ProjectModel& model, ProjectLists& lists) {
    DependencyCollector dependencies(model, lists.SuppressList);
    for (int i = 0; i < lists.SourceList.Count(); ++i) {
        std::string formName, fileName;
        SplitSourceEntry(lists.SourceList.Item(i), formName, fileName);
        const std::string path = ResolveUnitFile(model.ProjectFileName, fileName);
        if (path == model.ProjectFileName)
            continue;
        auto parser = OpenParser(path);
        if (!parser)
            return;
        std::string token;
        TTokenKind kind = tkIdentifier;
        parser->NextToken(token, kind);
        while (parser->FindUses(token, kind))
            dependencies.ReadUsesList(*parser);
    }
}

void ListUnusedSources(const ProjectModel& model, StringList& unusedList) {
    std::string directory = DirectoryOf(model.ProjectFileName);
    if (directory.empty())
        directory = ".";
    const NameSet unitNames(model.UnitNames);
    for (const auto& name : FilesWithExtension(directory, ".pas"))
        if (!unitNames.Contains(ChangeFileExt(name, "")))
            unusedList.Add(name);
}

void ReadProject(ProjectModel& model, ProjectLists& lists) {
    const int projectEntry = lists.SourceList.Add(ProjectSourceEntry(model.ProjectFileName));
    lists.SourceList.SetSelected(projectEntry, true);
    ReadProjectFile(model, lists);
    for (const auto& unitName : model.UnitNames)
        lists.ShowList.Add(unitName);
    ScanUnitUses(model, lists);
    ListUnusedSources(model, lists.UnusedList);
}

} // namespace pembrill
