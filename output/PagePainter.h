#pragma once

#include <QImage>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace pembrill {

class PageStore;

// Draws page `index` of the store with the painter, scaled from layout units
// by `scale`, its origin at the painter's current origin (the top left corner
// of the printable area). Every device draws pages through this: printer,
// PDF, preview and images alike. Text is drawn as text.
void PaintPage(QPainter& painter, const PageStore& store, int index, double scale);

// Device pixels per layout unit.
double DeviceScale(const QPaintDevice& device, const PageStore& store);

// Sends every stored page to the printer (a real one, or a PDF file);
// false when the printer cannot be opened.
bool PrintPages(const PageStore& store, QPrinter& printer);

// The whole sheet of paper of a page on white, the printable area at its place.
QImage RenderPage(const PageStore& store, int index, double scale);

} // namespace pembrill
