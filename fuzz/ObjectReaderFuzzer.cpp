// The object text reader over any bytes: a text form file read into the
// object tree twice, as Analyze reads two forms, the tree's classes
// gathered for the object-type filter, and the picture of each form built.

#include "FuzzCheck.h"
#include "FuzzDirectory.h"
#include "forms/FormPicture.h"
#include "forms/ObjectReader.h"
#include "forms/ObjectTree.h"
#include "platform/MessageBox.h"
#include "source/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pembrill;

namespace {

class SilentMessageSink : public MessageSink {
public:
    void Show(MessageKind, const std::string&) override {}
};

// Items in depth-first order: each one's parent comes before it, one level
// up.
void CheckTree(const ObjectTree& tree) {
    for (int index = 1; index <= tree.Count(); ++index) {
        const int parent = tree.Parent(index);
        FUZZ_CHECK(parent >= 0 && parent < index);
        FUZZ_CHECK(tree.Level(index) == tree.Level(parent) + 1);
    }
}

// Each element stands for an item of the form's subtree, below its parent.
void CheckPictures(const ObjectTree& tree) {
    for (int item = 1; item <= tree.Count(); ++item) {
        if (!IsFormItem(tree, item))
            continue;
        const FormPicture picture = BuildFormPicture(tree, item);
        FUZZ_CHECK(!picture.Elements.empty() &&
                   picture.Elements.size() <= static_cast<size_t>(tree.Count()));
        for (size_t e = 1; e < picture.Elements.size(); ++e) {
            const PictureElement& element = picture.Elements[e];
            FUZZ_CHECK(element.Item > item && element.Item <= tree.Count());
            FUZZ_CHECK(element.Parent >= 0 && static_cast<size_t>(element.Parent) < e);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::FuzzDirectory::Instance().Write(
        "Form1.txt", std::string_view(reinterpret_cast<const char*>(data), size));

    SilentMessageSink messages;
    ScopedMessageSink install(messages);
    ObjectTree tree;
    ReadTextFormFile(path, tree);
    const int firstCount = tree.Count();
    ReadTextFormFile(path, tree);
    FUZZ_CHECK(tree.Count() == 2 * firstCount);
    CheckTree(tree);

    MemoryStringList available(true);
    ObjectTypes(tree, available);
    FUZZ_CHECK(available.Count() <= tree.Count());
    CheckPictures(tree);
    return 0;
}
