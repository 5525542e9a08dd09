#include "ui/AnalyzeProgress.h"

#include "output/DisplayText.h"
#include "ui/widgets/CenterOnScreen.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pembrill {

TAnalyzeProgressForm::TAnalyzeProgressForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AnalyzeProgressForm");
    setWindowTitle("Analyze");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    CancelButton = new QPushButton("&Cancel", this);
    CancelButton->setObjectName("CancelButton");
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
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
