#include "output/Printer.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>

namespace pembrill {

namespace {

QPrinter* Printer = nullptr;

// A printer outliving the application object would tear down its print
// engine without the platform it was made on.
void DeletePrinter() {
    delete Printer;
    Printer = nullptr;
}

} // namespace

QPrinter& ProgramPrinter() {
    if (!Printer) {
        Printer = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(DeletePrinter);
    }
    return *Printer;
}

// A family that more than one foundry makes is listed as "C059 [urw]";
// drawing by the family's own name finds it all the same.
QStringList PrinterFontNames() {
    QStringList names;
    for (QString family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(foundry);
        if (!names.contains(family))
            names.append(family);
    }
    return names;
}

void SetPdfOutput(QPrinter& printer, const QString& fileName) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    SetPrintableArea(printer);
}

bool PrintsToPdf(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ||
           QPrinterInfo::availablePrinters().isEmpty();
}

void SetPrintableArea(QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        printer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
        return;
    }
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

} // namespace pembrill
