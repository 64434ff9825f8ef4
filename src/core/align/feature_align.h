// Alignment by features: corners are found and matched between the two views, and the
// right view's roll, size, height and keystone are fitted to the vertical positions of the
// matches alone, so that the horizontal disparity, which carries the depth, stays as it is.
// The fit is refined on the matches' patches to a fraction of a pixel.
#pragma once

#include <array>
#include <string>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

struct FeatureAlignOptions {
    // Also fit the keystone of cameras turned towards each other; without it only roll,
    // size and height.
    bool keystone = true;
    // Also fit how much more one lens bends the picture towards its edges than the other.
    bool bend = true;
    // Longest side of the grey copies the features are looked for on; larger views are
    // reduced to it first.
    int workingSize = 1536;
};

// How the right view is brought onto the left one. Positions are pixels of the full-size
// views, y downwards, about each view's centre: a right-view point (u, v) goes to the point
// p' whose bent position p'·(1 + bend·|p'|²) is
//   d = 1 + keystone·u
//   u' = scale·(cos r·u − sin r·v) / d,   v' = scale·(sin r·u + cos r·v) / d + verticalShift
// with r the rotation. The bend is the difference between the two lenses' barrel or
// pincushion distortion, radial about the centre. The horizontal position is never shifted.
struct FeatureAlignment {
    double rotation = 0;       // degrees; a positive angle turns the right view clockwise
    double scale = 1;          // size of the aligned right view against the one given
    double verticalShift = 0;  // pixels; positive moves the right view down
    double keystone = 0;       // per pixel, across the width
    double bend = 0;           // per square pixel

    int matches = 0;            // matches the fit rests on
    double residualBefore = 0;  // median vertical disparity of those matches, pixels
    double residualAfter = 0;   // the same after the alignment
    int width = 0, height = 0;  // the right view's size the values are for

    // The map above without the bend as a 3 × 3 matrix (row-major) on pixel positions of a
    // width × height picture, y downwards, pixel centres on whole numbers, onto the same
    // canvas.
    std::array<double, 9> Homography() const;
    // The vertical position a right-view pixel (x, y) moves to.
    double MapY(double x, double y) const;
};

// Fits the right view to the left. Both views must be 24-bit. Fails, with a message, when
// the views have too few features in common to trust a fit; quietly when cancelled.
Result<FeatureAlignment> FindFeatureAlignment(const ImageBuffer& left, const ImageBuffer& right,
                                              const FeatureAlignOptions& options = {},
                                              const Progress& progress = NoProgress());

// The right view resampled (bilinear) onto a canvas of its own size with the alignment,
// leaving out `keptShift` pixels of the vertical shift: the caller moves the pair by that
// whole number with its offset instead, so the picture loses no rows to it. Pixels without
// a source stay black. Empty for anything but a 24-bit picture or when cancelled.
ImageBuffer ApplyFeatureAlignment(const ImageBuffer& right, const FeatureAlignment& alignment,
                                  int keptShift = 0, const Progress& progress = NoProgress());

// The line the window's message and the batch log show after an alignment.
std::string FeatureAlignmentSummary(const FeatureAlignment& alignment);

}  // namespace duplora
