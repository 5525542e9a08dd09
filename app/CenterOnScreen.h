#pragma once

class QWidget;

namespace pembrill {

// Places a window, frame included, in the middle of its screen.
void CenterOnScreen(QWidget& window);

} // namespace pembrill
