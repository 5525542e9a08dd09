#include "output/PictureFiles.h"

#include "output/DisplayText.h"
#include "output/PagePainter.h"
#include "output/PaintPicture.h"
#include "output/PictureCanvas.h"

#include <QPainter>
#include <QSaveFile>
#ifdef PEMBRILL_SVG
#include <QSvgGenerator>
#endif

#include <algorithm>

namespace pembrill {

namespace {

#ifdef PEMBRILL_SVG
bool WriteSvg(const PageStore& store, QSaveFile& file) {
    const PageFacts& facts = store.Facts();
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(QSize(facts.PaperWidth, facts.PaperHeight));
    generator.setViewBox(QRect(0, 0, facts.PaperWidth, facts.PaperHeight));
    generator.setResolution(static_cast<int>(PictureDpi));
    generator.setTitle(ToDisplay(store.Title()));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    PaintPage(painter, store, 0, 1.0);
    return painter.end();
}
#else
bool WriteSvg(const PageStore&, QSaveFile&) {
    return false;
}
#endif

} // namespace

PageStore PictureStore(const FormPicture& picture) {
    const PictureRect size = picture.Elements.empty() ? PictureRect{} : picture.Elements[0].Bounds;
    PageFacts facts;
    facts.PageWidth = facts.PaperWidth = std::max(1, size.Right());
    facts.PageHeight = facts.PaperHeight = std::max(1, size.Bottom());
    PageStore store(facts, PictureDpi,
                    picture.Elements.empty() ? std::string() : picture.Elements[0].Name);
    store.BeginPage();
    PictureCanvas canvas(store, QPointF(0, 0), 1.0);
    PaintFormPicture(canvas, picture);
    store.FinishPage();
    return store;
}

bool CanWriteSvg() {
#ifdef PEMBRILL_SVG
    return true;
#else
    return false;
#endif
}

QImage RenderPicture(const PageStore& store) {
    return RenderPage(store, 0, 1.0);
}

bool WritePictureFile(const PageStore& store, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool written = path.endsWith(".svg", Qt::CaseInsensitive)
                             ? WriteSvg(store, file)
                             : RenderPicture(store).save(&file, "PNG");
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace pembrill
