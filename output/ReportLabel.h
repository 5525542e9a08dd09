#pragma once

#include "output/LayoutText.h"
#include "output/ReportFont.h"

#include <QFont>

#include <optional>
#include <string>

namespace pembrill {

enum class TAlignment { taLeftJustify, taCenter, taRightJustify };

// A line of text on a band. The caption is drawn as it stands, in one line,
// and the label takes the size of its caption in its font whenever either
// changes; a width set in between lasts until then. The caption is shaped
// once, when its width or its glyphs are first asked for: shaping a line is
// most of what laying it out costs, and its glyphs are what is drawn.
class TReportLabel {
public:
    TReportLabel();

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);

    const ReportFont& Font() const { return FFont; }
    void SetFont(const ReportFont& font);
    void SetFontName(const std::string& name);
    void SetFontSize(int points);
    void SetFontBold(bool bold);
    void SetFontColour(QRgb colour);

    int Width() const;
    void SetWidth(int width);
    // The caption's own width, whatever width was set.
    int CaptionWidth() const;
    const ShapedText& Shaped() const;
    int Height() const { return FHeight; }

    // The font in layout units, as it is measured and drawn.
    const QFont& LayoutFontOf() const { return FLayoutFont; }
    int PixelSize() const { return FPixelSize; }

    TAlignment Alignment = TAlignment::taLeftJustify;
    // Aligns within the band's width instead of at the label's own left edge.
    bool AlignToBand = false;
    int Left = 0;
    int Top = 0;

private:
    void FontChanged();

    std::string FCaption;
    ReportFont FFont;
    QFont FLayoutFont;
    int FPixelSize = 0;
    mutable std::optional<ShapedText> FShaped;
    mutable std::optional<int> FWidth;
    int FHeight = 0;
};

} // namespace pembrill
