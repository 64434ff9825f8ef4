#include "core/align/feature_align.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/core.hpp>
#include <opencv2/features2d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

#include "core/strings.h"
#include "core/util/parallel.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Fewer matches than this, after the outliers are gone, are no basis for a fit.
constexpr int kMinMatches = 20;
constexpr int kFeaturesPerView = 4000;
// Levels of the corner pyramid. The views of a pair differ little in scale, so working
// copies above kSecondRoundPixels do with fewer levels and fewer corners, which there lie
// on the finer levels and are found quicker; small copies need the coarse levels' corners.
constexpr int kLevels = 8, kLargeViewLevels = 4;
constexpr int kFeaturesPerLargeView = 3000;
// Patch of the sub-pixel refinement: (2 · radius + 1)² pixels.
constexpr int kPatchRadius = 7;
// The refinement runs once more on working copies up to this size, where it costs little
// and each match counts more.
constexpr int kRefinementRounds = 2;
constexpr std::int64_t kSecondRoundPixels = 1'200'000;
// How far, in working pixels, a match may lie off the epipolar line of the others.
constexpr double kEpipolarBound = 3.0;
// A bend is fitted only when it leaves at most this part of the plain fit's median residual:
// a lens difference takes away most of it, and noise far less.
constexpr double kBendGain = 0.5;
// The strongest bend taken: a fifth of the distance at the corners.
constexpr double kMaxBend = 0.2;
// Weights of blue, green and red in the grey copies, out of kGreyScale.
constexpr std::uint32_t kGreyBlue = 1868, kGreyGreen = 9617, kGreyRed = 4899;
constexpr std::uint32_t kGreyScale = kGreyBlue + kGreyGreen + kGreyRed;
// Side of the tiles the right view is resampled in.
constexpr int kTile = 512;

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// One view reduced to the working size, as grey rows from the top.
struct WorkingView {
    cv::Mat grey;               // CV_8U
    double fx = 1, fy = 1;      // working pixels per full-size pixel
    int offsetY = 0;            // full-size row of the working copy's first row's top
    double cx = 0, cy = 0;      // centre of the full-size view
    int width = 0, height = 0;  // full size
};

WorkingView MakeWorkingView(const ImageBuffer& view, int workingSize) {
    WorkingView w;
    w.width = view.Width();
    w.height = view.Height();
    w.cx = (w.width - 1) / 2.0;
    w.cy = (w.height - 1) / 2.0;
    // Reduced by a whole factor, averaging square blocks, and made grey in the same pass
    // over the picture: the quickest way down, and exact about where each working pixel
    // lies. The buffer's rows run from the bottom; the copy is turned upright once small.
    const int longest = std::max(w.width, w.height);
    const int factor = std::max(1, (longest + workingSize - 1) / workingSize);
    const int outWidth = w.width / factor, outHeight = w.height / factor;
    cv::Mat grey(outHeight, outWidth, CV_8U);
    const std::uint64_t divisor = std::uint64_t{kGreyScale} * factor * factor;
    ParallelRows(outHeight, std::int64_t{w.width} * w.height, [&](int begin, int end) {
        std::vector<std::uint32_t> sums(static_cast<std::size_t>(outWidth) * 3);
        for (int r = begin; r < end; ++r) {
            std::fill(sums.begin(), sums.end(), 0);
            for (int k = 0; k < factor; ++k) {
                const std::uint8_t* row = view.StoredRow(r * factor + k);
                std::uint32_t* sum = sums.data();
                for (int c = 0; c < outWidth; ++c, sum += 3)
                    for (int j = 0; j < factor; ++j, row += 3) {
                        sum[0] += row[0];
                        sum[1] += row[1];
                        sum[2] += row[2];
                    }
            }
            std::uint8_t* out = grey.ptr(r);
            for (int c = 0; c < outWidth; ++c) {
                const std::uint32_t* sum = &sums[static_cast<std::size_t>(c) * 3];
                out[c] = static_cast<std::uint8_t>(
                    (sum[0] * std::uint64_t{kGreyBlue} + sum[1] * std::uint64_t{kGreyGreen} +
                     sum[2] * std::uint64_t{kGreyRed} + divisor / 2) /
                    divisor);
            }
        }
    });
    w.fx = w.fy = 1.0 / factor;
    // The blocks start at the bottom row; rows left over at the top are not in the copy.
    w.offsetY = w.height - grey.rows * factor;
    cv::flip(grey, w.grey, 0);
    return w;
}

// Working pixel → full-size pixel about the centre, in units of `unit` pixels.
cv::Matx33d WorkingToModel(const WorkingView& w, double unit) {
    return {1 / (w.fx * unit),
            0,
            (0.5 / w.fx - 0.5 - w.cx) / unit,
            0,
            1 / (w.fy * unit),
            (0.5 / w.fy - 0.5 + w.offsetY - w.cy) / unit,
            0,
            0,
            1};
}

cv::Point2d Apply(const cv::Matx33d& h, cv::Point2d p) {
    const cv::Vec3d r = h * cv::Vec3d(p.x, p.y, 1);
    return {r[0] / r[2], r[1] / r[2]};
}

// The fitted map in model units (see FeatureAlignment): a = s·sin r, b = s·cos r, and c the
// bend, which acts on the left view's side: an aligned point y lies where
// y·(1 + c·|y|²) is the homography's image of the right-view point.
struct Model {
    double a = 0, b = 1, t = 0, k = 0, c = 0;

    double MapV(double u, double v) const { return (a * u + b * v) / (1 + k * u) + t; }
    cv::Matx33d Matrix() const { return {b, -a, 0, a + t * k, b, t, k, 0, 1}; }
    // The bend and its inverse on a point about the centre.
    cv::Point2d Bend(cv::Point2d p) const { return p * (1 + c * p.dot(p)); }
    cv::Point2d Unbend(cv::Point2d q) const {
        const double length = std::hypot(q.x, q.y);
        if (c == 0 || length == 0) return q;
        // ρ·(1 + c·ρ²) = |q|, by Newton from ρ = |q|; the bend is gentle where it matters.
        double rho = length;
        for (int i = 0; i < 8; ++i)
            rho -= (rho * (1 + c * rho * rho) - length) / (1 + 3 * c * rho * rho);
        return q * (rho / length);
    }
    // Where a right-view point lands, about the centre.
    cv::Point2d Map(cv::Point2d p) const {
        const double d = 1 + k * p.x;
        return Unbend({(b * p.x - a * p.y) / d, (a * p.x + b * p.y) / d + t});
    }
};

// A match in model units: the right view's position and the left view's.
struct Pair {
    double u = 0, v = 0, ul = 0, vl = 0;

    // The left height bent as the model's bend does: what the homography has to meet.
    double BentVl(const Model& m) const { return vl * (1 + m.c * (ul * ul + vl * vl)); }
    double Residual(const Model& m) const { return BentVl(m) - m.MapV(u, v); }
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

// What a fit may change beyond roll, size and height.
struct FitTerms {
    bool keystone = false, bend = false;
};

// Least squares on the vertical positions, Gauss–Newton from the model given.
bool FitModel(const std::vector<Pair>& pairs, const std::vector<char>& use, FitTerms terms,
              Model& model) {
    // a, b, t, then k and c where fitted.
    const int n = 3 + terms.keystone + terms.bend;
    Model current = model;
    for (int iteration = 0; iteration < 8; ++iteration) {
        cv::Mat normal = cv::Mat::zeros(n, n, CV_64F), rhs = cv::Mat::zeros(n, 1, CV_64F);
        int count = 0;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (!use[i]) continue;
            const Pair& p = pairs[i];
            const double d = 1 + current.k * p.u;
            const double num = current.a * p.u + current.b * p.v;
            double j[5] = {p.u / d, p.v / d, 1};
            int at = 3;
            if (terms.keystone) j[at++] = -num * p.u / (d * d);
            if (terms.bend) j[at++] = -p.vl * (p.ul * p.ul + p.vl * p.vl);
            const double r = p.Residual(current);
            for (int x = 0; x < n; ++x) {
                rhs.at<double>(x) += j[x] * r;
                for (int y = 0; y < n; ++y) normal.at<double>(x, y) += j[x] * j[y];
            }
            ++count;
        }
        if (count < n * 2) return false;
        cv::Mat step;
        if (!cv::solve(normal, rhs, step, cv::DECOMP_CHOLESKY)) return false;
        current.a += step.at<double>(0);
        current.b += step.at<double>(1);
        current.t += step.at<double>(2);
        int at = 3;
        if (terms.keystone) current.k += step.at<double>(at++);
        if (terms.bend) current.c += step.at<double>(at++);
        if (cv::norm(step) < 1e-12) break;
    }
    if (!std::isfinite(current.a) || !std::isfinite(current.b) || !std::isfinite(current.c) ||
        current.b <= 0)
        return false;
    model = current;
    return true;
}

// The median distance of the used matches from the fit, model units.
double MedianResidual(const std::vector<Pair>& pairs, const Model& model,
                      const std::vector<char>& use) {
    std::vector<double> residuals;
    for (std::size_t i = 0; i < pairs.size(); ++i)
        if (use[i]) residuals.push_back(std::abs(pairs[i].Residual(model)));
    return Median(residuals);
}

// Fits and drops the matches far from the fit, a few times over. `floor` is the smallest
// tolerance in model units (the matches' own inaccuracy).
bool RobustFit(const std::vector<Pair>& pairs, FitTerms terms, double floor, Model& model,
               std::vector<char>& use) {
    use.assign(pairs.size(), 1);
    model = Model{};
    for (int round = 0; round < 5; ++round) {
        if (!FitModel(pairs, use, terms, model)) return false;
        const double tolerance = std::max(floor, 3 * 1.4826 * MedianResidual(pairs, model, use));
        for (std::size_t i = 0; i < pairs.size(); ++i)
            use[i] = std::abs(pairs[i].Residual(model)) <= tolerance;
    }
    return std::count(use.begin(), use.end(), 1) >= kMinMatches &&
           FitModel(pairs, use, terms, model);
}

// Each left corner's most similar right corner among those at about the same height (a
// stereo pair's views differ mostly across), kept when clearly better than the second
// best, and each right corner given to one left corner at most.
// Built twice, the processor picking at start-up: with the bit-count instruction where it
// has one, which makes the comparisons several times quicker.
__attribute__((target_clones("popcnt", "default"))) std::vector<std::pair<int, int>>
MatchAtSimilarHeight(const std::vector<cv::KeyPoint>& keysL, const cv::Mat& descL,
                     const std::vector<cv::KeyPoint>& keysR, const cv::Mat& descR, float band) {
    std::vector<int> byHeight(keysR.size());
    for (std::size_t i = 0; i < byHeight.size(); ++i) byHeight[i] = static_cast<int>(i);
    std::sort(byHeight.begin(), byHeight.end(),
              [&](int a, int b) { return keysR[a].pt.y < keysR[b].pt.y; });
    std::vector<float> heights(byHeight.size());
    // The right descriptions in the same order, so that a band is read straight through.
    cv::Mat sorted(descR.rows, descR.cols, descR.type());
    for (std::size_t i = 0; i < byHeight.size(); ++i) {
        heights[i] = keysR[byHeight[i]].pt.y;
        descR.row(byHeight[i]).copyTo(sorted.row(static_cast<int>(i)));
    }

    constexpr int kMaxDistance = 64;  // of the 256 bits
    std::vector<int> bestFor(keysR.size(), -1), bestDistance(keysR.size(), kMaxDistance + 1);
    const int bytes = descL.cols;
    for (int i = 0; i < descL.rows; ++i) {
        const float y = keysL[i].pt.y;
        const auto from = std::lower_bound(heights.begin(), heights.end(), y - band);
        const auto to = std::upper_bound(from, heights.end(), y + band);
        int best = kMaxDistance + 1, second = kMaxDistance + 1, bestIndex = -1;
        for (auto it = from; it != to; ++it) {
            const int at = static_cast<int>(it - heights.begin());
            int distance = 0;
            const std::uint8_t* a = descL.ptr(i);
            const std::uint8_t* b = sorted.ptr(at);
            for (int k = 0; k + 8 <= bytes; k += 8) {
                std::uint64_t x, y;
                std::memcpy(&x, a + k, 8);
                std::memcpy(&y, b + k, 8);
                distance += std::popcount(x ^ y);
            }
            if (distance < best) {
                second = best;
                best = distance;
                bestIndex = byHeight[static_cast<std::size_t>(at)];
            } else if (distance < second) {
                second = distance;
            }
        }
        if (bestIndex < 0 || best > kMaxDistance || 10 * best > 9 * second) continue;
        if (best < bestDistance[bestIndex]) {
            bestDistance[bestIndex] = best;
            bestFor[bestIndex] = i;
        }
    }
    std::vector<std::pair<int, int>> matches;
    for (std::size_t j = 0; j < bestFor.size(); ++j)
        if (bestFor[j] >= 0) matches.emplace_back(bestFor[j], static_cast<int>(j));
    return matches;
}

float Bilinear(const cv::Mat& image, double x, double y) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = static_cast<float>(x - ix), fy = static_cast<float>(y - iy);
    const float* r0 = image.ptr<float>(iy) + ix;
    const float* r1 = image.ptr<float>(iy + 1) + ix;
    return (r0[0] * (1 - fx) + r0[1] * fx) * (1 - fy) + (r1[0] * (1 - fx) + r1[1] * fx) * fy;
}

// Where the left patch around `at` (whole pixels) lies in `image`, starting from `guess`:
// inverse-compositional Lucas–Kanade for a shift, brightness offsets removed. False when
// the patch has no structure in both directions, leaves the picture or does not settle.
bool RefinePatch(const cv::Mat& left, const cv::Mat& image, cv::Point at, cv::Point2d& guess) {
    constexpr int r = kPatchRadius, side = 2 * r + 1;
    if (at.x - r - 1 < 0 || at.y - r - 1 < 0 || at.x + r + 1 >= left.cols ||
        at.y + r + 1 >= left.rows)
        return false;
    float patch[side * side], gx[side * side], gy[side * side];
    double mean = 0, hxx = 0, hxy = 0, hyy = 0;
    for (int y = -r, i = 0; y <= r; ++y) {
        const float* row = left.ptr<float>(at.y + y) + at.x;
        const float* up = left.ptr<float>(at.y + y - 1) + at.x;
        const float* down = left.ptr<float>(at.y + y + 1) + at.x;
        for (int x = -r; x <= r; ++x, ++i) {
            patch[i] = row[x];
            gx[i] = 0.5f * (row[x + 1] - row[x - 1]);
            gy[i] = 0.5f * (down[x] - up[x]);
            mean += patch[i];
            hxx += gx[i] * gx[i];
            hxy += gx[i] * gy[i];
            hyy += gy[i] * gy[i];
        }
    }
    mean /= side * side;
    const double det = hxx * hyy - hxy * hxy;
    // The weaker direction of the structure tensor must carry real contrast.
    const double trace = hxx + hyy;
    const double weakest = trace / 2 - std::sqrt(std::max(0.0, trace * trace / 4 - det));
    if (weakest < side * side * 4.0) return false;

    const cv::Point2d start = guess;
    float sample[side * side];
    for (int iteration = 0; iteration < 30; ++iteration) {
        if (guess.x - r < 0 || guess.y - r < 0 || guess.x + r + 1 >= image.cols - 1 ||
            guess.y + r + 1 >= image.rows - 1)
            return false;
        double sampleMean = 0;
        for (int y = -r, i = 0; y <= r; ++y)
            for (int x = -r; x <= r; ++x, ++i) {
                sample[i] = Bilinear(image, guess.x + x, guess.y + y);
                sampleMean += sample[i];
            }
        sampleMean /= side * side;
        double bx = 0, by = 0;
        for (int i = 0; i < side * side; ++i) {
            const double e = (sample[i] - sampleMean) - (patch[i] - mean);
            bx += gx[i] * e;
            by += gy[i] * e;
        }
        const double dx = (hyy * bx - hxy * by) / det, dy = (hxx * by - hxy * bx) / det;
        guess.x -= dx;
        guess.y -= dy;
        if (std::hypot(guess.x - start.x, guess.y - start.y) > 4) return false;
        if (dx * dx + dy * dy < 1e-6) return true;
    }
    return false;
}

}  // namespace

namespace {

// The alignment's map in pixels about the right view's centre.
Model PixelModel(const FeatureAlignment& alignment) {
    const double r = alignment.rotation / kDegreesPerRadian;
    return {alignment.scale * std::sin(r), alignment.scale * std::cos(r), alignment.verticalShift,
            alignment.keystone, alignment.bend};
}

}  // namespace

std::array<double, 9> FeatureAlignment::Homography() const {
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const cv::Matx33d toCentre(1, 0, -cx, 0, 1, -cy, 0, 0, 1);
    const cv::Matx33d fromCentre(1, 0, cx, 0, 1, cy, 0, 0, 1);
    cv::Matx33d h = fromCentre * PixelModel(*this).Matrix() * toCentre;
    h *= 1 / h(2, 2);
    std::array<double, 9> out;
    for (int i = 0; i < 9; ++i) out[i] = h.val[i];
    return out;
}

double FeatureAlignment::MapY(double x, double y) const {
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    return PixelModel(*this).Map({x - cx, y - cy}).y + cy;
}

Result<FeatureAlignment> FindFeatureAlignment(const ImageBuffer& left, const ImageBuffer& right,
                                              const FeatureAlignOptions& options,
                                              const Progress& progress) {
    if (!left || !right || left.BitCount() != 24 || right.BitCount() != 24)
        return Failure::Quiet("feature alignment needs two 24-bit views");
    const auto tooFew = [] {
        return Failure::Message(StringId::AutoAlignTooFewFeatures, StringId::WarningCaption);
    };
    const auto report = [&progress](int percent) {
        progress(ProgressDirection::Writing, percent);
        return !progress.Cancelled();
    };
    try {
        const int workingSize = std::max(64, options.workingSize);
        // Each view reduced and its corners found and described, the two views at once.
        WorkingView views[2];
        std::vector<cv::KeyPoint> keys[2];
        cv::Mat descriptions[2];
        const ImageBuffer* sources[2] = {&left, &right};
        ParallelRows(2, std::int64_t{left.Width()} * left.Height(), [&](int begin, int end) {
            for (int i = begin; i < end; ++i) {
                views[i] = MakeWorkingView(*sources[i], workingSize);
                const bool large =
                    std::int64_t{views[i].grey.cols} * views[i].grey.rows > kSecondRoundPixels;
                cv::ORB::create(large ? kFeaturesPerLargeView : kFeaturesPerView, 1.2f,
                                large ? kLargeViewLevels : kLevels)
                    ->detectAndCompute(views[i].grey, cv::noArray(), keys[i], descriptions[i]);
            }
        });
        if (!report(50)) return Failure::Quiet();
        const WorkingView& wl = views[0];
        const WorkingView& wr = views[1];
        const std::vector<cv::KeyPoint>& keysL = keys[0];
        const std::vector<cv::KeyPoint>& keysR = keys[1];
        const cv::Mat& descL = descriptions[0];
        const cv::Mat& descR = descriptions[1];
        if (keysL.size() < kMinMatches || keysR.size() < kMinMatches) return tooFew();
        // Up to a seventh of the height apart: well beyond what a stereo camera's views
        // are, and the search stays short.
        const float band = std::max(24.0f, wl.grey.rows / 7.0f);
        const std::vector<std::pair<int, int>> matches =
            MatchAtSimilarHeight(keysL, descL, keysR, descR, band);
        if (matches.size() < kMinMatches) return tooFew();
        if (!report(65)) return Failure::Quiet();

        // Wrong matches mostly break the pair's epipolar geometry, whatever their depth. The
        // geometry is that of ideal lenses: towards the edges of a wide-angle pair, whose
        // lenses bend the picture differently, right matches stray from it by a few working
        // pixels, and a tighter bound would leave the fit only the middle of the picture.
        std::vector<cv::Point2f> ptsL, ptsR;
        for (const auto& [l, r] : matches) {
            ptsL.push_back(keysL[l].pt);
            ptsR.push_back(keysR[r].pt);
        }
        std::vector<uchar> epipolar;
        const cv::Mat f =
            cv::findFundamentalMat(ptsL, ptsR, cv::FM_RANSAC, kEpipolarBound, 0.999, epipolar);
        if (f.empty()) epipolar.assign(ptsL.size(), 1);
        std::vector<cv::Point2f> matchL, matchR;
        for (std::size_t i = 0; i < ptsL.size(); ++i)
            if (epipolar[i]) {
                matchL.push_back(ptsL[i]);
                matchR.push_back(ptsR[i]);
            }
        if (matchL.size() < kMinMatches) return tooFew();
        if (!report(75)) return Failure::Quiet();

        // Model units: pixels of the full-size right view about each centre, scaled by
        // half its diagonal so that the fit is well conditioned.
        const double unit = std::hypot(wr.width, wr.height) / 2;
        const cv::Matx33d toModelL = WorkingToModel(wl, unit), toModelR = WorkingToModel(wr, unit);
        const double floor = 0.3 / (unit * std::min(wl.fy, wr.fy));
        const auto pairsOf = [&](const std::vector<cv::Point2d>& l,
                                 const std::vector<cv::Point2d>& r) {
            std::vector<Pair> pairs;
            for (std::size_t i = 0; i < l.size(); ++i) {
                const cv::Point2d ml = Apply(toModelL, l[i]), mr = Apply(toModelR, r[i]);
                pairs.push_back({mr.x, mr.y, ml.x, ml.y});
            }
            return pairs;
        };

        std::vector<cv::Point2d> fitL(matchL.begin(), matchL.end()),
            fitR(matchR.begin(), matchR.end());
        std::vector<Pair> pairs = pairsOf(fitL, fitR);
        Model model;
        std::vector<char> use;
        // The coarse fit is only a start for the refinement; the keystone waits for it.
        if (!RobustFit(pairs, {}, 4 * floor, model, use)) return tooFew();

        // Refinement: the right view is warped onto the left with the fit so far, and each
        // left patch is looked up there to a fraction of a pixel.
        cv::Mat leftF, rightF;
        wl.grey.convertTo(leftF, CV_32F);
        wr.grey.convertTo(rightF, CV_32F);
        // The second round, on small copies, warps with the bend the first one found.
        const bool small = std::int64_t{leftF.cols} * leftF.rows <= kSecondRoundPixels;
        for (int round = 0; round < (small ? kRefinementRounds : 1); ++round) {
            // Working pixels of the right view to those of the left, and back.
            const cv::Matx33d fromModelL = toModelL.inv(), fromModelR = toModelR.inv();
            const cv::Matx33d toRight = model.Matrix().inv();
            const auto forward = [&](cv::Point2d p) {
                return Apply(fromModelL, model.Map(Apply(toModelR, p)));
            };
            const auto back = [&](cv::Point2d p) {
                return Apply(fromModelR, Apply(toRight, model.Bend(Apply(toModelL, p))));
            };
            cv::Mat warped;
            if (model.c == 0) {
                cv::warpPerspective(rightF, warped, fromModelL * model.Matrix() * toModelR,
                                    leftF.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT, 0);
            } else {
                cv::Mat mapX(leftF.size(), CV_32F), mapY(leftF.size(), CV_32F);
                for (int y = 0; y < leftF.rows; ++y)
                    for (int x = 0; x < leftF.cols; ++x) {
                        const cv::Point2d from = back({double(x), double(y)});
                        mapX.at<float>(y, x) = static_cast<float>(from.x);
                        mapY.at<float>(y, x) = static_cast<float>(from.y);
                    }
                cv::remap(rightF, warped, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT, 0);
            }
            std::vector<cv::Point2d> refinedL, refinedR;
            for (std::size_t i = 0; i < matchL.size(); ++i) {
                const cv::Point at(static_cast<int>(std::lround(matchL[i].x)),
                                   static_cast<int>(std::lround(matchL[i].y)));
                cv::Point2d guess =
                    forward(matchR[i]) + cv::Point2d(at.x - matchL[i].x, at.y - matchL[i].y);
                if (!RefinePatch(leftF, warped, at, guess)) continue;
                refinedL.emplace_back(at.x, at.y);
                refinedR.push_back(back(guess));
            }
            if (refinedL.size() < kMinMatches) break;
            std::vector<Pair> refinedPairs = pairsOf(refinedL, refinedR);
            Model refinedModel;
            std::vector<char> refinedUse;
            if (!RobustFit(refinedPairs, {options.keystone, false}, floor, refinedModel,
                           refinedUse))
                break;
            // The bend only where it takes away a good part of what the plain fit leaves:
            // elsewhere it would trade against the size on noise alone, and reach into
            // corners that have no matches to hold it. Nor one that no pair of lenses has,
            // and which would fold the picture over before its corners.
            Model bentModel;
            std::vector<char> bentUse;
            if (options.bend &&
                RobustFit(refinedPairs, {options.keystone, true}, floor, bentModel, bentUse) &&
                std::abs(bentModel.c) <= kMaxBend &&
                MedianResidual(refinedPairs, bentModel, bentUse) <
                    kBendGain * MedianResidual(refinedPairs, refinedModel, refinedUse)) {
                refinedModel = bentModel;
                refinedUse = std::move(bentUse);
            }
            model = refinedModel;
            pairs = std::move(refinedPairs);
            use = std::move(refinedUse);
            if (!report(80 + 10 * round)) return Failure::Quiet();
        }

        FeatureAlignment result;
        result.rotation = std::atan2(model.a, model.b) * kDegreesPerRadian;
        result.scale = std::hypot(model.a, model.b);
        result.verticalShift = model.t * unit;
        result.keystone = model.k / unit;
        result.bend = model.c / (unit * unit);
        result.width = wr.width;
        result.height = wr.height;
        std::vector<double> before, after;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (!use[i]) continue;
            // Heights in pixels of the full-size views, from the top.
            const double rightY = pairs[i].v * unit + wr.cy, leftY = pairs[i].vl * unit + wl.cy;
            before.push_back(std::abs(leftY - rightY));
            after.push_back(std::abs(model.Map({pairs[i].u, pairs[i].v}).y - pairs[i].vl) * unit);
        }
        result.matches = static_cast<int>(before.size());
        result.residualBefore = Median(before);
        result.residualAfter = Median(after);
        report(100);
        return result;
    } catch (const cv::Exception& error) {
        return Failure::Quiet(error.what());
    } catch (const std::bad_alloc&) {
        return CannotCreateImage(left.Width(), left.Height());
    }
}

std::string FeatureAlignmentSummary(const FeatureAlignment& alignment) {
    const auto number = [](double value, int decimals) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return std::string(text);
    };
    return FormatResString(StringId::AutoAlignDone, number(alignment.rotation, 2).c_str(),
                           number(alignment.scale * 100, 2).c_str(),
                           number(alignment.verticalShift, 1).c_str(),
                           number(alignment.residualAfter, 2).c_str(),
                           number(alignment.residualBefore, 2).c_str(), alignment.matches);
}

ImageBuffer ApplyFeatureAlignment(const ImageBuffer& right, const FeatureAlignment& alignment,
                                  int keptShift, const Progress& progress) {
    if (!right || right.BitCount() != 24) return {};
    const int width = right.Width(), height = right.Height();
    // Every pixel is written, the row padding aside.
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return {};
    ClearRowPadding(out);
    FeatureAlignment sized = alignment;
    sized.width = width;
    sized.height = height;
    const std::array<double, 9> h = sized.Homography();
    // The same map on stored rows, which run from the bottom; read from the target's side.
    const cv::Matx33d flip(1, 0, 0, 0, -1, height - 1, 0, 0, 1);
    const cv::Matx33d back = (flip * cv::Matx33d(h.data()) * flip).inv();
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    try {
        const cv::Mat source(height, width, CV_8UC3, const_cast<std::uint8_t*>(right.Pixels()),
                             static_cast<std::size_t>(right.Stride()));
        cv::Mat target(height, width, CV_8UC3, out.Pixels(),
                       static_cast<std::size_t>(out.Stride()));
        // Pixel by pixel, in tiles that let the work be watched and stopped. (An affine map
        // per tile would part from a keystone's by its strength times the tile's area: over
        // two pixels for a strong one.) The coordinate maps are kept from tile to tile: fresh
        // memory costs more to clear than the maps to fill.
        const int across = (width + kTile - 1) / kTile, down = (height + kTile - 1) / kTile;
        const auto warpTile = [&](int index, cv::Mat& mapX, cv::Mat& mapY) {
            const int tx = index % across, ty = index / across;
            const cv::Rect tile(tx * kTile, ty * kTile, std::min(kTile, width - tx * kTile),
                                std::min(kTile, height - ty * kTile));
            cv::Mat part = target(tile);
            // In strips of a few rows, whose coordinate maps stay in the cache; in single
            // precision, eight pixels at a time: far finer than the interpolation's 1/32
            // pixel on any picture size. The maps are a whole number of those eight wide.
            using Floats = float __attribute__((vector_size(32)));
            constexpr int kLanes = 8, kStrip = 16;
            const int padded = (tile.width + kLanes - 1) / kLanes * kLanes;
            mapX.create(kStrip, padded, CV_32F);
            mapY.create(kStrip, padded, CV_32F);
            float m[9];
            for (int i = 0; i < 9; ++i) m[i] = static_cast<float>(back.val[i]);
            const float bend = static_cast<float>(alignment.bend);
            const float fcx = static_cast<float>(cx), rowY = static_cast<float>(height - 1 - cy);
            for (int strip = 0; strip < tile.height; strip += kStrip) {
                const int rows = std::min(kStrip, tile.height - strip);
                for (int y = 0; y < rows; ++y) {
                    float* outX = mapX.ptr<float>(y);
                    float* outY = mapY.ptr<float>(y);
                    // Stored row to a height about the centre, from the top, with the
                    // kept shift put back; bent; then through the homography on stored
                    // rows.
                    const float v =
                        static_cast<float>((height - 1 - (tile.y + strip + y)) + keptShift - cy);
                    Floats u = Floats{0, 1, 2, 3, 4, 5, 6, 7} + static_cast<float>(tile.x - cx);
                    for (int x = 0; x < padded; x += kLanes, u += kLanes) {
                        const Floats f = 1 + bend * (u * u + v * v);
                        const Floats px = fcx + u * f, py = rowY - v * f;
                        const Floats w = 1 / (m[6] * px + m[7] * py + m[8]);
                        const Floats sx = (m[0] * px + m[1] * py + m[2]) * w;
                        const Floats sy = (m[3] * px + m[4] * py + m[5]) * w;
                        std::memcpy(outX + x, &sx, sizeof sx);
                        std::memcpy(outY + x, &sy, sizeof sy);
                    }
                }
                const cv::Rect used(0, 0, tile.width, rows);
                cv::Mat out = part.rowRange(strip, strip + rows);
                cv::remap(source, out, mapX(used), mapY(used), cv::INTER_LINEAR,
                          cv::BORDER_CONSTANT, cv::Scalar::all(0));
            }
        };
        // A few rows of tiles at a time over the worker pool; progress and cancelling
        // between them, on this thread.
        constexpr int kTileRowsAtOnce = 2;
        for (int ty = 0; ty < down; ty += kTileRowsAtOnce) {
            const int first = ty * across, count = std::min(kTileRowsAtOnce, down - ty) * across;
            ParallelRows(count, std::int64_t{count} * kTile * kTile, [&](int begin, int end) {
                cv::Mat mapX, mapY;
                for (int i = begin; i < end; ++i) warpTile(first + i, mapX, mapY);
            });
            progress(ProgressDirection::Writing, 100 * std::min(down, ty + kTileRowsAtOnce) / down);
            if (progress.Cancelled()) return {};
        }
    } catch (const cv::Exception&) {
        return {};
    }
    return out;
}

}  // namespace duplora
