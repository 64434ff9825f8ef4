#include "core/edit/logo.h"

#include <algorithm>
#include <cstring>

#include "core/formats/load_chain.h"
#include "core/image/convert.h"

namespace duplora {

LogoPicture LoadLogo(const std::string& logoFile, const CodecOptions& options) {
    ImageBuffer image = LoadPictureFile(logoFile, options);
    if (image) return {std::move(image), false};
    return {BuiltinLogo(), true};
}

Result<ImageBuffer> AddLogo(const ImageBuffer& picture, const ImageBuffer& logo,
                            const LogoStamp& stamp) {
    if (!picture || !logo) return Failure::Quiet();
    ImageBuffer converted;
    const ImageBuffer* trueColour = AsTrueColour(logo, converted);
    if (!trueColour) return Failure::Quiet();
    const ImageBuffer& source = *trueColour;

    Result<ImageBuffer> placed = PlaceOnBand(picture, stamp.placement.corner, stamp.band);
    if (!placed) return placed;
    ImageBuffer canvas = std::move(placed).Value();

    const int width = canvas.Width(), height = canvas.Height();
    const int logoW = source.Width(), logoH = source.Height();
    const OverlayOrigin at = PlaceOverlay(stamp.placement, width, height, logoW, logoH);
    // Logo rows land one row above the start row; placements of earlier versions rely on it.
    const std::int64_t firstRow = at.y - 1;
    const std::int64_t i0 = std::max<std::int64_t>(0, -firstRow);
    const std::int64_t i1 = std::min<std::int64_t>(logoH, height - firstRow);
    const std::int64_t j0 = std::max<std::int64_t>(0, -at.x);
    const std::int64_t j1 = std::min<std::int64_t>(logoW, width - at.x);
    if (i0 >= i1 || j0 >= j1) return canvas;

    const std::size_t offset = static_cast<std::size_t>(at.x + j0) * 3;
    const std::size_t count = static_cast<std::size_t>(j1 - j0);
    const std::uint32_t key = static_cast<std::uint32_t>(stamp.transparentColour);
    for (std::int64_t i = i0; i < i1; ++i) {
        const std::uint8_t* src = source.Line(static_cast<int>(i)) + j0 * 3;
        std::uint8_t* dst = canvas.Line(static_cast<int>(firstRow + i)) + offset;
        if (!stamp.transparent) {
            std::memcpy(dst, src, count * 3);
            continue;
        }
        for (std::size_t k = 0; k < count; ++k, src += 3, dst += 3) {
            const std::uint32_t ref = src[2] | (src[1] << 8) | (std::uint32_t{src[0]} << 16);
            if (ref == key) continue;
            dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
        }
    }
    return canvas;
}

Result<ImageBuffer> AddLogo(const ImageBuffer& picture, const std::string& logoFile,
                            const LogoStamp& stamp, const CodecOptions& options) {
    if (!picture) return Failure::Quiet();
    return AddLogo(picture, LoadLogo(logoFile, options).image, stamp);
}

}  // namespace duplora
