#pragma once

#include <string>

namespace pembrill {

// The engine's one program-wide printer object: what its windows are called,
// and the facts of the page taken at the start of the latest run.
class TReportPrinter {
public:
    std::string PreviewCaption;
    std::string ProgressCaption;
    // The preview's "Load report" and "Save report" buttons. This engine has
    // no report file format, so its preview never shows them; the program
    // turns them off all the same.
    bool ShowLoadButton = false;
    bool ShowSaveButton = false;
    // The unprintable strip at the left edge of the paper, in layout units.
    int LeftOffset = 0;
};

// The program's printer object.
TReportPrinter& ReportPrinter();

} // namespace pembrill
