#include "output/WordWrapMemo.h"

#include "output/LayoutText.h"

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

void WordWrapMemo::Append(const std::string& line) {
    const QString text = LayoutString(line);
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype fitEnd = FittingEnd(text, from);
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

bool WordWrapMemo::Fits(const QString& text, qsizetype from, qsizetype to) const {
    return TextWidth(Font, text.mid(from, to - from)) <= Width;
}

// The end of the longest piece from `from` that fits, at least one character.
// The piece grows by doubling steps and is then narrowed by halving, so that a
// line of any length costs few measurements.
qsizetype WordWrapMemo::FittingEnd(const QString& text, qsizetype from) const {
    const qsizetype size = text.size();
    qsizetype low = NextBoundary(text, from);
    if (!Fits(text, from, low))
        return low;
    qsizetype high = size;
    for (qsizetype step = 1;; step *= 2) {
        if (low + step >= size) {
            if (Fits(text, from, size))
                return size;
            break;
        }
        if (!Fits(text, from, low + step)) {
            high = low + step;
            break;
        }
        low += step;
    }
    while (high - low > 1) {
        const qsizetype middle = low + (high - low) / 2;
        if (Fits(text, from, middle))
            low = middle;
        else
            high = middle;
    }
    return text[low].isLowSurrogate() ? low - 1 : low;
}

} // namespace pembrill
