#pragma once

#include <string>

namespace pembrill {

// The engine's own progress window as the engine sees it: told when a run
// starts, when each page begins and when the run ends, and asked between
// bands whether the user has cancelled. Asking is also where the window gets
// to process its pending events, since the run blocks the event loop. The
// stored pages are sent to the printer under the same watch, page by page.
class RunMonitor {
public:
    virtual ~RunMonitor() = default;
    virtual void RunStarted(const std::string& reportTitle) = 0;
    virtual void PageBegun(int pageNumber) = 0;
    virtual void PageSent(int /*pageNumber*/, int /*pageCount*/) {}
    virtual bool CancelRequested() = 0;
    virtual void RunEnded() = 0;
};

} // namespace pembrill
