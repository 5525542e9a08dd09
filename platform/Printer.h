#pragma once

#include <QStringList>

class QPrinter;

namespace pembrill {

// The program's one printer: the printer setup dialog changes it and every
// print run goes to it. Made on first use, so an application object must
// exist by then.
QPrinter& ProgramPrinter();

// The font names offered for report text. Qt's printers draw with the
// system's fonts, so these are the fonts the printer can print.
QStringList PrinterFontNames();

} // namespace pembrill
