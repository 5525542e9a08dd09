#pragma once

#include <QImage>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace pembrill {

class PageStore;
class RunMonitor;

// Draws page `index` of the store with the painter, scaled from layout units
// by `scale`, its origin at the painter's current origin (the top left corner
// of the printable area). Every device draws pages through this: printer,
// preview and images alike. Text is drawn as the glyphs the layout shaped,
// where it placed them, in the faces it shaped them in.
void PaintPage(QPainter& painter, const PageStore& store, int index, double scale);

// Device pixels per layout unit.
double DeviceScale(const QPaintDevice& device, const PageStore& store);

enum class PrintOutcome { Printed, Cancelled, Failed };

// Sends every stored page to the printer (a real one, or a PDF file) as a job
// named after the store's title. The monitor, when given, is told each page
// and asked about Cancel before it; a cancelled job is aborted. Failed when
// the printer cannot be opened or the job not finished.
PrintOutcome PrintPages(const PageStore& store, QPrinter& printer, RunMonitor* monitor);

// The whole sheet of paper of a page on white, the printable area at its place.
QImage RenderPage(const PageStore& store, int index, double scale);

} // namespace pembrill
