#include "report/ObjectsReport.h"

#include "platform/ByteText.h"

namespace pembrill {

namespace {

// Every selected item's ancestors are selected too, so the walk up can stop
// at the first ancestor already marked.
void MarkAncestors(const ObjectTree& tree, int item, ObjectMarks& marks) {
    for (int parent = tree.Parent(item); parent != 0 && !marks.ObjectSelected[parent];
         parent = tree.Parent(parent))
        marks.ObjectSelected[parent] = true;
}

// Components: the run of direct children that follow the item, up to its
// first grandchild. All Sub-Components: the whole subtree.
void MarkChildren(const ObjectTree& tree, int item, const ObjectsReportOptions& options,
                  ObjectMarks& marks) {
    const int level = tree.Level(item);
    for (int k = item + 1; k <= tree.Count(); ++k) {
        const bool inRun = options.Components ? tree.Level(k) == level + 1 : tree.Level(k) > level;
        if (!inRun)
            return;
        marks.ObjectSelected[k] = true;
    }
}

bool IsSelectedType(const std::string& className, const std::vector<std::string>& types) {
    const std::string wanted = LowerAscii(className);
    for (const auto& type : types)
        if (type == wanted)
            return true;
    return false;
}

} // namespace

ObjectMarks MarkFilteredObjects(const ObjectTree& tree, const StringList& selectedTypes,
                                const ObjectsReportOptions& options) {
    const size_t size = static_cast<size_t>(tree.Count()) + 1;
    ObjectMarks marks{std::vector<bool>(size, false), std::vector<bool>(size, false)};
    std::vector<std::string> types;
    for (int j = 0; j < selectedTypes.Count(); ++j)
        types.push_back(LowerAscii(selectedTypes.Item(j)));
    for (int i = 1; i <= tree.Count(); ++i) {
        if (!IsSelectedType(tree.ClassName(i), types))
            continue;
        marks.ObjectSelected[i] = true;
        marks.PropertiesSelected[i] = true;
        MarkAncestors(tree, i, marks);
        if (options.Components || options.AllSubComponents)
            MarkChildren(tree, i, options, marks);
    }
    return marks;
}

void WriteObjectsReport(const ObjectTree& tree, const StringList& selectedTypes,
                        const ObjectsReportOptions& options, LineSink& sink,
                        const std::function<void(int item)>& beforeObject) {
    const size_t size = static_cast<size_t>(tree.Count()) + 1;
    const ObjectMarks marks = options.Filtered ? MarkFilteredObjects(tree, selectedTypes, options)
                                               : ObjectMarks{std::vector<bool>(size, true),
                                                             std::vector<bool>(size, true)};
    for (int i = 1; i <= tree.Count(); ++i) {
        if (!marks.ObjectSelected[i])
            continue;
        if (beforeObject)
            beforeObject(i);
        const std::string indent(3 * static_cast<size_t>(tree.Level(i) - 1), ' ');
        sink.WriteLine(indent + tree.Text(i));
        if (!options.Properties || !marks.PropertiesSelected[i])
            continue;
        for (const auto& entry : tree.Properties(i))
            sink.WriteLine(indent + "   " + entry);
    }
}

} // namespace pembrill
