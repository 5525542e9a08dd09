#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPointF>
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
// off so that the advances measured here scale exactly to a printer. A font
// whose data a PDF file cannot carry (a Type 1 font) is replaced by the
// system's sans-serif font here, before anything is laid out in it, so that
// every output draws what the layout measured.
QFont LayoutFont(const std::string& name, int pixelSize, bool bold);

// Glyph runs as Qt's text layout shaped them (kerning, ligatures,
// right-to-left runs, joined Arabic, marks, the fonts that stand in for
// characters the font lacks) and the characters [From, From + Length) of
// the text they were shaped from. Their positions count from Origin within
// the text: the left edge of their piece (the characters between two tabs),
// and the baseline a font's ascent below the text's top, whatever the
// fallback fonts' ascents.
struct ShapedRange {
    qsizetype From = 0;
    qsizetype Length = 0;
    QPointF Origin;
    QList<QGlyphRun> Runs;
};

// A line of text shaped once, as every output draws it: each piece is
// shaped on its own and is one range where its glyphs follow its characters
// one for one, left to right, in one run (a listing's line); otherwise each
// of its clusters (a ligature, a letter with its marks, a right-to-left
// letter, a character no font has) is a range of its own, so that the glyphs
// of every range stand for its characters. Tabs stand every eight blanks, as
// a text editor shows them; the layout places the pieces itself rather than
// leaving tabs to a device, so that measuring and drawing agree and PDF text
// stays searchable.
struct ShapedText {
    std::vector<ShapedRange> Ranges;
    qreal Width = 0;
};

ShapedText ShapeText(const QFont& font, const QString& text);

// Where a line goes on after a tab that stands at `left`: the next stop,
// with a blank `spaceWidth` wide.
qreal AfterTab(qreal left, qreal spaceWidth);

// Width of one line of text in layout units, rounded up so that the text
// fits: the width of ShapeText's shaping, without keeping its glyphs.
int TextWidth(const QFont& font, const QString& text);

// Height of one line of the font in layout units.
int TextHeight(const QFont& font);

// How far below a text's top its baseline stands, in layout units.
qreal TextAscent(const QFont& font);

} // namespace pembrill
