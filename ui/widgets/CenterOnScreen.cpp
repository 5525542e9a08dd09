#include "ui/widgets/CenterOnScreen.h"

#include <QScreen>
#include <QWidget>

namespace pembrill {

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect area = window.geometry();
    area.moveCenter(screen->geometry().center());
    window.setGeometry(area);
}

} // namespace pembrill
