#include "ui/widgets/FieldExitWatcher.h"

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

void FieldExitWatcher::Watch(QWidget& field, std::function<bool()> accepts) {
    Checks.emplace_back(&field, std::move(accepts));
    field.installEventFilter(this);
}

const std::function<bool()>* FieldExitWatcher::CheckOf(const QObject* field) const {
    for (const auto& [watchedField, accepts] : Checks)
        if (watchedField == field)
            return &accepts;
    return nullptr;
}

bool FieldExitWatcher::CheckFocusedField(QWidget& window) {
    QWidget* field = window.focusWidget();
    return !field || CheckField(*field);
}

bool FieldExitWatcher::CheckField(QWidget& field) {
    const std::function<bool()>* accepts = CheckOf(&field);
    if (!accepts || (*accepts)())
        return true;
    field.setFocus(Qt::OtherFocusReason);
    ShowMessage(MessageKind::Error, "Invalid value");
    return false;
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
    const std::function<bool()>* accepts = CheckOf(field);
    if (!accepts || (*accepts)())
        return;
    LeavingReason = reason;
    RefuseExit(*static_cast<QWidget*>(field));
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
