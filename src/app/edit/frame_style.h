// The frame of the stored `border` settings, as burnt into saved and printed pictures and as
// drawn around the panes of the view.
#pragma once

#include "app/shell/settings.h"
#include "core/edit/border.h"
#include "core/image/image_buffer.h"

namespace duplora {

// The print/save widths with the three colours and the rounded-corner flag.
FrameStyle PrintFrameStyle(const BorderSet& border);

// The display widths with the same colours and flag.
FrameStyle DisplayFrameStyle(const BorderSet& border);

// The picture framed with the print/save widths as its display mode asks (see AddBorder in
// the core).
Result<ImageBuffer> AddBorder(const ImageBuffer& picture, DisplayMode mode,
                              const BorderSet& border);

// What a save writes: the picture framed with the print/save widths while the frame is
// shown ("Rahmen zeigen"), else the picture as it is. A frame that cannot be made leaves
// the picture unframed, its reason added to `warnings` when given. A single view framed on
// its own passes DisplayMode::Single.
ImageBuffer FrameWhenShown(ImageBuffer picture, DisplayMode mode, const BorderSet& border,
                           Warnings* warnings = nullptr);

}  // namespace duplora
