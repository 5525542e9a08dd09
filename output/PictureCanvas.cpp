#include "output/PictureCanvas.h"

#include "output/LayoutText.h"
#include "output/PageStore.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace pembrill {

namespace {

// A screen of the time held 1024 by 768 pixels; an image of a form is
// never larger than sixteen of them.
constexpr qint64 ImagePixelLimit = 16LL * 1024 * 768;

QRgb RgbOf(PictureColor colour) {
    return qRgb(static_cast<int>(colour >> 16 & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour & 0xFF));
}

const char* FormatName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bitmap:
        return "BMP";
    case ImageFormat::Icon:
        return "ICO";
    case ImageFormat::Jpeg:
        return "JPEG";
    case ImageFormat::Png:
        return "PNG";
    case ImageFormat::Metafile:
    case ImageFormat::Unknown:
        break;
    }
    return nullptr;
}

} // namespace

PictureCanvas::PictureCanvas(PageStore& store, QPointF origin, double scale)
    : Store(store), Origin(origin), Scale(scale) {}

QPointF PictureCanvas::Map(QPointF point) const {
    return Origin + point * Scale;
}

QRectF PictureCanvas::Map(const QRectF& rect) const {
    return QRectF(Map(rect.topLeft()), rect.size() * Scale);
}

void PictureCanvas::Fill(const QRectF& rect, PictureColor colour) {
    if (rect.isEmpty())
        return;
    const QRectF mapped = Map(rect);
    Store.AddShape(ShapeKind::Fill, RgbOf(colour), {mapped.topLeft(), mapped.bottomRight()});
}

void PictureCanvas::Line(QPointF from, QPointF to, PictureColor colour, bool dashed) {
    Store.AddShape(dashed ? ShapeKind::DashedLine : ShapeKind::Line, RgbOf(colour),
                   {Map(from), Map(to)});
}

void PictureCanvas::Polygon(const std::vector<QPointF>& points, PictureColor colour) {
    std::vector<QPointF> mapped;
    mapped.reserve(points.size());
    for (const QPointF& point : points)
        mapped.push_back(Map(point));
    Store.AddShape(ShapeKind::Polygon, RgbOf(colour), mapped);
}

double PictureCanvas::Text(const QRectF& box, TextPlace place, const PictureFont& font,
                           PictureColor colour, const std::string& text) {
    if (text.empty() || box.isEmpty())
        return 0;
    const int pixelSize =
        std::max(1, static_cast<int>(std::lround(PicturePixelSize(font) * Scale)));
    const QFont layoutFont = LayoutFont(font.Name, pixelSize, font.Bold);
    const ShapedText shaped = ShapeText(layoutFont, LayoutString(text));
    const QRectF area = Map(box);
    const double height = TextHeight(layoutFont);
    double x = area.left();
    if (place == TextPlace::Centre)
        x += (area.width() - shaped.Width) / 2;
    else if (place == TextPlace::MiddleRight)
        x = area.right() - shaped.Width;
    const double y =
        place == TextPlace::TopLeft ? area.top() : area.top() + (area.height() - height) / 2;
    const bool overflows = shaped.Width > area.width() || height > area.height();
    if (overflows)
        Store.AddShape(ShapeKind::Clip, 0, {area.topLeft(), area.bottomRight()});
    Store.AddDrawnText(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
                       StoredFont{font.Name, pixelSize, font.Bold, RgbOf(colour)}, text, shaped);
    if (overflows)
        Store.AddShape(ShapeKind::EndClip, 0, {});
    return shaped.Width / Scale;
}

void PictureCanvas::Image(const QRectF& rect, const QImage& image) {
    if (!image.isNull() && !rect.isEmpty())
        Store.AddImage(Map(rect), image);
}

void PictureCanvas::Clip(const QRectF& rect) {
    const QRectF mapped = Map(rect);
    Store.AddShape(ShapeKind::Clip, 0, {mapped.topLeft(), mapped.bottomRight()});
}

void PictureCanvas::EndClip() {
    Store.AddShape(ShapeKind::EndClip, 0, {});
}

int PicturePixelSize(const PictureFont& font) {
    if (font.Height < 0)
        return -font.Height;
    return std::max(1, font.Height * 4 / 5);
}

QImage DecodePictureImage(const PictureImage& image) {
    const char* format = FormatName(image.Format);
    if (format == nullptr)
        return {};
    QByteArray bytes =
        QByteArray::fromRawData(image.Bytes.data(), static_cast<qsizetype>(image.Bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() ||
        static_cast<qint64>(size.width()) * size.height() > ImagePixelLimit)
        return {};
    QImage decoded;
    if (!reader.read(&decoded))
        return {};
    return decoded;
}

} // namespace pembrill
