#include "ui/AnalyzeProgress.h"

#include "output/DisplayText.h"
#include "ui/widgets/CenterOnScreen.h"
#include "ui/widgets/DialogControls.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace pembrill {

TAnalyzeProgressForm::TAnalyzeProgressForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AnalyzeProgressForm");
    setWindowTitle("Analyze");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    const ProgressControls controls = MakeProgressControls(*this, "Label1", "Label2");
    Label1 = controls.Upper;
    Label2 = controls.Lower;
    CancelButton = controls.Cancel;
    connect(CancelButton, &QPushButton::clicked, this, &TAnalyzeProgressForm::Cancel);
    setMinimumWidth(320);
}

void TAnalyzeProgressForm::Start() {
    Cancelled = false;
    CancelButton->setEnabled(true);
    Label1->clear();
    Label2->clear();
    show();
    CenterOnScreen(*this);
    raise();
}

void TAnalyzeProgressForm::FormBegun(int number, int count, const std::string& formName) {
    Label1->setText(QString("Analyzing form %1 of %2").arg(number).arg(count));
    Label2->setText(ToDisplay(formName));
    QCoreApplication::processEvents();
}

bool TAnalyzeProgressForm::CancelRequested() {
    QCoreApplication::processEvents();
    return Cancelled;
}

void TAnalyzeProgressForm::Cancel() {
    Cancelled = true;
    CancelButton->setEnabled(false);
}

void TAnalyzeProgressForm::reject() {
    Cancel();
}

} // namespace pembrill
