#include "output/PdfWriter.h"

#include "output/FontData.h"

#include <QList>
#include <QRawFont>

#include <chrono>

namespace pembrill {

PdfWriter::PdfWriter(std::string path, QSizeF paperPoints, const PageStore& store)
    : Path(std::move(path)), Store(store),
      Document(paperPoints, store.Facts(), store.LayoutDpi(), store.Title()) {}

PdfWriter::~PdfWriter() {
    Abandon();
}

void PdfWriter::Abandon() {
    {
        std::lock_guard<std::mutex> guard(Lock);
        Stopping = true;
        Failed = true;
    }
    Changed.notify_all();
    if (Worker.joinable())
        Worker.join();
}

bool PdfWriter::Start() {
    if (!Document.Open(Path))
        return false;
    Worker = std::thread([this] { Run(); });
    return true;
}

void PdfWriter::AddPage(const StoredPage& page) {
    PdfPage gathered = Gather(page);
    {
        std::lock_guard<std::mutex> guard(Lock);
        Queue.push_back(std::move(gathered));
    }
    Changed.notify_all();
}

// A face's data is read once, with the page that first draws in it; a
// glyph's advance with the page that first draws it.
PdfPage PdfWriter::Gather(const StoredPage& page) {
    PdfPage gathered;
    gathered.Page = &page;
    for (; FacesGiven < Store.FaceCount(); ++FacesGiven) {
        const QRawFont& face = Store.Face(static_cast<uint32_t>(FacesGiven));
        gathered.Faces.push_back(PdfFace{SfntOf(face), face.pixelSize()});
        AdvancesGiven.emplace_back();
    }
    for (; FontsGiven < Store.FontCount(); ++FontsGiven)
        gathered.Colours.push_back(Store.Font(static_cast<uint32_t>(FontsGiven)).Colour);
    for (const StoredRun& run : page.Runs) {
        std::vector<bool>& given = AdvancesGiven[run.Face];
        QList<quint32> glyphs;
        for (uint32_t i = run.FirstGlyph; i < run.FirstGlyph + run.GlyphCount; ++i) {
            const uint16_t glyph = page.Glyphs[i];
            if (glyph >= given.size())
                given.resize(glyph + 1u, false);
            if (!given[glyph]) {
                given[glyph] = true;
                glyphs.push_back(glyph);
            }
        }
        if (glyphs.isEmpty())
            continue;
        const QList<QPointF> advances = Store.Face(run.Face).advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            gathered.Advances.push_back(
                PdfAdvance{run.Face, static_cast<uint16_t>(glyphs[i]), advances[i].x()});
    }
    return gathered;
}

void PdfWriter::Run() {
    for (;;) {
        PdfPage next;
        {
            std::unique_lock<std::mutex> guard(Lock);
            Changed.wait(guard, [this] { return Stopping || NoMorePages || !Queue.empty(); });
            if (Stopping)
                return;
            if (Queue.empty()) {
                guard.unlock();
                const bool finished = Document.Finish(Sections);
                guard.lock();
                Failed = Failed || !finished;
                Stopping = true;
                Changed.notify_all();
                return;
            }
            next = std::move(Queue.front());
            Queue.pop_front();
        }
        Document.WritePage(next);
        {
            std::lock_guard<std::mutex> guard(Lock);
            ++Written;
        }
        Changed.notify_all();
    }
}

bool PdfWriter::Finish(const std::function<bool(int written)>& keepGoing) {
    std::unique_lock<std::mutex> guard(Lock);
    Sections = Store.Sections();
    NoMorePages = true;
    Changed.notify_all();
    while (!Stopping) {
        const int written = Written;
        guard.unlock();
        if (!keepGoing(written)) {
            guard.lock();
            Stopping = true;
            Failed = true;
            break;
        }
        guard.lock();
        Changed.wait_for(guard, std::chrono::milliseconds(40));
    }
    guard.unlock();
    Changed.notify_all();
    if (Worker.joinable())
        Worker.join();
    return !Failed;
}

} // namespace pembrill
