#include "ui/widgets/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace pembrill {

WaitCursor::WaitCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace pembrill
