#pragma once

#include "forms/FormPicture.h"

#include <QImage>
#include <QPointF>
#include <QRectF>

#include <string>
#include <vector>

namespace pembrill {

class PageStore;

// A picture's pixels are the screen's of its time.
constexpr double PictureDpi = 96;

// Where a text stands in its box.
enum class TextPlace { TopLeft, MiddleLeft, Centre, MiddleRight };

// The narrow canvas a form's picture is painted on, in the picture's
// pixels: filled rectangles and polygons, lines, texts, images and clips.
// It draws into the page of a store begun last, so that every output (the
// Qt painter for screen, printer, PNG and SVG, and the PDF writer) draws the
// same steps and the glyphs each text was shaped into once, here.
class PictureCanvas {
public:
    // Pixel (0, 0) of the picture at `origin` of the page, in layout units;
    // `scale` layout units to a pixel.
    PictureCanvas(PageStore& store, QPointF origin, double scale);

    void Fill(const QRectF& rect, PictureColor colour);
    // A line covering the pixels from `from` to `to`, both included.
    void Line(QPointF from, QPointF to, PictureColor colour, bool dashed = false);
    void Polygon(const std::vector<QPointF>& points, PictureColor colour);
    // One line of text in the font, placed in the box and cut off at its
    // edges; gives its width in pixels.
    double Text(const QRectF& box, TextPlace place, const PictureFont& font, PictureColor colour,
                const std::string& text);
    void Image(const QRectF& rect, const QImage& image);
    // Drawing stays within the rectangle until the matching EndClip.
    void Clip(const QRectF& rect);
    void EndClip();

private:
    QPointF Map(QPointF point) const;
    QRectF Map(const QRectF& rect) const;

    PageStore& Store;
    QPointF Origin;
    double Scale;
};

// A font's character height in the picture's pixels: Delphi's negative
// Height, or the cell height less the usual internal leading.
int PicturePixelSize(const PictureFont& font);

// The image the form file stores, decoded by Qt's readers; a null image
// for a metafile, an unknown format, a file that does not decode, and one
// whose dimensions exceed a screen's many times over (decoding it would
// take memory out of all proportion to the form).
QImage DecodePictureImage(const PictureImage& image);

} // namespace pembrill
