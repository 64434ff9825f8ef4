#include "core/formats/layout_detect.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jps_descriptor.h"
#include "core/formats/load_chain.h"
#include "core/formats/mpo.h"

namespace duplora {

namespace {

// Whole files are read for the MP index scan up to this size.
constexpr std::size_t kMaxScannedFile = std::size_t{1} << 30;
// The picture is judged on a grid of at most this many samples across.
constexpr int kSamples = 160;
// The mean luminance difference of halves that hold two views of one scene stays below this
// (measured: up to 20 on real pairs, 34 and more between the halves of single photographs).
constexpr double kClearHalvesError = 26;

struct Samples {
    int width = 0, height = 0;
    std::vector<float> r, g, b, y;
};

Samples Sample(const ImageBuffer& picture) {
    Samples s;
    const int w = picture.Width(), h = picture.Height();
    if (w < 4 || h < 4 || picture.BitCount() != 24) return s;
    const int longer = std::max(w, h);
    const int step = std::max(1, longer / kSamples);
    s.width = w / step;
    s.height = h / step;
    const std::size_t n = static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height);
    s.r.resize(n);
    s.g.resize(n);
    s.b.resize(n);
    s.y.resize(n);
    for (int j = 0; j < s.height; ++j) {
        for (int i = 0; i < s.width; ++i) {
            // The mean of the step × step block keeps fine texture from aliasing.
            float r = 0, g = 0, b = 0;
            for (int dy = 0; dy < step; ++dy) {
                const std::uint8_t* p =
                    picture.Line(j * step + dy) + static_cast<std::size_t>(i) * step * 3;
                for (int dx = 0; dx < step; ++dx, p += 3) {
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
            }
            const float k = 1.0f / static_cast<float>(step * step);
            const std::size_t at = static_cast<std::size_t>(j) * s.width + i;
            s.r[at] = r * k;
            s.g[at] = g * k;
            s.b[at] = b * k;
            s.y[at] = 0.299f * s.r[at] + 0.587f * s.g[at] + 0.114f * s.b[at];
        }
    }
    return s;
}

double Correlation(const std::vector<float>& a, const std::vector<float>& b) {
    const double n = static_cast<double>(a.size());
    if (n < 2) return 1;
    double sa = 0, sb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sa += a[i];
        sb += b[i];
    }
    const double ma = sa / n, mb = sb / n;
    double cov = 0, va = 0, vb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double da = a[i] - ma, db = b[i] - mb;
        cov += da * db;
        va += da * da;
        vb += db * db;
    }
    if (va <= 0 || vb <= 0) return 1;
    return cov / std::sqrt(va * vb);
}

struct Gradients {
    std::vector<float> r, g, b;
};

// The size of the horizontal change of each channel between neighbouring samples.
Gradients HorizontalGradients(const Samples& s) {
    Gradients d;
    for (int j = 0; j < s.height; ++j) {
        for (int i = 1; i < s.width; ++i) {
            const std::size_t at = static_cast<std::size_t>(j) * s.width + i;
            // Magnitudes: a red object on a blue ground has its edges in every channel,
            // though they change in opposite directions.
            d.r.push_back(std::fabs(s.r[at] - s.r[at - 1]));
            d.g.push_back(std::fabs(s.g[at] - s.g[at - 1]));
            d.b.push_back(std::fabs(s.b[at] - s.b[at - 1]));
        }
    }
    return d;
}

// The smallest mean absolute luminance difference between two equally sized regions of
// the samples, the second moved sideways by up to a tenth of the region's width (the
// views differ by their depth).
double HalvesError(const Samples& s, int ax, int ay, int bx, int by, int w, int h) {
    if (w < 4 || h < 4) return 1e9;
    const int reach = std::max(1, w / 10);
    double best = 1e9;
    for (int shift = -reach; shift <= reach; ++shift) {
        const int x0 = std::max(0, -shift), x1 = std::min(w, w - shift);
        if (x1 - x0 < w / 2) continue;
        double sum = 0;
        for (int j = 0; j < h; ++j) {
            const float* a = &s.y[static_cast<std::size_t>(ay + j) * s.width + ax];
            const float* b = &s.y[static_cast<std::size_t>(by + j) * s.width + bx + shift];
            for (int i = x0; i < x1; ++i) sum += std::fabs(a[i] - b[i]);
        }
        best = std::min(best, sum / (static_cast<double>(x1 - x0) * h));
    }
    return best;
}

}  // namespace

PictureLayoutFacts MeasurePictureLayout(const ImageBuffer& picture) {
    PictureLayoutFacts facts;
    const Samples s = Sample(picture);
    if (s.width < 8 || s.height < 8) return facts;
    // The colour channels of a photograph change together: their edges lie in the same
    // places. In an anaglyph one channel comes from the other view, its edges moved by the
    // depth: its horizontal changes stop agreeing with those of the other two.
    const Gradients d = HorizontalGradients(s);
    const double rg = Correlation(d.r, d.g), gb = Correlation(d.g, d.b), rb = Correlation(d.r, d.b);
    facts.anaglyphScore =
        std::max({gb - std::max(rg, rb), rb - std::max(rg, gb), rg - std::max(rb, gb)});
    const int halfW = s.width / 2, halfH = s.height / 2;
    facts.sideBySideError = HalvesError(s, 0, 0, halfW, 0, halfW, s.height);
    facts.overUnderError = HalvesError(s, 0, 0, 0, halfH, s.width, halfH);
    facts.sideBySideAspect = (picture.Width() / 2.0) / picture.Height();
    facts.overUnderAspect = picture.Width() / (picture.Height() / 2.0);
    return facts;
}

std::optional<StereoLayout> LayoutFromFacts(const PictureLayoutFacts& facts) {
    // Photographs stay near 0 (their channels' edges agree), rarely above 0.3 when tiny;
    // anaglyphs reach 0.6 and more.
    if (facts.anaglyphScore > 0.4) return StereoLayout::Anaglyph;
    // Views are seldom narrower than 1:2 or wider than 2:1 (a 360° panorama is 2:1); a
    // shape outside that counts against the layout as if its halves matched worse.
    const auto penalty = [](double aspect) {
        if (aspect <= 0) return 1e9;
        const double off = aspect < 0.5 ? 0.5 / aspect : aspect > 2.05 ? aspect / 2.05 : 1.0;
        return off;
    };
    const double sbs = facts.sideBySideError * penalty(facts.sideBySideAspect);
    const double ou = facts.overUnderError * penalty(facts.overUnderAspect);
    // The halves of stereo pictures differ by a few levels on average, those of a plain
    // photograph by dozens.
    if (std::min(sbs, ou) > kClearHalvesError) return std::nullopt;
    return ou < sbs ? StereoLayout::OverUnder : StereoLayout::SideBySide;
}

std::optional<StereoLayout> DetectStereoLayout(const std::string& path,
                                               const CodecOptions& options) {
    std::vector<std::uint8_t> file;
    if (!ReadFileHead(path, kMaxScannedFile, file)) return std::nullopt;
    ImageBuffer picture;
    if (file.size() > 3 && file[0] == 0xFF && file[1] == 0xD8) {
        if (FindMpoPictures(file).size() >= 2) return StereoLayout::Mpo;
        if (const auto descriptor = ReadJpsDescriptor(file); descriptor && descriptor->stereo)
            return descriptor->layout;
        // The reduced decode is as fine as the grid the picture is judged on.
        picture = DecodeJpegMemory(file.data(), file.size(), true);
    }
    file = {};
    if (!picture) picture = LoadImageFile(path, options).image;
    if (!picture) return std::nullopt;
    return LayoutFromFacts(MeasurePictureLayout(picture));
}

}  // namespace duplora
