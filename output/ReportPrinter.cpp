#include "output/ReportPrinter.h"

namespace pembrill {

TReportPrinter& ReportPrinter() {
    static TReportPrinter printer;
    return printer;
}

} // namespace pembrill
