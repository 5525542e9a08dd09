#include "ui/widgets/GuiMessageBox.h"

#include "output/DisplayText.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace pembrill {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// CR LF, a lone CR and a lone LF each become one line break, so
// "\n\r\r" shows as three breaks as it does on Windows.
QString WithLineBreaks(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace

// A box may open while a window that stays on top is up (a progress window,
// the splash): it must stand above that window and take the input, or the
// program looks hung behind a window that takes none.
void GuiMessageSink::Show(MessageKind kind, const std::string& text) {
    QMessageBox box(IconOf(kind), QString::fromLatin1(MessageCaption(kind)),
                    WithLineBreaks(ToDisplay(text)), QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    box.exec();
}

} // namespace pembrill
