#include "ui/PreviewPage.h"

#include "output/PagePainter.h"
#include "output/PageStore.h"

#include <QPainter>

#include <cmath>

namespace pembrill {

namespace {

// Grey room around the sheet, in screen pixels.
constexpr int Border = 12;

} // namespace

TPreviewPage::TPreviewPage(const PageStore& store, QWidget* parent)
    : QWidget(parent), Store(store) {
    setObjectName("PreviewPage");
    setFocusPolicy(Qt::NoFocus);
}

void TPreviewPage::SetPageIndex(int index) {
    FPageIndex = index;
    update();
}

void TPreviewPage::SetScale(double scale) {
    FScale = scale;
    resize(sizeHint());
    updateGeometry();
    update();
}

void TPreviewPage::SetMark(const QRectF& mark) {
    FMark = mark;
    update();
}

QRectF TPreviewPage::MarkOnWidget() const {
    if (FMark.isEmpty())
        return {};
    const PageFacts& facts = Store.Facts();
    const QSizeF paper = PaperSize() * FScale;
    const QPointF origin((width() - paper.width()) / 2 + facts.LeftOffset * FScale,
                         Border + facts.TopOffset * FScale);
    return QRectF(origin + FMark.topLeft() * FScale, FMark.size() * FScale);
}

QSizeF TPreviewPage::PaperSize() const {
    return QSizeF(Store.Facts().PaperWidth, Store.Facts().PaperHeight);
}

QSize TPreviewPage::sizeHint() const {
    const QSizeF paper = PaperSize() * FScale;
    return QSize(static_cast<int>(std::ceil(paper.width())) + 2 * Border,
                 static_cast<int>(std::ceil(paper.height())) + 2 * Border);
}

void TPreviewPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    const QSizeF paper = PaperSize() * FScale;
    const QRectF sheet(QPointF((width() - paper.width()) / 2, Border), paper);
    painter.fillRect(sheet.translated(3, 3), Qt::darkGray);
    painter.fillRect(sheet, Qt::white);
    if (Store.FinishedPageCount() == 0)
        return;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(sheet);
    const PageFacts& facts = Store.Facts();
    painter.translate(sheet.left() + facts.LeftOffset * FScale,
                      sheet.top() + facts.TopOffset * FScale);
    PaintPage(painter, Store, FPageIndex, FScale);
    if (FMark.isEmpty())
        return;
    painter.resetTransform();
    painter.fillRect(MarkOnWidget().adjusted(-2, -1, 2, 1), QColor(255, 200, 0, 90));
}

} // namespace pembrill
