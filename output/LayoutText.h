#pragma once

#include <QFont>
#include <QString>
#include <QTextOption>

#include <string>

namespace pembrill {

// Page geometry is laid out in screen pixels at the screen's logical
// resolution; this is that resolution (96 when there is no screen).
double LayoutDpi();

// A size in points as a character height in layout units, rounded as the
// Windows font mapper does. A size of 0 leaves the choice to the font system
// there; here it gives the 10 points the dialogs start with.
int FontPixelSize(int points);

// The font as it is measured and drawn, sized in layout units. Hinting is
// off so that the advances measured here scale exactly to a printer.
QFont LayoutFont(const std::string& name, int pixelSize, bool bold);

// Tabs in report lines stand every eight blanks, as a text editor shows them.
// Measuring and drawing share this option so that both agree.
QTextOption LayoutTextOption(const QFont& font);

// Width of one line of text in layout units, rounded up so that the text fits.
int TextWidth(const QFont& font, const QString& text);

// Height of one line of the font in layout units.
int TextHeight(const QFont& font);

} // namespace pembrill
