#pragma once

class QWidget;

namespace pembrill {

// Places a window in the middle of its screen, by its client area: the frame
// the window manager adds is not known before the window is first shown, and
// a window centred by its frame would open lower from its second showing on.
void CenterOnScreen(QWidget& window);

} // namespace pembrill
