#include "ui/About.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace pembrill {

TAboutDlg* AboutDlg = nullptr;

// A printed page with a dog-ear and text lines: the program documents
// projects on paper.
QPixmap ProgramIconPixmap() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPolygon page(
        {QPoint(5, 1), QPoint(20, 1), QPoint(27, 8), QPoint(27, 30), QPoint(5, 30)});
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(page);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawPolygon(QPolygon({QPoint(20, 1), QPoint(20, 8), QPoint(27, 8)}));
    painter.setPen(QPen(QColor(0, 0, 128), 2));
    for (int y = 12; y <= 26; y += 4)
        painter.drawLine(9, y, y == 12 ? 17 : 23, y);
    return pixmap;
}

TAboutDlg::TAboutDlg(QWidget* parent)
    : QDialog(parent), ProgramIcon(new QLabel(this)), ProductName(new QLabel(this)),
      Version(new QLabel(this)), OKButton(new QPushButton(QStringLiteral("OK"), this)),
      SplashTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(QStringLiteral("About"));
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(ProgramIconPixmap());
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setText(QStringLiteral("Pembrill"));
    QFont large(QStringLiteral("Arial"), 24);
    large.setBold(true);
    ProductName->setFont(large);
    Version->setObjectName(QStringLiteral("Version"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    SplashTimer->setObjectName(QStringLiteral("SplashTimer"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* heading = new QHBoxLayout;
    heading->addWidget(ProgramIcon);
    heading->addSpacing(12);
    heading->addWidget(ProductName);
    heading->addStretch();
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(12, 10, 12, 10);
    panelLayout->addLayout(heading);
    panelLayout->addWidget(Version);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(panel);
    layout->addSpacing(4);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    connect(SplashTimer, &QTimer::timeout, this, &TAboutDlg::SplashTimerTimer);
    connect(OKButton, &QPushButton::clicked, this, &TAboutDlg::OKButtonClick);

    Version->setText(QStringLiteral("Version 1.0 for Windows 95"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void TAboutDlg::ShowSplash() {
    show();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TAboutDlg::StartSplashTimer(int milliseconds) {
    SplashTimer->setInterval(milliseconds);
    SplashTimer->start();
}

void TAboutDlg::ShowModal() {
    EndSplash();
    exec();
}

void TAboutDlg::SplashTimerTimer() {
    EndSplash();
}

void TAboutDlg::OKButtonClick() {
    EndSplash();
}

// done() before the flag change: changing a visible window's flags hides it
// behind QDialog's back, and a running exec() would never return.
void TAboutDlg::EndSplash() {
    SplashTimer->stop();
    done(QDialog::Accepted);
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

} // namespace pembrill
