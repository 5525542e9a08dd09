#pragma once

#include "output/PageStore.h"

#include <QSizeF>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pembrill {

class PdfDocument;

// A stored font as the PDF draws it: with the ascent by which the layout puts
// its baseline below the text's top, as PaintPage does.
struct PdfFontFacts {
    StoredFont Font;
    double Ascent = 0;
};

// Writes stored pages to a PDF file on a thread of its own, page by page as
// the layout finishes them, so that a long report is written while the rest
// is still being laid out. Each text is drawn at its place in the font the
// layout measured (the file fontconfig gives the font's name, with its
// fallbacks for characters it lacks), every font embedded as a subset of the
// glyphs used, with the characters behind them so that the text can be
// searched; each line as a rule one layout unit thick.
//
// Qt's PDF engine spent most of a long report's time growing its buffers and
// produced twice the bytes; PDF libraries at hand either wrote hundreds of
// bytes of resources for every page (cairo) or no text beyond one code page
// (libharu 2.3). Fonts are subset by HarfBuzz's subsetter and found through
// fontconfig and FreeType; streams are compressed with zlib.
class PdfWriter {
public:
    // The pages of the store: the sheet in points, the printable area at the
    // store's offsets, in its layout units; the file's title the store's.
    PdfWriter(std::string path, QSizeF paperPoints, const PageStore& store);
    // A writing not finished is abandoned, as by Abandon.
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Makes the file and starts the thread; false when the file cannot be
    // made.
    bool Start();
    // The next page, in order. It must stay as it is until Finish or the
    // destructor returns. `fonts` are the store's fonts so far.
    void AddPage(const StoredPage& page, std::vector<PdfFontFacts> fonts);
    // Waits for every page added to be written and completes the file.
    // `keepGoing` is asked about every 40 ms with the pages written so far;
    // false abandons the file. False after an abandon or a write failure.
    bool Finish(const std::function<bool(int written)>& keepGoing);
    // Stops the thread, after the page it is writing; the file is left as it
    // stands for the caller to remove, and no page is read any more.
    void Abandon();

private:
    struct QueuedPage {
        const StoredPage* Page;
        std::vector<PdfFontFacts> Fonts;
    };

    void Run();

    std::unique_ptr<PdfDocument> Document;
    std::thread Worker;
    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<QueuedPage> Queue;
    int Written = 0;
    bool NoMorePages = false;
    bool Stopping = false;
    bool Failed = false;
};

// The fonts of the store so far, with the ascents the layout used.
std::vector<PdfFontFacts> PdfFontsOf(const PageStore& store);

} // namespace pembrill
