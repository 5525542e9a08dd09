// The object text reader over any bytes: a text form file read into the
// object tree twice, as Analyze reads two forms, and the tree's classes
// gathered for the object-type filter.

#include "FuzzCheck.h"
#include "FuzzDirectory.h"
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
    return 0;
}
