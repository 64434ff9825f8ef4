// Rotation and the two perspective corrections of one view, in integer fixed point with
// a shared bilinear sampling rule: on 24-bit full-resolution views when an adjustment is
// confirmed, and on 8-bit grey preview copies while it is being chosen. Angles are signed
// tenths of a degree. Output pixels without a source stay black.
#pragma once

#include <cstdint>
#include <optional>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// Half the horizontal field of view of the lens in tenths of a degree (a 50 mm lens on a
// 36 mm wide frame); both perspective steps use it.
inline constexpr int kDefaultHalfFieldOfView = 198;
// Perspective angles are clamped to ±89.9 degrees.
inline constexpr int kMaxPerspectiveAngle = 899;
inline constexpr double kRadiansPerTenthDegree = 0.0017453292519943279;

// How a step reads its source between pixels.
enum class CorrectionSampling {
    Bilinear,            // preview: the four neighbours weighted by the fractions
    BilinearBlackFrame,  // full resolution: the same, the source's outer pixel frame read as black
    Nearest,             // preview at 100 %: the pixel the position falls in
};

// Rotation, then the vertical-axis and the horizontal-axis perspective of a 24-bit
// picture, onto an outWidth × outHeight canvas (0, 0: the source size). Steps whose angle
// is 0 are skipped when only one angle is set; with none set the picture is copied onto
// the canvas through the rotation step. Empty for anything but a 24-bit source, a bad
// canvas size, a field of view outside 0.1–89.9 degrees, or a perspective so steep that
// the picture would reach behind the eye. Reports writing progress over all its steps
// and gives none when `progress` is cancelled (looked at between row bands).
ImageBuffer CorrectionTransform(const ImageBuffer& image, int rotation, int perspectiveV,
                                int perspectiveH, int outWidth = 0, int outHeight = 0,
                                int halfFieldOfView = kDefaultHalfFieldOfView,
                                const Progress& progress = NoProgress());
// The same at the source size and the usual field of view, watched by `progress`.
ImageBuffer CorrectionTransform(const ImageBuffer& image, int rotation, int perspectiveV,
                                int perspectiveH, const Progress& progress);

// The same chain on an 8-bit grey preview, at its own size; `nearest` is the dialog's
// 100 % view, where pixels are not interpolated.
ImageBuffer PreviewCorrection(const ImageBuffer& grey, int rotation, int perspectiveV,
                              int perspectiveH, bool nearest = false,
                              int halfFieldOfView = kDefaultHalfFieldOfView);

// The single steps, on 8- or 24-bit pictures (the result keeps the depth; 8-bit results
// carry the grey palette). The source is centred on the canvas.
ImageBuffer RotationStep(const ImageBuffer& image, int angle, int outWidth, int outHeight,
                         CorrectionSampling sampling);
ImageBuffer PerspectiveVerticalStep(const ImageBuffer& image, int angle, int halfFieldOfView,
                                    int outWidth, int outHeight, CorrectionSampling sampling);
ImageBuffer PerspectiveHorizontalStep(const ImageBuffer& image, int angle, int halfFieldOfView,
                                      int outWidth, int outHeight, CorrectionSampling sampling);

// The per-picture constants of a perspective step. "Along" is the axis the picture turns
// across (x for the vertical axis), "across" the other one; `along` and `across` are the
// source's half sizes on them.
struct PerspectiveSetup {
    std::int64_t c = 0, s = 0, t = 0;  // cos, sin, tan of the half field of view, × 1024
    std::int64_t d = 0, bigP = 0, bigQ = 0, p = 0, q = 0;
    std::int64_t b = 0, kOverQ = 0, sigma = 0;
    std::int64_t step = 0;  // 1/1024 pixel per output pixel along the axis
    std::int64_t g = 0;
    std::int64_t start = 0;  // position of output pixel 0 along the axis, 1/1024 pixel
    std::int64_t e = 0, f = 0;
    std::int64_t delta = 0;   // change of the depth term per output pixel along the axis
    std::int64_t depth0 = 0;  // depth term of output pixel 0
};
// Empty where the rule has no answer: a field of view outside 1–899, a half size below 1,
// or a tilt that puts an edge of the picture at or behind the eye.
std::optional<PerspectiveSetup> ComputePerspectiveSetup(int angle, int halfFieldOfView, int along,
                                                        int across);

}  // namespace duplora
