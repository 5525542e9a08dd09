#pragma once

#include <vector>

namespace pembrill {

class TReportLabel;
class TReportShape;

enum class TBandType { rbPageHeader, rbDetail, rbPageFooter };

// A strip across the page holding labels and lines. Its children are owned by
// the report's owner (the form), as the band's own list only places them.
class TReportBand {
public:
    explicit TReportBand(TBandType bandType) : BandType(bandType) {}

    void AddLabel(TReportLabel& label) { Labels.push_back(&label); }
    void AddShape(TReportShape& shape) { Shapes.push_back(&shape); }

    TBandType BandType;
    // A band that is not enabled is not printed and takes no room.
    bool Enabled = true;
    int Height = 0;
    // Set by the report at the start of a run: the usable width of the page.
    int Width = 0;
    // The band's place in the design; content is placed relative to it.
    int Left = 0;
    int Top = 0;
    std::vector<TReportLabel*> Labels;
    std::vector<TReportShape*> Shapes;
};

} // namespace pembrill
