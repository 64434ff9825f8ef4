// Sharpening and edge detection of the open pair: the values the two dialogs take and how
// both views are filtered at once.
#pragma once

#include <functional>

#include "app/shell/stereo_document.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// "1 (weich) - 50 (hart)": what the sharpen dialog keeps of a number typed.
int ClampSharpness(int value);
// The sharpen kernel's divisor for a sharpness: 50 soft … 1 hard.
int SharpenDivisor(int sharpness);
// "0 (schwarz) - 255 (weiß)": what the edge dialog keeps of a number typed (the filter itself
// detects with 1 … 254).
int ClampEdgeThreshold(int value);

// One view's filter; none when it could not be made or `progress` was cancelled.
using ViewFilter = std::function<ImageBuffer(const ImageBuffer& view, const Progress& progress)>;

// Filters both views at the same time: the right view as a task on the worker pool, the left
// one on the calling thread, each banding its rows over whatever threads are free. `progress`
// hears, on the calling thread only, the mean of the two views' percentages. An empty right
// view (a single picture) stays empty. When either view fails both results are empty.
EditedPair FilterPair(const ImageBuffer& left, const ImageBuffer& right, const ViewFilter& filter,
                      const Progress& progress);

// The filters of the two commands with the dialogs' values.
ViewFilter SharpenFilter(int sharpness);
ViewFilter EdgeFilter(int threshold);

}  // namespace duplora
