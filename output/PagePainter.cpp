#include "output/PagePainter.h"

#include "output/DisplayText.h"
#include "output/PageStore.h"
#include "output/RunMonitor.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace pembrill {

namespace {

QGlyphRun GlyphRunOf(const PageStore& store, const StoredPage& page, const StoredRun& run) {
    QList<quint32> glyphs(run.GlyphCount);
    QList<QPointF> positions(run.GlyphCount);
    for (uint32_t i = 0; i < run.GlyphCount; ++i) {
        glyphs[i] = page.Glyphs[run.FirstGlyph + i];
        positions[i] = QPointF(page.GlyphX[run.FirstGlyph + i], run.Baseline);
    }
    QGlyphRun glyphRun;
    glyphRun.setRawFont(store.Face(run.Face));
    glyphRun.setGlyphIndexes(glyphs);
    glyphRun.setPositions(positions);
    return glyphRun;
}

void DrawText(QPainter& painter, const PageStore& store, const StoredPage& page,
              const StoredText& text) {
    painter.setPen(QColor::fromRgb(store.Font(text.Font).Colour));
    for (uint32_t run = text.FirstRun; run < text.FirstRun + text.RunCount; ++run)
        painter.drawGlyphRun(QPointF(text.X, text.Y), GlyphRunOf(store, page, page.Runs[run]));
}

QRectF RectOf(const StoredPage& page, const StoredShape& shape) {
    return QRectF(page.Points[shape.First], page.Points[shape.First + 1]);
}

// A line is one layout unit wide and covers the pixels its ends name, as
// Windows' pens drew them: its path runs through their middles.
void DrawLine(QPainter& painter, const StoredPage& page, const StoredShape& shape) {
    QPen pen(QColor::fromRgb(shape.Colour), 1, Qt::SolidLine, Qt::SquareCap);
    if (shape.Kind == ShapeKind::DashedLine)
        pen.setDashPattern({2, 2});
    painter.setPen(pen);
    const QPointF middle(0.5, 0.5);
    painter.drawLine(page.Points[shape.First] + middle, page.Points[shape.First + 1] + middle);
}

void DrawShape(QPainter& painter, const PageStore& store, const StoredPage& page,
               const StoredShape& shape) {
    switch (shape.Kind) {
    case ShapeKind::Fill:
        painter.fillRect(RectOf(page, shape), QColor::fromRgb(shape.Colour));
        return;
    case ShapeKind::Line:
    case ShapeKind::DashedLine:
        DrawLine(painter, page, shape);
        return;
    case ShapeKind::Polygon:
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(shape.Colour));
        painter.drawPolygon(&page.Points[shape.First], static_cast<int>(shape.Count));
        painter.setBrush(Qt::NoBrush);
        return;
    case ShapeKind::Image:
        painter.drawImage(RectOf(page, shape), page.Images[shape.Index]);
        return;
    case ShapeKind::Clip:
        painter.save();
        painter.setClipRect(RectOf(page, shape), Qt::IntersectClip);
        return;
    case ShapeKind::EndClip:
        painter.restore();
        return;
    case ShapeKind::Text:
        DrawText(painter, store, page, page.Texts[shape.Index]);
        return;
    }
}

} // namespace

void PaintPage(QPainter& painter, const PageStore& store, int index, double scale) {
    const StoredPage& page = store.Page(index);
    painter.save();
    painter.scale(scale, scale);
    for (uint32_t i = 0; i < page.Texts.size(); ++i) {
        if (i < page.DrawnTextsFrom || i >= page.DrawnTextsEnd)
            DrawText(painter, store, page, page.Texts[i]);
    }
    for (const StoredLine& line : page.Lines)
        painter.fillRect(QRectF(line.X, line.Y, line.Width, 1), Qt::black);
    for (const StoredShape& shape : page.Shapes)
        DrawShape(painter, store, page, shape);
    painter.restore();
}

double DeviceScale(const QPaintDevice& device, const PageStore& store) {
    return device.logicalDpiX() / store.LayoutDpi();
}

PrintOutcome PrintPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor) {
    printer.setDocName(ToDisplay(store.Title()));
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::Failed;
    const double scale = DeviceScale(printer, store);
    const int count = store.PageCount();
    for (int i = 0; i < count; ++i) {
        if (monitor) {
            monitor->PageSent(i + 1, count);
            if (monitor->CancelRequested()) {
                printer.abort();
                painter.end();
                return PrintOutcome::Cancelled;
            }
        }
        if (i > 0)
            printer.newPage();
        PaintPage(painter, store, i, scale);
    }
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

QImage RenderPage(const PageStore& store, int index, double scale) {
    const PageFacts& facts = store.Facts();
    const QSize size(static_cast<int>(std::ceil(facts.PaperWidth * scale)),
                     static_cast<int>(std::ceil(facts.PaperHeight * scale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(facts.LeftOffset * scale, facts.TopOffset * scale);
    PaintPage(painter, store, index, scale);
    return image;
}

} // namespace pembrill
