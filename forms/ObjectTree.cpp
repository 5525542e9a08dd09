#include "forms/ObjectTree.h"

#include "source/Parser.h"

#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace pembrill {

ObjectTree::ObjectTree() : Items(1) {}

std::vector<int> ObjectTree::Children(int index) const {
    std::vector<int> children;
    for (int child = Items[index].FirstChild; child != 0; child = Items[child].NextSibling)
        children.push_back(child);
    return children;
}

// Walks up from the last item; the walk is as long as the number of levels
// closed since the last Add, so reading a file costs it nothing in total.
bool ObjectTree::IsOnLastPath(int index) const {
    int item = Count();
    while (item != 0 && Items[item].Level > Items[index].Level)
        item = Items[item].Parent;
    return item == index;
}

int ObjectTree::Add(int parent, const std::string& text) {
    if (parent < 0 || parent > Count() || !IsOnLastPath(parent))
        throw std::invalid_argument("object tree: an item can only be added at the end");
    const int index = static_cast<int>(Items.size());
    Item item;
    item.Text = text;
    item.Level = Items[parent].Level + 1;
    item.Parent = parent;
    Items.push_back(std::move(item));
    Item& parentItem = Items[parent];
    if (parentItem.LastChild == 0)
        parentItem.FirstChild = index;
    else
        Items[parentItem.LastChild].NextSibling = index;
    parentItem.LastChild = index;
    return index;
}

std::string ObjectTree::ClassName(int index) const {
    const std::string& text = Items[index].Text;
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return TrimBlanks(text);
    return TrimBlanks(text.substr(colon + 1));
}

void ObjectTree::Clear() {
    Items.assign(1, Item());
}

void ObjectTypes(const ObjectTree& tree, StringList& available) {
    const std::vector<std::string> present = available.Items();
    std::unordered_set<std::string> known(present.begin(), present.end());
    for (int index = 1; index <= tree.Count(); ++index) {
        std::string className = tree.ClassName(index);
        if (known.insert(className).second)
            available.Add(className);
    }
}

} // namespace pembrill
