#include "output/LayoutText.h"

#include "output/DisplayText.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <climits>
#include <cmath>
#include <cstdlib>

namespace pembrill {

namespace {

constexpr double NoScreenDpi = 96.0;
constexpr int DefaultPoints = 10;
constexpr int TabColumns = 8;

bool BreaksLine(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

} // namespace

QString LayoutString(const std::string& caption) {
    QString text = ToDisplay(caption);
    for (QChar& c : text) {
        if (BreaksLine(c))
            c = QLatin1Char(' ');
    }
    return text;
}

double LayoutDpi() {
    if (QGuiApplication::instance() == nullptr)
        return NoScreenDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : NoScreenDpi;
}

int MarginUnits(int tenths) {
    const double units = tenths * 0.1 * LayoutDpi();
    if (units >= INT_MAX)
        return INT_MAX;
    if (units <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(units);
}

int FontPixelSize(int points) {
    const int size = points == 0 ? DefaultPoints : std::abs(points);
    const auto pixels = std::lround(static_cast<double>(size) * LayoutDpi() / 72.0);
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}

QFont LayoutFont(const std::string& name, int pixelSize, bool bold) {
    QFont font(QString::fromStdString(name));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

std::vector<TextPiece> TextPieces(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const qreal spaceWidth = metrics.horizontalAdvance(QLatin1Char(' '));
    std::vector<TextPiece> pieces;
    qreal left = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), from);
        const QString piece = text.mid(from, tab < 0 ? -1 : tab - from);
        if (!piece.isEmpty())
            pieces.push_back(TextPiece{piece, left});
        if (tab < 0)
            return pieces;
        left = AfterTab(left + metrics.horizontalAdvance(piece), spaceWidth);
        from = tab + 1;
        if (from == text.size()) {
            pieces.push_back(TextPiece{QString(), left});
            return pieces;
        }
    }
}

qreal AfterTab(qreal left, qreal spaceWidth) {
    const qreal tabStop = TabColumns * spaceWidth;
    return tabStop > 0 ? (std::floor(left / tabStop) + 1) * tabStop : left;
}

int TextWidth(const QFont& font, const QString& text) {
    if (text.isEmpty())
        return 0;
    const std::vector<TextPiece> pieces = TextPieces(font, text);
    const TextPiece& last = pieces.back();
    const qreal width = last.Left + QFontMetricsF(font).horizontalAdvance(last.Text);
    return static_cast<int>(std::ceil(width));
}

qreal TextAscent(const QFont& font) {
    return QFontMetricsF(font).ascent();
}

int TextHeight(const QFont& font) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).height()));
}

} // namespace pembrill
