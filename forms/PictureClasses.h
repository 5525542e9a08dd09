#pragma once

#include "forms/FormPicture.h"
#include "forms/PropertyLines.h"

#include <string_view>

namespace pembrill {

// Controls are drawn in the designer's order among siblings: graphic
// controls on their parent's own surface, under every windowed control;
// the squares of components above all.
enum class DrawLayer { Graphic, Windowed, Component };

// The colour a control has when its form file names none.
enum class DefaultColor { OfParent, Window, ButtonFace };

struct ClassTraits {
    std::string_view ClassName;
    PictureKind Kind;
    DrawLayer Layer;
    DefaultColor Color;
    // Where the control's text and list are.
    std::string_view TextProperty;
    std::string_view ItemsProperty;
    // BorderStyle's default is bsSingle.
    bool Border;
};

// The traits of an object's class: from the table of the classes that have
// a drawing and of the components, else guessed from what the object holds;
// null for an object that is not drawn.
const ClassTraits* FindClassTraits(const ObjectTree& tree, int item, const PropertyValues& values);

// An inline frame holds controls of known classes; a data set holds fields.
bool HoldsControls(const ObjectTree& tree, int item);

} // namespace pembrill
