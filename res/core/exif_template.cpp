// The 640-byte Exif block that every JPEG this program writes receives, with its thumbnail
// appended at byte 640. It is built at compile time from the layout below, so that every
// field sits at a fixed offset and AddExifBlock only patches the APP1 length, the three
// dates, the pixel size and the thumbnail length.
//
// Offsets from the first byte (TIFF offsets inside the block count from byte 10):
//
//   0    FF E1, APP1 length (big-endian, patched)
//   4    "Exif" 00 00
//   10   TIFF header: "II", 42, IFD0 at 8
//   18   IFD0, 10 entries, then the link to IFD1 (at 140)
//          271 Make              ASCII 13  -> 144
//          272 Model             ASCII 16  -> 158
//          274 Orientation       SHORT 1
//          282 XResolution       RATIONAL  -> 174
//          283 YResolution       RATIONAL  -> 182
//          296 ResolutionUnit    SHORT 2 (inch)
//          305 Software          ASCII 28  -> 190
//          306 DateTime          ASCII 20  -> 218
//          531 YCbCrPositioning  SHORT 2 (co-sited)
//          34665 Exif IFD        LONG      -> 238
//   144  "Ferrowyn&Sol" 00, one pad byte
//   158  "Duplora Studio1" 00
//   174  72/1, 182 72/1
//   190  "Ferrowyn & Sol Ver1.00  " and four zero bytes
//   218  DateTime, 19 characters and a zero (patched)
//   238  Exif IFD, 5 entries, then a zero link (at 300)
//          36864 ExifVersion        UNDEFINED 4 "0210"
//          36867 DateTimeOriginal   ASCII 20 -> 436
//          36868 DateTimeDigitized  ASCII 20 -> 456
//          40962 PixelXDimension    LONG, value at 284 (patched, low 16 bits)
//          40963 PixelYDimension    LONG, value at 296 (patched, low 16 bits)
//   304  zero bytes up to 436
//   436  DateTimeOriginal (patched), 456 DateTimeDigitized (patched)
//   476  zero bytes up to 546
//   546  IFD1, 6 entries, then a zero link (at 620)
//          259 Compression                  SHORT 6 (JPEG)
//          282 XResolution                  RATIONAL -> 624
//          283 YResolution                  RATIONAL -> 632
//          296 ResolutionUnit               SHORT 2
//          513 JPEGInterchangeFormat        LONG 630 (byte 640, right after the block)
//          514 JPEGInterchangeFormatLength  LONG, value at 616 (patched, low 16 bits)
//   624  72/1, 632 72/1
//   640  the thumbnail JPEG
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/formats/exif.h"

namespace duplora {

namespace {

using Template = std::array<std::uint8_t, kExifTemplateSize>;
constexpr std::size_t kTiff = 10;

enum : std::uint16_t { kShort = 3, kLong = 4, kRational = 5, kAscii = 2, kUndefined = 7 };

constexpr void Put16(Template& t, std::size_t at, std::uint32_t v) {
    t[at] = static_cast<std::uint8_t>(v & 0xFF);
    t[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

constexpr void Put32(Template& t, std::size_t at, std::uint32_t v) {
    Put16(t, at, v & 0xFFFF);
    Put16(t, at + 2, v >> 16);
}

constexpr void PutText(Template& t, std::size_t at, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) t[at + i] = static_cast<std::uint8_t>(text[i]);
}

// One 12-byte directory entry; `value` is the inline value or an absolute template
// offset (turned into a TIFF offset) for values stored outside the entry.
struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint32_t value;
    bool external;
};

template <std::size_t N>
constexpr void PutDirectory(Template& t, std::size_t at, const Entry (&entries)[N],
                            std::size_t nextAt) {
    Put16(t, at, N);
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t e = at + 2 + 12 * i;
        const Entry& entry = entries[i];
        Put16(t, e, entry.tag);
        Put16(t, e + 2, entry.type);
        Put32(t, e + 4, entry.count);
        if (entry.external)
            Put32(t, e + 8, static_cast<std::uint32_t>(entry.value - kTiff));
        else if (entry.type == kShort)
            Put16(t, e + 8, entry.value);
        else
            Put32(t, e + 8, entry.value);
    }
    Put32(t, at + 2 + 12 * N, nextAt ? static_cast<std::uint32_t>(nextAt - kTiff) : 0);
}

constexpr void PutRational(Template& t, std::size_t at, std::uint32_t num, std::uint32_t den) {
    Put32(t, at, num);
    Put32(t, at + 4, den);
}

constexpr std::string_view kPlaceholderDate = "0000:00:00 00:00:00";

constexpr Template BuildTemplate() {
    Template t{};
    t[0] = 0xFF;
    t[1] = 0xE1;
    // The length of the block without its thumbnail; AddExifBlock adds the thumbnail's.
    t[2] = (kExifTemplateSize - 2) >> 8;
    t[3] = (kExifTemplateSize - 2) & 0xFF;
    PutText(t, 4, std::string_view("Exif\0\0", 6));
    PutText(t, kTiff, "II");
    Put16(t, kTiff + 2, 42);
    Put32(t, kTiff + 4, 8);

    constexpr std::size_t kIfd0 = 18, kExifIfd = 238, kIfd1 = 546;
    constexpr std::size_t kMake = 144, kModel = 158, kXRes = 174, kYRes = 182, kSoftware = 190;
    constexpr Entry ifd0[] = {
        {271, kAscii, 13, kMake, true},     {272, kAscii, 16, kModel, true},
        {274, kShort, 1, 1, false},         {282, kRational, 1, kXRes, true},
        {283, kRational, 1, kYRes, true},   {296, kShort, 1, 2, false},
        {305, kAscii, 28, kSoftware, true}, {306, kAscii, 20, kExifTemplateDateTimeAt, true},
        {531, kShort, 1, 2, false},         {34665, kLong, 1, kExifIfd - kTiff, false},
    };
    PutDirectory(t, kIfd0, ifd0, kIfd1);
    PutText(t, kMake, "Ferrowyn&Sol");
    PutText(t, kModel, "Duplora Studio1");
    PutRational(t, kXRes, 72, 1);
    PutRational(t, kYRes, 72, 1);
    PutText(t, kSoftware, "Ferrowyn & Sol Ver1.00  ");
    PutText(t, kExifTemplateDateTimeAt, kPlaceholderDate);

    const Entry exif[] = {
        {36864, kUndefined, 4, 0x30313230, false},  // "0210" in file order
        {36867, kAscii, 20, kExifTemplateOriginalAt, true},
        {36868, kAscii, 20, kExifTemplateDigitizedAt, true},
        {40962, kLong, 1, 0, false},
        {40963, kLong, 1, 0, false},
    };
    PutDirectory(t, kExifIfd, exif, 0);
    PutText(t, kExifTemplateOriginalAt, kPlaceholderDate);
    PutText(t, kExifTemplateDigitizedAt, kPlaceholderDate);

    constexpr std::size_t kXRes1 = 624, kYRes1 = 632;
    const Entry ifd1[] = {
        {259, kShort, 1, 6, false},
        {282, kRational, 1, kXRes1, true},
        {283, kRational, 1, kYRes1, true},
        {296, kShort, 1, 2, false},
        {513, kLong, 1, kExifTemplateSize - kTiff, false},
        {514, kLong, 1, 0, false},
    };
    PutDirectory(t, kIfd1, ifd1, 0);
    PutRational(t, kXRes1, 72, 1);
    PutRational(t, kYRes1, 72, 1);
    return t;
}

constexpr Template kExifTemplate = BuildTemplate();

// The patched fields must be where the block's users expect them.
static_assert(kExifTemplate[kExifTemplatePixelXAt - 8] == (40962 & 0xFF) &&
              kExifTemplate[kExifTemplatePixelXAt - 7] == (40962 >> 8));
static_assert(kExifTemplate[kExifTemplatePixelYAt - 8] == (40963 & 0xFF) &&
              kExifTemplate[kExifTemplatePixelYAt - 7] == (40963 >> 8));
static_assert(kExifTemplate[kExifTemplateThumbLengthAt - 8] == (514 & 0xFF) &&
              kExifTemplate[kExifTemplateThumbLengthAt - 7] == (514 >> 8));
static_assert(kExifTemplate[218] == '0' && kExifTemplate[237] == 0);
static_assert(kExifTemplate[140] == ((546 - 10) & 0xFF) &&
              kExifTemplate[141] == ((546 - 10) >> 8));  // IFD0 -> IFD1
static_assert(kExifTemplate[604] == 630 % 256 && kExifTemplate[605] == 630 / 256);

}  // namespace

std::span<const std::uint8_t, kExifTemplateSize> ExifTemplate() {
    return kExifTemplate;
}

}  // namespace duplora
