#include "platform/Printer.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPrinter>

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

QStringList PrinterFontNames() {
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            names.append(family);
    }
    return names;
}

} // namespace pembrill
