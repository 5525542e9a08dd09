#pragma once

class QPrinter;

namespace pembrill {

// The page of the selected printer in layout units: the printable area, and
// where it lies on the paper.
struct PageFacts {
    int PageWidth = 0;
    int PageHeight = 0;
    int LeftOffset = 0;
    int TopOffset = 0;
    int PaperWidth = 0;
    int PaperHeight = 0;
};

// Reads the page of the printer as it is set now (orientation included),
// converting printer pixels through the printer's and the screen's
// resolutions.
PageFacts PageFactsOf(const QPrinter& printer);

} // namespace pembrill
