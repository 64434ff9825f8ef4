// The ways two views become one stereo picture. Each takes the first (left) and the
// second (right) view and, except the blend, the common area; each returns a new picture,
// or none when a view is missing, the area does not fit the views, or memory runs out.
// Views of fewer than 16 bits are converted to 24 bits first; 16- and 32-bit views are
// refused. Results are 24-bit.
#pragma once

#include "core/image/image_buffer.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/common_area.h"

namespace duplora {

// 2W × H: the first view's common area on the left, the second's on the right (parallel
// viewing order; swapping the views gives the crossed order). These two layouts fail with
// CannotCreateImage when the result cannot be created (too large included), and quietly
// for views that do not fit.
Result<ImageBuffer> ComposeSideBySide(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area);

// W × 2H: the first view's common area in the upper half, the second's in the lower.
Result<ImageBuffer> ComposeOverUnder(const ImageBuffer& first, const ImageBuffer& second,
                                     const CommonArea& area);

// W × H line interlace: counting stored rows from the bottom, row 2k is row 2k of the
// first view's area and row 2k + 1 is row 2k of the second view's area. With an odd
// height the top row stays black.
ImageBuffer ComposeInterlace(const ImageBuffer& first, const ImageBuffer& second,
                             const CommonArea& area);

// W × H grey anaglyphs of the two views' luminances, one function for each pair of
// filter colours (left view first): red/cyan, red/green, red/blue, blue/yellow.
ImageBuffer ComposeGreyRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                               const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeGreyRedGreen(const ImageBuffer& first, const ImageBuffer& second,
                                const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeGreyRedBlue(const ImageBuffer& first, const ImageBuffer& second,
                               const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeGreyYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                  const CommonArea& area, const AnaglyphTables& tables);

// W × H colour anaglyphs. Red/cyan: red from the left view, green and blue from the
// right; yellow/blue: red and green from the right, blue from the left. The half-tone
// kinds take the left view's luminance instead of its colour channel.
ImageBuffer ComposeColourRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                 const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeHalfToneRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                   const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeColourYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                    const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeHalfToneYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area, const AnaglyphTables& tables);

// W × H least-squares colour anaglyphs (dubois.h): every output channel a weighted sum of
// both pixels' colours; the level tables are not used.
ImageBuffer ComposeDuboisRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                 const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeDuboisGreenMagenta(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area, const AnaglyphTables& tables);
ImageBuffer ComposeDuboisAmberBlue(const ImageBuffer& first, const ImageBuffer& second,
                                   const CommonArea& area, const AnaglyphTables& tables);

// The centre picture of the three-view mode: each byte is (a ≫ 1) + (b ≫ 1) of two
// equally sized views (two whites give 254).
ImageBuffer ComposeBlend(const ImageBuffer& first, const ImageBuffer& second);

}  // namespace duplora
