#pragma once

#include <QFont>

#include <deque>
#include <string>

namespace pembrill {

// A multi-line text box with word wrap that is never shown: a line appended
// to it is broken into display lines no wider than Width in its font, which
// are then taken out one by one.
//
// Break rule: a display line ends before the last run of blanks that still
// lets it fit; those blanks are the break and belong to no display line.
// A word wider than Width, or a line that starts with blanks up to the break,
// is cut between characters. A display line holds at least one character,
// so that a width too small for any character still makes progress.
class WordWrapMemo {
public:
    WordWrapMemo();

    void SetFont(const std::string& name, int points);
    int Width = 0;

    // The display lines are the line's text for display, as UTF-8, so that
    // each piece shows the same characters as the whole line would.
    void Append(const std::string& line);
    bool Empty() const { return Lines.empty(); }
    size_t LineCount() const { return Lines.size(); }
    // Removes and gives the first display line.
    std::string TakeFirst();
    void Clear() { Lines.clear(); }

private:
    qsizetype FittingEnd(const QString& text, qsizetype from, qreal& charWidth) const;

    QFont Font;
    std::deque<std::string> Lines;
};

} // namespace pembrill
