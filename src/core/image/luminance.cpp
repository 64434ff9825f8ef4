#include "core/image/luminance.h"

#include <memory>

namespace duplora {

const LuminanceTables& GetLuminanceTables() {
    static const std::unique_ptr<LuminanceTables> tables = [] {
        auto t = std::make_unique<LuminanceTables>();
        for (std::uint32_t i = 0; i < 256; ++i) {
            t->green[i] = 587 * i;
            t->blue[i] = 114 * i;
            t->red[i] = 299 * i;
        }
        for (std::uint32_t s = 0; s <= 255 * 1000; ++s)
            t->quotient[s] = static_cast<std::uint16_t>((s / 1000) | (s % 1000 == 0 ? 0x100 : 0));
        return t;
    }();
    return *tables;
}

}  // namespace duplora
