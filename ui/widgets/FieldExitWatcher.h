#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace pembrill {

// Runs a check each time the focus leaves a watched field for another control
// of its window, by keyboard or mouse. When the check finds that the text
// does not convert, the focus goes back to the field and "Invalid value" is
// shown, so that the user cannot leave the field with such a text. Switching
// to another window or opening a drop-down list is no leaving.
class FieldExitWatcher : public QObject {
    Q_OBJECT

public:
    explicit FieldExitWatcher(QObject* parent) : QObject(parent) {}

    // `accepts` tells whether the field's text converts.
    void Watch(QWidget& field, std::function<bool()> accepts);
    // Leaving the field other than by a focus change (a value set from the
    // command line): its check at once, with the message when it fails.
    // True for a field this watcher does not watch.
    bool CheckField(QWidget& field);
    // Leaving the window (OK, Escape, its close box): the check of the
    // field that has the focus, if it is watched. False when the text does
    // not convert: the window stays, with the message and the focus back.
    bool CheckFocusedField(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckExit(QObject* field, Qt::FocusReason reason);
    void RefuseExit(QWidget& field);
    void ReturnAndReport();
    const std::function<bool()>* CheckOf(const QObject* field) const;

    std::vector<std::pair<QObject*, std::function<bool()>>> Checks;
    Qt::FocusReason LeavingReason = Qt::OtherFocusReason;
    // Set from the refusal until the message has been shown: the focus moves
    // this causes (back to the field, to the message box) are no leaving.
    QPointer<QWidget> RefusedField;
    bool SwallowingClicks = false;
};

} // namespace pembrill
