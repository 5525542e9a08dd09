#include "output/ReportLabel.h"

#include <cmath>

namespace pembrill {

TReportLabel::TReportLabel() {
    FontChanged();
}

void TReportLabel::SetCaption(const std::string& caption) {
    FCaption = caption;
    FShaped.reset();
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
        FWidth = CaptionWidth();
    return *FWidth;
}

int TReportLabel::CaptionWidth() const {
    return static_cast<int>(std::ceil(Shaped().Width));
}

const ShapedText& TReportLabel::Shaped() const {
    if (!FShaped)
        FShaped = ShapeText(FLayoutFont, LayoutString(FCaption));
    return *FShaped;
}

void TReportLabel::FontChanged() {
    FPixelSize = FontPixelSize(FFont.Size);
    FLayoutFont = LayoutFont(FFont.Name, FPixelSize, FFont.Bold);
    FHeight = TextHeight(FLayoutFont);
    FShaped.reset();
    FWidth.reset();
}

} // namespace pembrill
