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

} // namespace

void PaintPage(QPainter& painter, const PageStore& store, int index, double scale) {
    const StoredPage& page = store.Page(index);
    painter.save();
    painter.scale(scale, scale);
    for (const StoredText& text : page.Texts) {
        painter.setPen(QColor::fromRgb(store.Font(text.Font).Colour));
        for (uint32_t run = text.FirstRun; run < text.FirstRun + text.RunCount; ++run)
            painter.drawGlyphRun(QPointF(text.X, text.Y), GlyphRunOf(store, page, page.Runs[run]));
    }
    for (const StoredLine& line : page.Lines)
        painter.fillRect(QRectF(line.X, line.Y, line.Width, 1), Qt::black);
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
