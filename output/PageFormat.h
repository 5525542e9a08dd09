#pragma once

#include <string>

namespace pembrill {

// The page settings as the Page Format dialog holds them in its controls,
// taken at the start of a run. Texts are kept as typed: the composer
// converts them (margin, sizes) and compares them (footer choices) itself.
struct PageFormat {
    std::string LeftMargin = "0.1"; // EditLeft, inches
    bool WordWrap = true;
    bool Header = true;
    bool HeaderBold = true;
    bool HeaderLine = true;
    std::string HeaderFont = "Arial";
    std::string HeaderFontSize = "10";
    bool Footer = true;
    bool FooterLine = true;
    std::string BottomLeft = "DateTime";
    std::string BottomCenter = "Filename";
    std::string BottomRight = "PageNum";
    bool BottomLeftBold = false;
    bool BottomCenterBold = true;
    bool BottomRightBold = false;
    std::string FooterFont = "Arial";
    std::string FooterFontSize = "10";
};

} // namespace pembrill
