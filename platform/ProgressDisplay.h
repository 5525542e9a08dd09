#pragma once

#include <string>

namespace pembrill {

// The two-line progress window as the writers and the page composer use it:
// the upper line (Label1) says what is being done, the lower one (Label2)
// which file or page. The window repaints only when told to, because the
// work that writes it blocks the event loop.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void SetUpperLine(const std::string& text) = 0;
    virtual void SetLowerLine(const std::string& text) = 0;
    virtual std::string LowerLine() const = 0;
    // Shows the window (not modal) and paints it at once.
    virtual void ShowAndRepaint() = 0;
    virtual void Repaint() = 0;
    virtual void Close() = 0;
};

// Where progress goes when nobody watches: the composer between runs, a
// benchmark.
class NoProgress : public ProgressDisplay {
public:
    void SetUpperLine(const std::string&) override {}
    void SetLowerLine(const std::string&) override {}
    std::string LowerLine() const override { return {}; }
    void ShowAndRepaint() override {}
    void Repaint() override {}
    void Close() override {}
};

} // namespace pembrill
