#include "output/ReportLabel.h"

#include "output/LayoutText.h"

namespace pembrill {

TReportLabel::TReportLabel() {
    FontChanged();
}

void TReportLabel::SetCaption(const std::string& caption) {
    FCaption = caption;
    FWidth.reset();
}

void TReportLabel::SetFont(const ReportFont& font) {
    FFont = font;
    FontChanged();
}

void TReportLabel::SetFontName(const std::string& name) {
    FFont.Name = name;
    FontChanged();
}

void TReportLabel::SetFontSize(int points) {
    FFont.Size = points;
    FontChanged();
}

void TReportLabel::SetFontBold(bool bold) {
    FFont.Bold = bold;
    FontChanged();
}

void TReportLabel::SetFontColour(QRgb colour) {
    FFont.Colour = colour;
}

void TReportLabel::SetWidth(int width) {
    FWidth = width;
}

int TReportLabel::Width() const {
    if (!FWidth)
        FWidth = TextWidth(FLayoutFont, LayoutString(FCaption));
    return *FWidth;
}

void TReportLabel::FontChanged() {
    FPixelSize = FontPixelSize(FFont.Size);
    FLayoutFont = LayoutFont(FFont.Name, FPixelSize, FFont.Bold);
    FHeight = TextHeight(FLayoutFont);
    FWidth.reset();
}

} // namespace pembrill
