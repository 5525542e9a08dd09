#pragma once

#include <QFont>
#include <QString>

#include <string>
#include <vector>

namespace pembrill {

// A caption as it is measured and drawn: the bytes for display, kept on one
// line. Characters that would break the line when drawn are shown as blanks.
QString LayoutString(const std::string& caption);

// Page geometry is laid out in screen pixels at the screen's logical
// resolution; this is that resolution (96 when there is no screen).
double LayoutDpi();

// A margin in tenths of an inch as layout units, truncated (held to the
// range of int).
int MarginUnits(int tenths);

// A size in points as a character height in layout units, rounded as the
// Windows font mapper does. A size of 0 leaves the choice to the font system
// there; here it gives the 10 points the dialogs start with.
int FontPixelSize(int points);

// The font as it is measured and drawn, sized in layout units. Hinting is
// off so that the advances measured here scale exactly to a printer.
QFont LayoutFont(const std::string& name, int pixelSize, bool bold);

// A run of a line without tabs and where it begins, in layout units from
// the line's left edge. Tabs stand every eight blanks, as a text editor shows
// them; the engine places the runs itself rather than leaving tabs to the
// device, so that measuring and drawing agree and PDF text stays searchable.
struct TextPiece {
    QString Text;
    qreal Left = 0;
};

std::vector<TextPiece> TextPieces(const QFont& font, const QString& text);

// Where a line goes on after a tab that stands at `left`: the next stop,
// with a blank `spaceWidth` wide.
qreal AfterTab(qreal left, qreal spaceWidth);

// Width of one line of text in layout units, rounded up so that the text fits.
int TextWidth(const QFont& font, const QString& text);

// Height of one line of the font in layout units.
int TextHeight(const QFont& font);

// How far below a text's top its baseline stands, in layout units.
qreal TextAscent(const QFont& font);

} // namespace pembrill
