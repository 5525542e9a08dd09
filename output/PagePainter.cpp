#include "output/PagePainter.h"

#include "output/DisplayText.h"
#include "output/LayoutText.h"
#include "output/PageStore.h"
#include "output/RunMonitor.h"

#include <QPainter>
#include <QPrinter>

#include <cmath>
#include <string>
#include <vector>

namespace pembrill {

namespace {

std::vector<QFont> FontsOf(const PageStore& store) {
    std::vector<QFont> fonts;
    fonts.reserve(static_cast<size_t>(store.FontCount()));
    for (int i = 0; i < store.FontCount(); ++i) {
        const StoredFont& font = store.Font(static_cast<uint32_t>(i));
        fonts.push_back(LayoutFont(font.Name, font.PixelSize, font.Bold));
    }
    return fonts;
}

void PaintText(QPainter& painter, const QFont& font, QRgb colour, const StoredText& text,
               const QString& characters) {
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(colour));
    const qreal baseline = text.Y + TextAscent(font);
    for (const TextPiece& piece : TextPieces(font, characters))
        painter.drawText(QPointF(text.X + piece.Left, baseline), piece.Text);
}

} // namespace

void PaintPage(QPainter& painter, const PageStore& store, int index, double scale) {
    const StoredPage& page = store.Page(index);
    const std::vector<QFont> fonts = FontsOf(store);
    painter.save();
    painter.scale(scale, scale);
    for (const StoredText& text : page.Texts) {
        const QString characters = LayoutString(std::string(page.TextOf(text)));
        PaintText(painter, fonts[text.Font], store.Font(text.Font).Colour, text, characters);
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
