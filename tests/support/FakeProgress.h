#pragma once

#include "platform/ProgressDisplay.h"

#include <string>

namespace pembrill::test {

// Records what the writers put into the progress window.
class FakeProgress : public ProgressDisplay {
public:
    void SetUpperLine(const std::string& text) override { Upper = text; }
    void SetLowerLine(const std::string& text) override { Lower = text; }
    std::string LowerLine() const override { return Lower; }
    void ShowAndRepaint() override {
        Visible = true;
        ++Repaints;
    }
    void Repaint() override { ++Repaints; }
    void Close() override { Visible = false; }

    std::string Upper;
    std::string Lower;
    bool Visible = false;
    int Repaints = 0;
};

} // namespace pembrill::test
