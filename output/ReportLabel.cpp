#include "output/ReportLabel.h"

#include "output/LayoutText.h"

namespace pembrill {

TReportLabel::TReportLabel() {
    FontChanged();
}

void TReportLabel::SetCaption(const std::string& caption) {
    FCaption = caption;
    AdjustSize();
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

void TReportLabel::FontChanged() {
    FPixelSize = FontPixelSize(FFont.Size);
    FLayoutFont = LayoutFont(FFont.Name, FPixelSize, FFont.Bold);
    AdjustSize();
}

void TReportLabel::AdjustSize() {
    FHeight = TextHeight(FLayoutFont);
    FWidth = TextWidth(FLayoutFont, LayoutString(FCaption));
}

} // namespace pembrill
