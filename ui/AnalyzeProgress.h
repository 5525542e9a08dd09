#pragma once

#include "forms/FormConversion.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace pembrill {

// Analyze's progress window: "Analyzing form n of N", the form's name and a
// Cancel that ends Analyze once the form in hand is done. It stays on top
// and lets the waiting windows paint between forms; the wait for the
// converter itself lets nothing through.
class TAnalyzeProgressForm : public QDialog, public AnalyzeMonitor {
    Q_OBJECT

public:
    explicit TAnalyzeProgressForm(QWidget* parent = nullptr);

    // Ready for a run: not cancelled, shown.
    void Start();
    void FormBegun(int number, int count, const std::string& formName) override;
    bool CancelRequested() override;
    // The main window's close box asks for the same as Cancel.
    void Cancel();
    // Escape and the close box cancel as the button does; the window stays
    // up until the form in hand is done.
    void reject() override;

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* CancelButton;

private:
    bool Cancelled = false;
};

} // namespace pembrill
