#pragma once

#include "output/PageStore.h"
#include "output/PdfDocument.h"

#include <QSizeF>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pembrill {

// Writes stored pages to a PDF file on a thread of its own, page by page as
// the layout finishes them, so that a long report is written while the rest
// is still being laid out. The file draws the glyphs the layout shaped where
// it placed them; it measures, shapes and looks up no font itself.
//
// Qt's PDF engine spent most of a long report's time growing its buffers and
// produced twice the bytes; PDF libraries at hand either wrote hundreds of
// bytes of resources for every page (cairo) or no text beyond one code page
// (libharu 2.3). Fonts are subset by HarfBuzz's subsetter; streams are
// compressed with zlib.
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
    // The next page of the store, in order, on the thread that lays the
    // store out (which alone may read its faces). The page must stay as it
    // is until Finish or the destructor returns.
    void AddPage(const StoredPage& page);
    // Waits for every page added to be written and completes the file, its
    // outline the store's sections. `keepGoing` is asked about every 40 ms
    // with the pages written so far; false abandons the file. False after an
    // abandon or a write failure.
    bool Finish(const std::function<bool(int written)>& keepGoing);
    // Stops the thread, after the page it is writing; the file is left as it
    // stands for the caller to remove, and no page is read any more.
    void Abandon();

private:
    PdfPage Gather(const StoredPage& page);
    void Run();

    std::string Path;
    const PageStore& Store;
    PdfDocument Document;
    // What the layout's thread has handed over so far: faces, fonts, and by
    // face the glyphs whose advances went.
    int FacesGiven = 0;
    int FontsGiven = 0;
    std::vector<std::vector<bool>> AdvancesGiven;
    std::thread Worker;
    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<PdfPage> Queue;
    std::vector<StoredSection> Sections;
    int Written = 0;
    bool NoMorePages = false;
    bool Stopping = false;
    bool Failed = false;
};

} // namespace pembrill
