#pragma once

namespace pembrill {

// The hourglass for the lifetime of a scope, restored however the scope is
// left. Scopes nest.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace pembrill
