#pragma once

#include <QRectF>
#include <QWidget>

namespace pembrill {

class PageStore;

// One stored page on its sheet of paper, at a scale the preview sets.
class TPreviewPage : public QWidget {
    Q_OBJECT

public:
    TPreviewPage(const PageStore& store, QWidget* parent = nullptr);

    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int index);
    double Scale() const { return FScale; }
    void SetScale(double scale);
    // The paper's size in layout units.
    QSizeF PaperSize() const;

    // A rectangle of the page, in layout units from the printable area's
    // corner, drawn marked; an empty one marks nothing.
    void SetMark(const QRectF& mark);
    // Where the mark is drawn in the widget's own pixels.
    QRectF MarkOnWidget() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PageStore& Store;
    int FPageIndex = 0;
    double FScale = 1.0;
    QRectF FMark;
};

} // namespace pembrill
