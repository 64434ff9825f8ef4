// The toolbar's pictures: 34 vector drawings on a 16 × 15 grid (res/icons/toolbar/NN.svg,
// compiled in as Qt resources), sharp at any screen scale. The index is the button's picture
// number.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace duplora {

// The resource path of picture `index` (":/icons/toolbar/07.svg").
QString ToolbarPicturePath(int index);

// One picture drawn at 16 × 15 × `scale` on a transparent background; an empty picture for an
// index out of range.
QImage ToolbarPicture(int index, int scale = 1);

// All pictures side by side (34 × 16 by 15), light grey where transparent.
QImage ToolbarStrip();

// The picture as an icon that is drawn anew for each size asked; an empty icon for an index
// out of range.
QIcon ToolbarIcon(int index);

// The program's own icon.
QIcon ProgramIcon();

}  // namespace duplora
