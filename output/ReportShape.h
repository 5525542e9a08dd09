#pragma once

namespace pembrill {

enum class TShapeType { rsHorLine };

// A line on a band; the only kind the reports use is a horizontal line one
// layout unit thick, at Top within the band.
class TReportShape {
public:
    TShapeType Shape = TShapeType::rsHorLine;
    bool Visible = true;
    int Left = 0;
    int Top = 0;
    int Width = 0;
};

} // namespace pembrill
