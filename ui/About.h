#pragma once

#include <QDialog>

class QLabel;
class QPixmap;
class QPushButton;
class QTimer;

namespace pembrill {

// The program's icon, drawn rather than shipped as a file.
QPixmap ProgramIconPixmap();

// The About box, which is also the start-up splash: it stays on top from its
// creation until its timer fires or OK is pressed, then becomes an ordinary
// box that Help, About shows modally.
class TAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit TAboutDlg(QWidget* parent = nullptr);

    // Shows the box and paints it at once, before the slow creation of the
    // other windows gives the event loop a chance to.
    void ShowSplash();
    void StartSplashTimer(int milliseconds);
    // The About command: modal, until OK. A splash still on the screen is
    // ended first, so the box is not shown twice.
    void ShowModal();

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;
    QTimer* SplashTimer;

public slots:
    void SplashTimerTimer();
    void OKButtonClick();

private:
    void EndSplash();
};

extern TAboutDlg* AboutDlg;

} // namespace pembrill
