#include "output/LayoutText.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace pembrill {

namespace {

constexpr double NoScreenDpi = 96.0;
constexpr int DefaultPoints = 10;
constexpr int TabColumns = 8;

} // namespace

double LayoutDpi() {
    if (QGuiApplication::instance() == nullptr)
        return NoScreenDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : NoScreenDpi;
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

QTextOption LayoutTextOption(const QFont& font) {
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(TabColumns * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    return option;
}

int TextWidth(const QFont& font, const QString& text) {
    if (text.isEmpty())
        return 0;
    const QFontMetricsF metrics(font);
    const bool plain = !text.contains(QLatin1Char('\t'));
    const qreal width = plain ? metrics.horizontalAdvance(text)
                              : metrics.horizontalAdvance(text, LayoutTextOption(font));
    return static_cast<int>(std::ceil(width));
}

int TextHeight(const QFont& font) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).height()));
}

} // namespace pembrill
