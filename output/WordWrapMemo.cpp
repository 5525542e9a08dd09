#include "output/WordWrapMemo.h"

#include "output/LayoutText.h"

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
// line's own average width. The guess only saves measurements; every answer
// is measured.
void WordWrapMemo::Append(const std::string& line) {
    const QString text = LayoutString(line);
    const double lineWidth = TextWidth(Font, text);
    const auto perLine = static_cast<qsizetype>(
        lineWidth > 0 ? static_cast<double>(Width) * static_cast<double>(text.size()) / lineWidth
                      : static_cast<double>(text.size()));
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype fitEnd = FittingEnd(text, from, from + std::max<qsizetype>(perLine, 1));
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
// From the guess the piece grows, or shrinks, by doubling steps until it
// crosses the edge, and is then narrowed by halving, so that a good guess
// costs two measurements and a bad one few more.
qsizetype WordWrapMemo::FittingEnd(const QString& text, qsizetype from, qsizetype guess) const {
    const qsizetype size = text.size();
    const qsizetype first = NextBoundary(text, from);
    if (!Fits(text, from, first))
        return first;
    qsizetype low = first;
    qsizetype high = size + 1;
    guess = std::clamp(guess, first, size);
    if (Fits(text, from, guess)) {
        low = guess;
        for (qsizetype step = 1; low < size; step *= 2) {
            const qsizetype probe = std::min(low + step, size);
            if (!Fits(text, from, probe)) {
                high = probe;
                break;
            }
            low = probe;
        }
        if (low == size)
            return size;
    } else {
        high = guess;
        for (qsizetype step = 1;; step *= 2) {
            const qsizetype probe = std::max(high - step, first);
            if (probe == first || Fits(text, from, probe)) {
                low = probe;
                break;
            }
            high = probe;
        }
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
