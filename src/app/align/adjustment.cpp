#include "app/align/adjustment.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <thread>

#include "core/image/convert.h"
#include "core/image/resample.h"
#include "core/strings.h"
#include "core/util/worker_pool.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// The order of the stored text: rotations, sizes, positions, then the perspectives.
constexpr std::array<int, kAdjustSlotCount> kStoredOrder = {0, 1, 6, 7, 8, 9, 2, 3, 4, 5};

constexpr Lens kLenses[] = {
    {"Fisheye(8.0mm)", 660},  {"Super-Wide(16.0mm)", 484}, {"Wide(35mm)", 272},
    {"Standard(50mm)", 198},  {"Portrait(75mm)", 135},     {"Long(105mm)", 97},
    {"Telephoto(210mm)", 49},
};

}  // namespace

int LinkedSlot(int slot) {
    return slot >= 0 && slot < 6 ? (slot ^ 1) : -1;
}

std::vector<int> AdjustmentSlots::Set(int slot, int position, bool link) {
    std::vector<int> changed;
    if (slot < 0 || slot >= kAdjustSlotCount) return changed;
    const auto put = [&](int s, int v) {
        v = std::clamp(v, 0, std::max(range[s], 0));
        if (value[s] != v) changed.push_back(s);
        value[s] = v;
    };
    put(slot, position);
    const int partner = link ? LinkedSlot(slot) : -1;
    // Rotations turn together; perspectives mirror each other about the centre.
    if (partner >= 0) put(partner, slot < 2 ? value[slot] : range[partner] - value[slot]);
    return changed;
}

std::vector<int> AdjustmentSlots::Reset(int slot, bool link) {
    std::vector<int> changed;
    if (slot < 0 || slot >= kAdjustSlotCount) return changed;
    for (int s : {slot, link ? LinkedSlot(slot) : -1}) {
        if (s < 0) continue;
        if (value[s] != Centre(s)) changed.push_back(s);
        value[s] = Centre(s);
    }
    return changed;
}

AdjustmentSlots StartAdjustmentSlots(int width, int height, int dx, int dy) {
    AdjustmentSlots values;
    for (int s = 0; s < 6; ++s) values.range[s] = kAngleSlotRange;
    values.range[kSizeLeft] = values.range[kSizeRight] = kSizeSlotRange;
    values.range[kPositionX] = std::max(width, 0);
    values.range[kPositionY] = std::max(height, 0);
    for (int s = 0; s < 8; ++s) values.value[s] = values.Centre(s);
    // The labels show −dx and −dy; an offset beyond the view is kept at the scroll bar's end.
    values.value[kPositionX] = std::clamp(width / 2 - dx, 0, values.range[kPositionX]);
    values.value[kPositionY] = std::clamp(height / 2 + dy, 0, values.range[kPositionY]);
    return values;
}

AdjustmentOffset OffsetFromSlots(const AdjustmentSlots& values) {
    return {values.range[kPositionX] / 2 - values.value[kPositionX],
            values.value[kPositionY] - values.range[kPositionY] / 2};
}

std::string SlotLabelText(const AdjustmentSlots& values, int slot) {
    if (slot < 6) {
        const int v = values.Signed(slot);
        return v >= 0 ? FormatResString(StringId::Degrees, v / 10, v % 10)
                      : FormatResString(StringId::NegativeDegrees, -v / 10, -v % 10);
    }
    if (slot < 8) return std::to_string(values.value[slot]) + " %";
    if (slot == kPositionX) return std::to_string(values.Signed(slot));
    return std::to_string(values.Centre(slot) - values.value[slot]);
}

CorrectionSet CorrectionOf(const AdjustmentSlots& values, bool right) {
    const int side = right ? 1 : 0;
    return {values.Signed(kRotationLeft + side), values.Signed(kPerspectiveVLeft + side),
            values.Signed(kPerspectiveHLeft + side), values.Signed(kSizeLeft + side)};
}

std::span<const Lens> LensTable() {
    return kLenses;
}

std::string FormatStoredAdjustment(const AdjustmentSlots& values) {
    std::string text;
    for (int s : kStoredOrder) text += std::to_string(values.Signed(s)) + ',';
    return text;
}

std::vector<int> RestoreStoredAdjustment(AdjustmentSlots& values, std::string_view text) {
    std::vector<int> set;
    std::size_t at = 0;
    for (int s : kStoredOrder) {
        if (at >= text.size()) break;
        const std::size_t comma = std::min(text.find(',', at), text.size());
        std::string_view field = text.substr(at, comma - at);
        while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
        if (!field.empty() && field.front() == '+') field.remove_prefix(1);
        int number = 0;
        const auto [end, error] =
            std::from_chars(field.data(), field.data() + field.size(), number);
        if (error != std::errc() || end == field.data()) break;
        values.value[s] = std::clamp(number + values.Centre(s), 0, std::max(values.range[s], 0));
        set.push_back(s);
        at = comma + 1;
    }
    return set;
}

// ---- applying -----------------------------------------------------------------------------

int CorrectionStepCount(const CorrectionSet& set) {
    return set.sizeDelta > 0 ? 3 : set.sizeDelta < 0 ? 2 : 1;
}

ImageBuffer CorrectView(const ImageBuffer& view, const CorrectionSet& set, int halfFieldOfView,
                        const std::function<void()>& stepDone, const Progress& progress) {
    ImageBuffer holder;
    const ImageBuffer* source = AsTrueColour(view, holder);
    if (!source) return {};
    const auto done = [&] {
        if (stepDone) stepDone();
    };
    const int w = source->Width(), h = source->Height();
    // Truncating toward zero, like the size the slot's label shows.
    const int scaledW = static_cast<int>(static_cast<long long>(w) * (100 + set.sizeDelta) / 100);
    const int scaledH = static_cast<int>(static_cast<long long>(h) * (100 + set.sizeDelta) / 100);
    const auto correct = [&](const ImageBuffer& from, int outW, int outH) {
        return CorrectionTransform(from, set.rotation, set.perspectiveV, set.perspectiveH, outW,
                                   outH, halfFieldOfView, progress);
    };
    if (set.sizeDelta > 0) {
        ImageBuffer corrected = correct(*source, 0, 0);
        done();
        if (!corrected) return {};
        ImageBuffer larger = ResizeImage(corrected, scaledW, scaledH, progress);
        corrected = {};
        done();
        if (!larger) return {};
        const int left = (scaledW - w) / 2, top = (scaledH - h) / 2;
        ImageBuffer cut = CropRect(larger, left, top, left + w, top + h);
        done();
        return cut;
    }
    if (set.sizeDelta < 0) {
        ImageBuffer smaller = ResizeImage(*source, scaledW, scaledH, progress);
        done();
        if (!smaller) return {};
        ImageBuffer corrected = correct(smaller, w, h);
        done();
        return corrected;
    }
    ImageBuffer corrected = correct(*source, 0, 0);
    done();
    return corrected;
}

CorrectedPair CorrectPair(const ImageBuffer& left, const ImageBuffer& right,
                          const AdjustmentResult& result, const Progress& progress) {
    const int total =
        CorrectionStepCount(result.left) + (right ? CorrectionStepCount(result.right) : 0);
    std::atomic<int> done{0};
    // The share of the pair done: the finished steps of both views and the part of the
    // calling thread's current step. Only the calling thread reports.
    const std::thread::id caller = std::this_thread::get_id();
    const auto report = [&](int stepPercent) {
        progress(ProgressDirection::Writing,
                 static_cast<int>((100LL * done.load() + stepPercent) / total));
    };
    const auto stepDone = [&] {
        done.fetch_add(1);
        if (std::this_thread::get_id() == caller) report(0);
    };
    const Progress here = progress.Relayed(
        [&](ProgressDirection, int percent) { report(std::clamp(percent, 0, 100)); });
    const Progress elsewhere = progress.Relayed();
    CorrectedPair pair;
    TaskGroup group;
    group.Run([&] {
        pair.left = CorrectView(left, result.left, result.halfFieldOfView, stepDone, elsewhere);
    });
    if (right)
        pair.right = CorrectView(right, result.right, result.halfFieldOfView, stepDone, here);
    group.Wait();
    // Stopped: the pair stays as it was.
    if (progress.Cancelled()) {
        pair.left = {};
        pair.right = {};
    } else {
        report(0);  // the worker's last steps, finished while this thread waited
    }
    // A view that could not be corrected stays as it was.
    if (!pair.left) pair.left = DuplicateImage(left);
    if (right && !pair.right) pair.right = DuplicateImage(right);
    return pair;
}

}  // namespace duplora
