#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace pembrill {

// Runs a check each time the focus leaves a watched field for another control
// of its window, by keyboard or mouse. A check that fails calls RefuseExit:
// the focus goes back to the field and "Invalid value" is shown, so that the
// user cannot leave the field with text that does not convert. Switching to
// another window or opening a drop-down list is no leaving.
class FieldExitWatcher : public QObject {
    Q_OBJECT

public:
    explicit FieldExitWatcher(QObject* parent) : QObject(parent) {}

    void Watch(QWidget& field, std::function<void()> check);
    // Only from within a check.
    void RefuseExit(QWidget& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckExit(QObject* field, Qt::FocusReason reason);
    void ReturnAndReport();

    std::vector<std::pair<QObject*, std::function<void()>>> Checks;
    Qt::FocusReason LeavingReason = Qt::OtherFocusReason;
    // Set from the refusal until the message has been shown: the focus moves
    // this causes (back to the field, to the message box) are no leaving.
    QPointer<QWidget> RefusedField;
    bool SwallowingClicks = false;
};

} // namespace pembrill
