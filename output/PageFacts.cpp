#include "output/PageFacts.h"

#include "output/LayoutText.h"

#include <QPrinter>

namespace pembrill {

PageFacts PageFactsOf(const QPrinter& printer) {
    const double scale = LayoutDpi() / printer.resolution();
    const auto toLayout = [scale](double pixels) { return static_cast<int>(pixels * scale); };
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    PageFacts facts;
    facts.PageWidth = toLayout(page.width());
    facts.PageHeight = toLayout(page.height());
    facts.LeftOffset = toLayout(page.left() - paper.left());
    facts.TopOffset = toLayout(page.top() - paper.top());
    facts.PaperWidth = toLayout(paper.width());
    facts.PaperHeight = toLayout(paper.height());
    return facts;
}

} // namespace pembrill
