#pragma once

#include "forms/FormPicture.h"
#include "output/PageStore.h"

#include <QImage>
#include <QString>

#include <string>

namespace pembrill {

// A store of one page the size of the picture holding its drawing, a
// layout unit to a pixel: what the window, PNG and SVG files draw.
PageStore PictureStore(const FormPicture& picture);

// Whether SVG files can be written.
bool CanWriteSvg();

// The picture drawn at its size.
QImage RenderPicture(const PageStore& store);

// Writes the picture as a PNG or an SVG file (by the name's extension),
// under a name of its own and put in place only when whole; false, with
// nothing left behind, when it cannot be written (an SVG file also where
// the program was built without Qt SVG).
bool WritePictureFile(const PageStore& store, const QString& path);

} // namespace pembrill
