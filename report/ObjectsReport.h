#pragma once

#include "forms/ObjectTree.h"
#include "report/LineSink.h"
#include "source/StringList.h"

#include <functional>
#include <vector>

namespace pembrill {

// The Objects group of the print setup dialog: All or Filtered, and the
// three check boxes.
struct ObjectsReportOptions {
    bool Filtered = false;
    bool Components = false;
    bool AllSubComponents = false;
    bool Properties = false;
};

// Which items the objects section writes, and which of them with their
// property lines; indexed by tree item, 1 to the item count.
struct ObjectMarks {
    std::vector<bool> ObjectSelected;
    std::vector<bool> PropertiesSelected;
};

// The items whose class is one of the selected types (compared without
// regard to case), the objects around them, and the children Components or
// All Sub-Components add.
ObjectMarks MarkFilteredObjects(const ObjectTree& tree, const StringList& selectedTypes,
                                const ObjectsReportOptions& options);

// The object tree as indented lines, each object's property lines three
// blanks further in when asked for. `beforeObject`, when given, is told each
// item written, before its line.
void WriteObjectsReport(const ObjectTree& tree, const StringList& selectedTypes,
                        const ObjectsReportOptions& options, LineSink& sink,
                        const std::function<void(int item)>& beforeObject = {});

} // namespace pembrill
