#pragma once

#include "forms/FormPicture.h"

namespace pembrill {

class PictureCanvas;

// Draws the picture of a form as Windows 95 showed it in the designer: the
// one paint function behind every output.
void PaintFormPicture(PictureCanvas& canvas, const FormPicture& picture);

} // namespace pembrill
