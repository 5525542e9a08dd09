#include "app/CenterOnScreen.h"

#include <QScreen>
#include <QWidget>

namespace pembrill {

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window.move(frame.topLeft());
}

} // namespace pembrill
