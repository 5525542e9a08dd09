#include "app/FieldExitWatcher.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QFocusEvent>

namespace pembrill {

namespace {

bool IsLeaving(Qt::FocusReason reason) {
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

bool IsMouseButtonEvent(const QEvent* event) {
    return event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonRelease ||
           event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

void FieldExitWatcher::Watch(QWidget& field, std::function<void()> check) {
    Checks.emplace_back(&field, std::move(check));
    field.installEventFilter(this);
}

void FieldExitWatcher::RefuseExit(QWidget& field) {
    RefusedField = &field;
    // The focus left on a mouse press that is still being delivered. Its
    // click must not reach the control under the mouse: clicking OK would
    // close the dialog with the bad text in place.
    if (LeavingReason == Qt::MouseFocusReason) {
        SwallowingClicks = true;
        qApp->installEventFilter(this);
    }
    // Not from inside the focus change: Qt is still delivering it.
    QMetaObject::invokeMethod(this, &FieldExitWatcher::ReturnAndReport, Qt::QueuedConnection);
}

bool FieldExitWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (SwallowingClicks && IsMouseButtonEvent(event))
        return true;
    if (event->type() == QEvent::FocusOut)
        CheckExit(watched, static_cast<QFocusEvent*>(event)->reason());
    return false;
}

void FieldExitWatcher::CheckExit(QObject* field, Qt::FocusReason reason) {
    if (RefusedField || !IsLeaving(reason))
        return;
    for (const auto& [watchedField, check] : Checks) {
        if (watchedField != field)
            continue;
        LeavingReason = reason;
        check();
        return;
    }
}

void FieldExitWatcher::ReturnAndReport() {
    if (SwallowingClicks) {
        qApp->removeEventFilter(this);
        SwallowingClicks = false;
    }
    if (RefusedField)
        RefusedField->setFocus(Qt::OtherFocusReason);
    ShowMessage(MessageKind::Error, "Invalid value");
    RefusedField = nullptr;
}

} // namespace pembrill
