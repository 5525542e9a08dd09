#pragma once

#include "output/RunMonitor.h"

#include <QDialog>
#include <QElapsedTimer>

#include <optional>

class QLabel;
class QPushButton;

namespace pembrill {

class TBandReport;

// The engine's own progress window: the report's title, the page being laid
// out or sent to the printer, and a Cancel button. While it is up it takes the
// input of the whole program, so that nothing else starts while a run blocks
// the event loop. It stays on top below the screen's centre, where the
// composer's progress window, also on top, cannot cover its Cancel.
class TReportProgressForm : public QDialog, public RunMonitor {
    Q_OBJECT

public:
    explicit TReportProgressForm(QWidget* parent = nullptr);

    void RunStarted(const std::string& reportTitle) override;
    void PageBegun(int pageNumber) override;
    void PageSent(int pageNumber, int pageCount) override;
    bool CancelRequested() override;
    void RunEnded() override;
    // Escape and the close box cancel the run as the button does; the
    // window stays up until the run has ended.
    void reject() override;

    QLabel* TitleLabel;
    QLabel* PageLabel;
    QPushButton* CancelButton;

private:
    void ProcessEvents();
    void PlaceBelowCentre();

    bool Cancelled = false;
    QElapsedTimer SinceEvents;
};

// The engine's progress window for the length of a scope, when the report's
// ShowProgress asks for it; the engine no longer watches it once the scope is
// left, even with the run still going on.
class EngineProgressWindow {
public:
    EngineProgressWindow(TBandReport& report, QWidget* parent);
    ~EngineProgressWindow();
    EngineProgressWindow(const EngineProgressWindow&) = delete;
    EngineProgressWindow& operator=(const EngineProgressWindow&) = delete;

    // The same window watches the pages go out; null when there is none.
    RunMonitor* Monitor() { return Window ? &*Window : nullptr; }

private:
    TBandReport& Report;
    std::optional<TReportProgressForm> Window;
};

} // namespace pembrill
