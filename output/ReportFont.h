#pragma once

#include <QColor>

#include <string>

namespace pembrill {

// A label's font as the report designer sets it: a face name, a size in
// points, bold or regular, and a colour.
struct ReportFont {
    std::string Name = "Arial";
    int Size = 10;
    bool Bold = false;
    QRgb Colour = qRgb(0, 0, 0);

    bool operator==(const ReportFont&) const = default;
};

} // namespace pembrill
