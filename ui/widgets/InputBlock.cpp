#include "ui/widgets/InputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace pembrill {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

InputBlock::InputBlock(QWidget& window) : Window(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlock::~InputBlock() {
    QCoreApplication::instance()->removeEventFilter(this);
}

// An accepted ShortcutOverride tells Qt that the key is taken, so that no
// shortcut of the window fires either.
bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &Window)
        return false;
    event->accept();
    return true;
}

} // namespace pembrill
