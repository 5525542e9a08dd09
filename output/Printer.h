#pragma once

#include <QStringList>

class QPrinter;
class QString;

namespace pembrill {

// The program's one printer: the printer setup dialog changes it and every
// print run goes to it. Made on first use, so an application object must
// exist by then.
QPrinter& ProgramPrinter();

// The font names offered for report text, each family once, by the name a
// user types. Qt's printers draw with the system's fonts, so these are the
// fonts the printer can print.
QStringList PrinterFontNames();

// Prints to a PDF file from now on.
void SetPdfOutput(QPrinter& printer, const QString& fileName);

// Whether printing writes a PDF file: the PDF printer is chosen, or the
// system has no printer to print on.
bool PrintsToPdf(const QPrinter& printer);

// A real printer keeps its own printable area. A PDF file has no unprintable
// strip, so that printed on paper later it would lose its edges: it gets the
// printable area of an ordinary office printer, a quarter of an inch on every
// side.
void SetPrintableArea(QPrinter& printer);

} // namespace pembrill
