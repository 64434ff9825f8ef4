// The toolbar's pictures: 34 small pixel drawings of 16 × 15 pixels, made in code so that the
// program carries no picture files. The index is the button's picture number.
#pragma once

#include <QIcon>
#include <QImage>

namespace duplora {

// One picture on a transparent background; an empty picture for an index out of range.
QImage ToolbarPicture(int index);

// All pictures side by side (34 × 16 by 15), light grey where transparent.
QImage ToolbarStrip();

QIcon ToolbarIcon(int index);

}  // namespace duplora
