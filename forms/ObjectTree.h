#pragma once

#include "source/StringList.h"

#include <string>
#include <vector>

namespace pembrill {

// The objects of the analysed forms as a plain tree: items 1 to Count in
// depth-first order (an item, then everything below it, then its next
// sibling); index 0 is the invisible root, the parent of every form's top
// object. Each item owns the property lines of its object.
//
// Objects are read in file order, so an item is only ever added at the end
// of the depth-first order: as the last child of the last item or of one of
// its ancestors. Depth is not limited.
class ObjectTree {
public:
    ObjectTree();

    int Count() const { return static_cast<int>(Items.size()) - 1; }
    const std::string& Text(int index) const { return Items[index].Text; }
    // 0 for the root, 1 for a form's top object.
    int Level(int index) const { return Items[index].Level; }
    // 0 for a form's top object.
    int Parent(int index) const { return Items[index].Parent; }
    const std::vector<std::string>& Properties(int index) const { return Items[index].Properties; }
    std::vector<std::string>& Properties(int index) { return Items[index].Properties; }

    bool HasChildren(int index) const { return Items[index].FirstChild != 0; }
    // The children's indices in order; Children(0) gives the forms' top
    // objects.
    std::vector<int> Children(int index) const;

    // Adds an item as the last child of `parent` and gives its index. Throws
    // std::invalid_argument when that place is not the end of the
    // depth-first order.
    int Add(int parent, const std::string& text);

    // The text after the first colon, blanks and TABs trimmed; the whole
    // text trimmed when it has no colon.
    std::string ClassName(int index) const;

    void Clear();

private:
    bool IsOnLastPath(int index) const;

    struct Item {
        std::string Text;
        int Level = 0;
        int Parent = 0;
        int FirstChild = 0;
        int LastChild = 0;
        int NextSibling = 0;
        std::vector<std::string> Properties;
    };
    std::vector<Item> Items;
};

// Adds each class name of the tree that `available` does not hold yet
// (exact comparison) to it, once.
void ObjectTypes(const ObjectTree& tree, StringList& available);

} // namespace pembrill
