#include "output/WordWrapMemo.h"

#include "output/LayoutText.h"

#include <QFontMetricsF>

#include <algorithm>

namespace pembrill {

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The next character boundary after `at`: a surrogate pair is one character.
qsizetype NextBoundary(const QString& text, qsizetype at) {
    ++at;
    if (at < text.size() && text[at].isLowSurrogate())
        ++at;
    return at;
}

// The last blank at or before `at` and not before `from`; `from` when none.
qsizetype LastBlank(const QString& text, qsizetype from, qsizetype at) {
    while (at > from && !IsBlank(text[at]))
        --at;
    return at;
}

qsizetype TrimBlanksBack(const QString& text, qsizetype from, qsizetype end) {
    while (end > from && IsBlank(text[end - 1]))
        --end;
    return end;
}

qsizetype SkipBlanks(const QString& text, qsizetype at) {
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

} // namespace

WordWrapMemo::WordWrapMemo() {
    SetFont("Courier New", 10);
}

void WordWrapMemo::SetFont(const std::string& name, int points) {
    Font = LayoutFont(name, FontPixelSize(points), false);
}

// Each piece is searched for from a guess: as many characters as fit at the
// width a character took in the last measurement (the font's average width
// at first). The guess only saves measurements; every answer is measured.
void WordWrapMemo::Append(const std::string& line) {
    const QString text = LayoutString(line);
    qreal charWidth = QFontMetricsF(Font).averageCharWidth();
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype fitEnd = FittingEnd(text, from, charWidth);
        qsizetype end = fitEnd;
        qsizetype next = fitEnd;
        if (fitEnd < text.size()) {
            const qsizetype breakAt = LastBlank(text, from, fitEnd);
            const qsizetype wordEnd = TrimBlanksBack(text, from, breakAt);
            if (wordEnd > from) {
                end = wordEnd;
                next = SkipBlanks(text, breakAt);
            }
        }
        Lines.push_back(text.mid(from, end - from).toStdString());
        from = next;
    }
}

std::string WordWrapMemo::TakeFirst() {
    std::string first = std::move(Lines.front());
    Lines.pop_front();
    return first;
}

// The end of the longest piece from `from` that fits, at least one character.
// Each measurement aims the next one at the width by the width a character
// took in it, so that a good guess costs two measurements (the piece that
// fits and the one a character longer); after an aim beyond what is known,
// the range left is halved. `charWidth` comes in as the guess and goes out
// as the last measurement's.
qsizetype WordWrapMemo::FittingEnd(const QString& text, qsizetype from, qreal& charWidth) const {
    qsizetype fits = from;
    qsizetype tooWide = text.size() + 1;
    bool aimed = true;
    while (tooWide - fits > 1) {
        const auto aim = static_cast<qsizetype>(
            charWidth > 0 ? static_cast<double>(from) + Width / charWidth : text.size());
        const qsizetype probe =
            aimed ? std::clamp(aim, fits + 1, tooWide - 1) : fits + (tooWide - fits) / 2;
        aimed = probe == aim;
        const int width = TextWidth(Font, text.mid(from, probe - from));
        charWidth = static_cast<qreal>(width) / static_cast<qreal>(probe - from);
        if (width <= Width)
            fits = probe;
        else
            tooWide = probe;
    }
    if (fits > from && fits < text.size() && text[fits].isLowSurrogate())
        --fits;
    return fits > from ? fits : NextBoundary(text, from);
}

} // namespace pembrill
