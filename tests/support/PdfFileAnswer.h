#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace pembrill::test {

// Answers Print's question for a PDF file each time it comes up, as a user
// would: notes the file it proposes, then names Answer, or cancels when
// Answer is empty. Asked whether to replace a file, says Replace; a dialog
// still up after a refused replacement is cancelled.
class PdfFileAnswer : public QObject {
public:
    PdfFileAnswer() {
        QApplication::instance()->installEventFilter(this);
        connect(&Timer, &QTimer::timeout, this, &PdfFileAnswer::Look);
        Timer.start(0);
    }
    ~PdfFileAnswer() override { QApplication::instance()->removeEventFilter(this); }

    QString Answer;
    bool Replace = true;
    std::vector<QString> Proposed;
    int ReplaceQuestions = 0;

protected:
    // The program asks with one dialog each time: each showing is a question.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "PdfFileDialog")
            Asking = qobject_cast<QFileDialog*>(watched);
        return false;
    }

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box && qobject_cast<QFileDialog*>(box->parentWidget())) {
            ++ReplaceQuestions;
            Refused = !Replace;
            box->button(Replace ? QMessageBox::Yes : QMessageBox::No)->click();
            return;
        }
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog || dialog->objectName() != "PdfFileDialog")
            return;
        if (Refused) {
            Refused = false;
            dialog->reject();
            return;
        }
        if (dialog != Asking)
            return;
        Asking = nullptr;
        Proposed.push_back(dialog->selectedFiles().value(0));
        if (Answer.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed, as selectFile leaves the name field alone while it has the focus.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(Answer);
        // Queued: a replace question it asks runs an event loop, in which
        // this timer, still in its slot, would never fire again.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }

    QTimer Timer;
    QPointer<QFileDialog> Asking;
    bool Refused = false;
};

} // namespace pembrill::test
