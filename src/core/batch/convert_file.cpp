#include "core/batch/convert_file.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/align/correction.h"
#include "core/align/gamma.h"
#include "core/batch/batch_das.h"
#include "core/batch/batch_output.h"
#include "core/formats/load_chain.h"
#include "core/formats/stereo_open.h"
#include "core/hooks.h"
#include "core/image/filter.h"
#include "core/image/geometry.h"
#include "core/image/resample.h"
#include "core/stereo/common_area.h"
#include "core/stereo/compose.h"
#include "core/strings.h"
#include "core/util/parallel.h"

namespace duplora {

namespace {

bool Aborted(const std::atomic<bool>* abort) {
    return abort && abort->load(std::memory_order_relaxed);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

// One of the files the item is read from, by whatever name or link the output reaches it.
bool IsSourceOf(const BatchItem& item, const std::string& output) {
    for (const std::string* source : {&item.left, &item.right}) {
        std::error_code error;
        if (!source->empty() && std::filesystem::equivalent(*source, output, error) && !error)
            return true;
    }
    return false;
}

void RemoveFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code error;
        std::filesystem::remove(path, error);
    }
}

// The width × height area of a 24-bit picture whose top-left pixel is (left, top),
// top-down; none unless it lies inside the picture.
ImageBuffer CopyArea(const ImageBuffer& picture, int left, int top, int width, int height) {
    if (!picture || picture.BitCount() != 24 || left < 0 || top < 0 || width <= 0 || height <= 0 ||
        left + width > picture.Width() || top + height > picture.Height())
        return {};
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            std::memcpy(out.Line(y), picture.Line(top + y) + static_cast<std::size_t>(left) * 3,
                        bytes);
    });
    return out;
}

// A view cut to the common area: the margins count stored rows from the bottom.
ImageBuffer CutToArea(const ImageBuffer& view, const CommonArea& area, bool second) {
    const int width = view.Width() - area.secondX - area.firstX;
    const int height = view.Height() - area.secondY - area.firstY;
    const int left = second ? area.secondX : area.firstX;
    const int bottom = second ? area.secondY : area.firstY;
    return CopyArea(view, left, view.Height() - bottom - height, width, height);
}

}  // namespace

BatchViews OpenBatchStereoFile(const std::string& path, StereoLayout layout,
                               const CodecOptions& codec) {
    BatchViews views;
    if (layout == StereoLayout::Single) return views;
    StereoOpenOptions options;
    options.codec = codec;
    StereoOpenResult opened = OpenStereoFile(path, layout, options);
    if (!opened.loaded || !opened.left || !opened.right) return views;
    views.left = std::move(opened.left);
    views.right = std::move(opened.right);
    if (opened.partial) views.partlyRead.push_back(path);
    // A container brings the alignment it was stored with.
    if (opened.hasAlignment) {
        views.dx = opened.dx;
        views.dy = opened.dy;
    }
    return views;
}

BatchViews LoadBatchViews(const BatchItem& item, const CodecOptions& codec) {
    BatchViews views;
    if (!item.pair) {
        if (item.layout) views = OpenBatchStereoFile(item.left, *item.layout, codec);
        if (item.swapViews) {
            std::swap(views.left, views.right);
            views.dx = -views.dx;
            views.dy = -views.dy;
        }
        return views;
    }
    const auto load = [&views, &codec](const std::string& path, ImageBuffer& view) {
        LoadedImage loaded = LoadImageFile(path, codec);
        view = std::move(loaded.image);
        if (view && loaded.partial) views.partlyRead.push_back(path);
    };
    load(item.left, views.left);
    if (!item.right.empty()) load(item.right, views.right);
    // Two files of different sizes are brought to one, as when the pair is opened.
    if (views) EqualiseViewSizes(views.left, views.right);
    return views;
}

ImageBuffer AdjustBatchView(const ImageBuffer& view, int angle, int percent) {
    if (!view || view.BitCount() != 24) return {};
    const int width = view.Width(), height = view.Height();
    if (percent > 100) {
        ImageBuffer turned;
        if (angle != 0) {
            turned = CorrectionTransform(view, angle, 0, 0);
            if (!turned) return {};
        }
        const ImageBuffer& source = angle != 0 ? turned : view;
        const int bigWidth = static_cast<int>(std::int64_t{width} * percent / 100);
        const int bigHeight = static_cast<int>(std::int64_t{height} * percent / 100);
        const ImageBuffer big = ResizeImage(source, bigWidth, bigHeight);
        if (!big) return {};
        return CopyArea(big, (bigWidth - width) / 2, (bigHeight - height) / 2, width, height);
    }
    if (percent < 100) {
        // A view scaled to nothing still keeps one pixel, centred on the black canvas.
        const int smallWidth = std::max(1, static_cast<int>(std::int64_t{width} * percent / 100));
        const int smallHeight = std::max(1, static_cast<int>(std::int64_t{height} * percent / 100));
        const ImageBuffer small = ResizeImage(view, smallWidth, smallHeight);
        if (!small) return {};
        // Without a rotation the smaller view is placed as it is, not resampled.
        if (angle == 0) return FrameOnCanvas(small, width, height);
        return CorrectionTransform(small, angle, 0, 0, width, height);
    }
    if (angle == 0) return DuplicateTrueColour(view);
    return CorrectionTransform(view, angle, 0, 0);
}

BatchOffset BatchItemOffset(const BatchItem& item, const BatchOptions& options,
                            BatchOffset stored) {
    BatchOffset offset = stored;
    if (item.hasOffset) {
        offset.dx += item.dx;
        offset.dy += item.dy;
    }
    // Exchanging the views turns their alignment round; the position fields apply to the
    // pair as it is composed.
    if (options.swap) offset = {-offset.dx, -offset.dy};
    if (options.position) {
        offset.dx -= options.positionH;
        offset.dy -= options.positionV;
    }
    return offset;
}

bool PrepareBatchViews(BatchViews& views, const BatchOffset& offset, const BatchOptions& options,
                       const BatchAnnotations& annotations, const BatchLogFn& log) {
    if (!views) return false;
    if (options.swap) std::swap(views.left, views.right);

    const auto replace = [](ImageBuffer& view, ImageBuffer next) {
        if (!next) return false;
        view = std::move(next);
        return true;
    };

    // Rotation and size, left view first.
    const struct {
        ImageBuffer* view;
        int angle;
        int percent;
    } adjust[2] = {
        {&views.left, options.angle ? options.leftAngle : 0, options.size ? options.leftSize : 100},
        {&views.right, options.angle ? options.rightAngle : 0,
         options.size ? options.rightSize : 100}};
    for (const auto& a : adjust) {
        if (a.angle == 0 && a.percent == 100) continue;
        if (!replace(*a.view, AdjustBatchView(*a.view, a.angle, a.percent))) return false;
    }

    // Both views cut to the area they have in common for the offset.
    if (views.left.Width() != views.right.Width() || views.left.Height() != views.right.Height()) {
        if (!EqualiseViewSizes(views.left, views.right)) return false;
    }
    const CommonArea area =
        ComputeCommonArea(views.left.Width(), views.left.Height(), offset.dx, offset.dy);
    if (area != CommonArea{}) {
        if (!replace(views.left, CutToArea(views.left, area, false))) return false;
        if (!replace(views.right, CutToArea(views.right, area, true))) return false;
    }

    if (options.gamma) {
        if (options.leftGamma != 100 &&
            !replace(views.left, ApplyGamma(views.left, options.leftGamma, false).image))
            return false;
        if (options.rightGamma != 100 &&
            !replace(views.right, ApplyGamma(views.right, options.rightGamma, false).image))
            return false;
    }
    if (options.sharpen) {
        const int divisor = kMaxBatchSharpness + 1 - options.sharpness;
        if (!replace(views.left, SharpenImage(views.left, divisor))) return false;
        if (!replace(views.right, SharpenImage(views.right, divisor))) return false;
    }

    // Overlays float at their depth: the right view carries the parallax, mirrored when the
    // views were exchanged.
    if (options.text && annotations.text) {
        const int depth = options.swap ? -annotations.textDepth : annotations.textDepth;
        ImageBuffer left = annotations.text(views.left, 0);
        ImageBuffer right = annotations.text(views.right, depth);
        if (left && right) {
            views.left = std::move(left);
            views.right = std::move(right);
        }
    }
    if (options.logo && annotations.logo) {
        const int depth = options.swap ? -annotations.logoDepth : annotations.logoDepth;
        ImageBuffer left = annotations.logo(views.left, 0);
        ImageBuffer right = annotations.logo(views.right, depth);
        if (left && right) {
            views.left = std::move(left);
            views.right = std::move(right);
        } else if (log) {
            log(LoadResString(kBatchLogoErrorText));
        }
    }
    return true;
}

ImageBuffer ResizeToWidth(const ImageBuffer& picture, int width) {
    if (!picture || picture.Width() <= 0 || width <= 0) return {};
    const int height =
        std::max(1, static_cast<int>(std::int64_t{picture.Height()} * width / picture.Width()));
    return ResizeImage(picture, width, height);
}

namespace {

// One picture to write: its name, and the mode it was composed in, which says how it is
// framed (a separate view is one picture).
struct Output {
    std::string path;
    ImageBuffer picture;
    DisplayMode mode = DisplayMode::Single;
};

BatchOutcome ConvertToDas(const BatchItem& item, const BatchOptions& options,
                          const std::string& outputName, const BatchLogFn& log) {
    if (item.dasRefused) {
        log(kBatchNotConvertibleText);
        return BatchOutcome::NotConvertible;
    }
    // The container stores the alignment as the files are named; the offset is the
    // document's, so X is its negation.
    // The files are stored in their own order, so the exchange of views does not apply.
    BatchOptions unswapped = options;
    unswapped.swap = false;
    const BatchOffset offset = BatchItemOffset(item, unswapped);
    const int x = -offset.dx, y = offset.dy;
    if (IsSourceOf(item, outputName)) {
        log(FormatResString(kBatchOutputText, outputName.c_str()));
        log(kBatchSameAsSourceText);
        return BatchOutcome::SameAsSource;
    }
    if (!CreateBatchDasFile(outputName, item.left, item.right, x, y)) {
        log(kBatchDasErrorText);
        return BatchOutcome::DasError;
    }
    log(LoadResString(kBatchSuccessText));
    return BatchOutcome::Converted;
}

// Steps 6 to 16 for the views as loaded.
BatchOutcome ConvertViews(const BatchItem& item, BatchViews& views, const std::string& outputName,
                          const BatchOptions& options, const BatchEnvironment& environment,
                          const BatchLogFn& log, const std::atomic<bool>* abort) {
    if (!views) {
        ShowMessage(kBatchOtherTypeText, kBatchWarningCaption);
        log(LoadResString(kBatchReadErrorText));
        return BatchOutcome::ReadError;
    }
    if (Aborted(abort)) return BatchOutcome::Aborted;

    const auto writeFailed = [&log] {
        ShowMessage(kBatchSaveFailedText, kBatchWarningCaption);
        log(LoadResString(kBatchWriteErrorText));
        return BatchOutcome::WriteError;
    };

    const BatchOffset offset = BatchItemOffset(item, options, {views.dx, views.dy});
    if (!PrepareBatchViews(views, offset, options, environment.annotations, log))
        return writeFailed();
    if (Aborted(abort)) return BatchOutcome::Aborted;

    // The names, each announced and, when it exists, offered for replacing. Two separate
    // files are asked for together, so that a refusal never leaves half a pair.
    std::vector<Output> outputs;
    if (options.separateFiles) {
        const std::size_t dot = outputName.rfind('.');
        outputs.push_back({outputName.substr(0, dot) + "_l" + outputName.substr(dot), {}});
        outputs.push_back({outputName.substr(0, dot) + "_r" + outputName.substr(dot), {}});
    } else {
        outputs.push_back({outputName, {}, options.outputMode});
    }
    for (const Output& output : outputs) {
        log(FormatResString(kBatchOutputText, output.path.c_str()));
        if (IsSourceOf(item, output.path)) {
            log(kBatchSameAsSourceText);
            return BatchOutcome::SameAsSource;
        }
        if (IsFile(output.path) && AskQuestion(LoadResString(kBatchOverwriteText), output.path,
                                               QuestionKind::YesNo) != Answer::Yes) {
            log(LoadResString(kBatchSkippedText));
            return BatchOutcome::Skipped;
        }
    }

    // Composition; the two separate files are the halves of the side-by-side picture,
    // which are the prepared views themselves.
    if (options.separateFiles) {
        outputs[0].picture = std::move(views.left);
        outputs[1].picture = std::move(views.right);
    } else {
        CompositionInput input;
        input.first = &views.left;
        input.second = &views.right;
        input.greyPair = options.greyPair;
        input.colourKind = options.colourKind;
        input.leftGamma = options.anaglyphLeftGamma;
        input.rightGamma = options.anaglyphRightGamma;
        outputs[0].picture = ComposeForOutput(input, options.outputMode, 0, 0);
        views = {};
        if (!outputs[0].picture) return writeFailed();
    }
    if (Aborted(abort)) return BatchOutcome::Aborted;

    if (options.resizeWidth) {
        const ImageBuffer& first = outputs[0].picture;
        const int fromWidth = first.Width(), fromHeight = first.Height();
        for (Output& output : outputs) {
            if (output.picture.Width() == options.width) continue;
            ImageBuffer resized = ResizeToWidth(output.picture, options.width);
            if (!resized) return writeFailed();
            output.picture = std::move(resized);
        }
        log(FormatResString(kBatchResizedText, fromWidth, fromHeight, outputs[0].picture.Width(),
                            outputs[0].picture.Height()));
    }
    if (options.border && environment.annotations.border) {
        for (Output& output : outputs) {
            ImageBuffer framed = environment.annotations.border(output.picture, output.mode);
            if (framed) output.picture = std::move(framed);
        }
    }

    std::vector<std::string> written;
    for (const Output& output : outputs) {
        if (Aborted(abort)) {
            RemoveFiles(written);
            return BatchOutcome::Aborted;
        }
        if (!WriteBatchPicture(output.path, output.picture, options)) return writeFailed();
        written.push_back(output.path);
    }
    log(LoadResString(kBatchSuccessText));
    return BatchOutcome::Converted;
}

}  // namespace

BatchItemResult ConvertBatchItem(const BatchItem& item, const BatchOptions& options,
                                 const BatchEnvironment& environment, const BatchLogFn& logTo,
                                 const std::atomic<bool>* abort) {
    const BatchLogFn log = logTo ? logTo : [](std::string_view) {};
    const std::string outputName =
        BatchOutputName(options.targetFolder, item.left, options.outputType);
    BatchItemResult result;
    // A format not made from a picture (DAS) is made from the item's files.
    const OutputFormatRow* format = FindOutputFormat(options.outputType);
    if (format && !format->write) {
        result.outcome = ConvertToDas(item, options, outputName, log);
        return result;
    }
    BatchViews views = LoadBatchViews(item, environment.codec);
    result.partlyRead = std::move(views.partlyRead);
    result.outcome = ConvertViews(item, views, outputName, options, environment, log, abort);
    return result;
}

}  // namespace duplora
