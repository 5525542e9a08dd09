#pragma once

#include "output/RunMonitor.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;

namespace pembrill {

// The engine's own progress window: the report's title, the page being laid
// out, and a Cancel button. While it is up it takes the input of the whole
// program, so that nothing else starts while a run blocks the event loop.
class TReportProgressForm : public QDialog, public RunMonitor {
    Q_OBJECT

public:
    explicit TReportProgressForm(QWidget* parent = nullptr);

    void RunStarted(const std::string& reportTitle) override;
    void PageBegun(int pageNumber) override;
    bool CancelRequested() override;
    void RunEnded() override;

    QLabel* TitleLabel;
    QLabel* PageLabel;
    QPushButton* CancelButton;

private:
    void ProcessEvents();

    bool Cancelled = false;
    QElapsedTimer SinceEvents;
};

} // namespace pembrill
