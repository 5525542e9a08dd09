#pragma once

#include "forms/ObjectTree.h"

#include <string>

namespace pembrill::test {

// Every item as "<index> <level> <text>", each property line below it behind
// a TAB, one line each.
inline std::string TreeDump(const ObjectTree& tree) {
    std::string dump;
    for (int index = 1; index <= tree.Count(); ++index) {
        dump += std::to_string(index) + " " + std::to_string(tree.Level(index)) + " " +
                tree.Text(index) + "\n";
        for (const auto& property : tree.Properties(index))
            dump += "\t" + property + "\n";
    }
    return dump;
}

} // namespace pembrill::test
