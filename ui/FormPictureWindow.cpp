#include "ui/FormPictureWindow.h"

#include "output/DisplayText.h"
#include "output/PagePainter.h"
#include "output/PictureFiles.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace pembrill {

namespace {

// The designer's grab handles around the selected control.
constexpr int Handle = 5;

} // namespace

class PictureView : public QWidget {
public:
    explicit PictureView(FormPictureWindow& window) : QWidget(nullptr), Window(window) {
        setObjectName(QStringLiteral("PictureView"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!Window.Store)
            return;
        PaintPage(painter, *Window.Store, 0, 1.0);
        if (Window.Marked < 0)
            return;
        const PictureRect& r = Window.Picture.Elements[static_cast<size_t>(Window.Marked)].Bounds;
        const QRect marked(r.Left, r.Top, r.Width, r.Height);
        for (const QPoint corner : {marked.topLeft(), marked.topRight(), marked.bottomLeft(),
                                    marked.bottomRight(), QPoint(marked.center().x(), marked.top()),
                                    QPoint(marked.center().x(), marked.bottom()),
                                    QPoint(marked.left(), marked.center().y()),
                                    QPoint(marked.right(), marked.center().y())})
            painter.fillRect(QRect(corner - QPoint(Handle / 2, Handle / 2), QSize(Handle, Handle)),
                             Qt::black);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            Window.Clicked(event->position().toPoint());
    }

private:
    FormPictureWindow& Window;
};

FormPictureWindow::FormPictureWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormPictureWindow"));
    Scroller = new QScrollArea(this);
    View = new PictureView(*this);
    Scroller->setWidget(View);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Scroller);
}

void FormPictureWindow::ShowForm(const ObjectTree& tree, int formItem, int item) {
    if (formItem != ShownForm || Tree != &tree || !Store) {
        Tree = &tree;
        ShownForm = formItem;
        Picture = BuildFormPicture(tree, formItem);
        Store.emplace(PictureStore(Picture));
        View->resize(Store->Facts().PaperWidth, Store->Facts().PaperHeight);
        setWindowTitle(
            ToDisplay(Picture.Elements.empty() ? std::string() : Picture.Elements[0].Name));
        resize(std::min(View->width() + 24, 1000), std::min(View->height() + 24, 750));
    }
    MarkItem(item);
    show();
    raise();
    activateWindow();
}

void FormPictureWindow::MarkItem(int item) {
    if (!Tree || !Store)
        return;
    const int marked = ElementOfItem(Picture, *Tree, item);
    if (marked == Marked)
        return;
    Marked = marked;
    View->update();
}

void FormPictureWindow::Clear() {
    hide();
    Tree = nullptr;
    ShownForm = 0;
    Picture = {};
    Store.reset();
    Marked = -1;
}

void FormPictureWindow::Clicked(QPoint point) {
    const int element = ElementAt(Picture, point.x(), point.y());
    if (element >= 0)
        emit ItemClicked(Picture.Elements[static_cast<size_t>(element)].Item);
}

} // namespace pembrill
