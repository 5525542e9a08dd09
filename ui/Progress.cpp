#include "ui/Progress.h"

#include "output/DisplayText.h"
#include "ui/widgets/CenterOnScreen.h"

#include <QCoreApplication>

namespace pembrill {

TProgressForm* ProgressForm = nullptr;

namespace {

QLabel* MakeLine(QWidget& window, const char* name, int top) {
    auto* label = new QLabel(&window);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->move(0, top);
    return label;
}

} // namespace

TProgressForm::TProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName("ProgressForm");
    setWindowTitle("Progress");
    setFixedSize(400, ProgressFormHeight);
    Label1 = MakeLine(*this, "Label1", 28);
    Label2 = MakeLine(*this, "Label2", 56);
    FormCreate();
}

// Each line spans the whole window, so that its text is centred in the
// window rather than in the label.
void TProgressForm::FormCreate() {
    for (QLabel* label : {Label1, Label2})
        label->setGeometry(0, label->y(), width(), 20);
}

void TProgressForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CenterOnScreen(*this);
}

void TProgressForm::SetUpperLine(const std::string& text) {
    Label1->setText(ToDisplay(text));
}

void TProgressForm::SetLowerLine(const std::string& text) {
    LowerText = text;
    Label2->setText(ToDisplay(text));
}

std::string TProgressForm::LowerLine() const {
    return LowerText;
}

void TProgressForm::ShowAndRepaint() {
    show();
    raise();
    Repaint();
}

// The caller blocks the event loop, so the window would never paint by
// itself. Only the window system's events and the painting are let through,
// never the user's input.
void TProgressForm::Repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TProgressForm::Close() {
    close();
}

} // namespace pembrill
