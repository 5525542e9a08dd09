#pragma once

#include "platform/ProgressDisplay.h"

#include <QLabel>
#include <QWidget>

namespace pembrill {

// A two-line, stay-on-top message window for the long runs that block the
// event loop: preparing a print job and formatting its pages. It is centred
// on the screen, this high.
constexpr int ProgressFormHeight = 140;

class TProgressForm : public QWidget, public ProgressDisplay {
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);

    void SetUpperLine(const std::string& text) override;
    void SetLowerLine(const std::string& text) override;
    std::string LowerLine() const override;
    void ShowAndRepaint() override;
    void Repaint() override;
    void Close() override;

    QLabel* Label1;
    QLabel* Label2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    std::string LowerText;
};

extern TProgressForm* ProgressForm;

} // namespace pembrill
