#include "core/batch/convert_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/align/correction.h"
#include "core/align/feature_align.h"
#include "core/align/gamma.h"
#include "core/batch/batch_das.h"
#include "core/batch/batch_output.h"
#include "core/formats/load_chain.h"
#include "core/formats/stereo_open.h"
#include "core/image/filter.h"
#include "core/image/geometry.h"
#include "core/image/resample.h"
#include "core/stereo/common_area.h"
#include "core/stereo/compose.h"
#include "core/strings.h"
#include "core/util/parallel.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

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
                               const CodecOptions& codec, const Progress& progress) {
    BatchViews views;
    if (layout == StereoLayout::Single) return views;
    StereoOpenOptions options;
    options.codec = codec;
    StereoOpenResult opened = OpenStereoFile(path, layout, options, progress);
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

BatchViews LoadBatchViews(const BatchItem& item, const CodecOptions& codec,
                          const Progress& progress) {
    BatchViews views;
    if (!item.pair) {
        if (item.layout) views = OpenBatchStereoFile(item.left, *item.layout, codec, progress);
        if (item.swapViews) {
            std::swap(views.left, views.right);
            views.dx = -views.dx;
            views.dy = -views.dy;
        }
        return views;
    }
    const auto load = [&](const std::string& path, ImageBuffer& view) {
        LoadedImage loaded = LoadImageFile(path, codec, progress);
        view = std::move(loaded.image);
        if (view && loaded.partial) views.partlyRead.push_back(path);
    };
    load(item.left, views.left);
    if (!item.right.empty()) load(item.right, views.right);
    // Two files of different sizes are brought to one, as when the pair is opened.
    if (views) {
        if (const Status equal = EqualiseViewSizes(views.left, views.right); !equal)
            AppendMessages(equal.Error(), views.told);
    }
    return views;
}

Result<ImageBuffer> AdjustBatchView(const ImageBuffer& view, int angle, int percent,
                                    const Progress& progress) {
    const auto made = [](ImageBuffer image) -> Result<ImageBuffer> {
        if (!image) return Failure::Quiet();
        return image;
    };
    if (!view || view.BitCount() != 24) return Failure::Quiet();
    const int width = view.Width(), height = view.Height();
    if (percent > 100) {
        ImageBuffer turned;
        if (angle != 0) {
            turned = CorrectionTransform(view, angle, 0, 0, progress);
            if (!turned) return Failure::Quiet();
        }
        const ImageBuffer& source = angle != 0 ? turned : view;
        const int bigWidth = static_cast<int>(std::int64_t{width} * percent / 100);
        const int bigHeight = static_cast<int>(std::int64_t{height} * percent / 100);
        const ImageBuffer big = ResizeImage(source, bigWidth, bigHeight, progress);
        if (!big) return Failure::Quiet();
        return made(CopyArea(big, (bigWidth - width) / 2, (bigHeight - height) / 2, width, height));
    }
    if (percent < 100) {
        // A view scaled to nothing still keeps one pixel, centred on the black canvas.
        const int smallWidth = std::max(1, static_cast<int>(std::int64_t{width} * percent / 100));
        const int smallHeight = std::max(1, static_cast<int>(std::int64_t{height} * percent / 100));
        const ImageBuffer small = ResizeImage(view, smallWidth, smallHeight, progress);
        if (!small) return Failure::Quiet();
        // Without a rotation the smaller view is placed as it is, not resampled.
        if (angle == 0) return FrameOnCanvas(small, width, height);
        return made(CorrectionTransform(small, angle, 0, 0, width, height, kDefaultHalfFieldOfView,
                                        progress));
    }
    if (angle == 0) return made(DuplicateTrueColour(view));
    return made(CorrectionTransform(view, angle, 0, 0, progress));
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

Status PrepareBatchViews(BatchViews& views, BatchOffset offset, const BatchOptions& options,
                         const BatchAnnotations& annotations, const BatchLogFn& log, Warnings& told,
                         const Progress& progress) {
    if (!views) return Failure::Quiet();
    if (options.swap) std::swap(views.left, views.right);

    const auto replace = [](ImageBuffer& view, ImageBuffer next) {
        if (!next) return false;
        view = std::move(next);
        return true;
    };

    if (options.autoAlign) {
        Result<FeatureAlignment> found =
            FindFeatureAlignment(views.left, views.right, {}, progress.Relayed());
        if (!found) return std::move(found).Error();
        // The whole pixels of the height go into the offset, as in the window.
        const int kept = static_cast<int>(std::lround(found.Value().verticalShift));
        if (!replace(views.right,
                     ApplyFeatureAlignment(views.right, found.Value(), kept, progress.Relayed())))
            return Failure::Quiet();
        offset.dy = kept - (options.position ? options.positionV : 0);
        if (log) log(FeatureAlignmentSummary(found.Value()) + "\r\n");
    }

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
        Result<ImageBuffer> adjusted = AdjustBatchView(*a.view, a.angle, a.percent, progress);
        if (!adjusted) return std::move(adjusted).Error();
        *a.view = std::move(adjusted).Value();
    }

    // Both views cut to the area they have in common for the offset.
    if (views.left.Width() != views.right.Width() || views.left.Height() != views.right.Height()) {
        if (Status equal = EqualiseViewSizes(views.left, views.right); !equal) return equal;
    }
    const CommonArea area =
        ComputeCommonArea(views.left.Width(), views.left.Height(), offset.dx, offset.dy);
    if (area != CommonArea{}) {
        if (!replace(views.left, CutToArea(views.left, area, false))) return Failure::Quiet();
        if (!replace(views.right, CutToArea(views.right, area, true))) return Failure::Quiet();
    }

    if (options.gamma) {
        if (options.leftGamma != 100 &&
            !replace(views.left, ApplyGamma(views.left, options.leftGamma, false).image))
            return Failure::Quiet();
        if (options.rightGamma != 100 &&
            !replace(views.right, ApplyGamma(views.right, options.rightGamma, false).image))
            return Failure::Quiet();
    }
    if (options.sharpen) {
        const int divisor = kMaxBatchSharpness + 1 - options.sharpness;
        if (!replace(views.left, SharpenImage(views.left, divisor, progress)))
            return Failure::Quiet();
        if (!replace(views.right, SharpenImage(views.right, divisor, progress)))
            return Failure::Quiet();
    }

    // Overlays float at their depth: the right view carries the parallax, mirrored when the
    // views were exchanged. Both views get one, or neither.
    const auto stamp = [&](const auto& draw, int depth) {
        Result<ImageBuffer> left = draw(views.left, 0);
        Result<ImageBuffer> right = draw(views.right, depth);
        if (left && right) {
            views.left = std::move(left).Value();
            views.right = std::move(right).Value();
            return true;
        }
        for (const auto* failed : {&left, &right})
            if (!*failed) AppendMessages(failed->Error(), told);
        return false;
    };
    if (options.text && annotations.text)
        stamp(annotations.text, options.swap ? -annotations.textDepth : annotations.textDepth);
    if (options.logo && annotations.logo &&
        !stamp(annotations.logo, options.swap ? -annotations.logoDepth : annotations.logoDepth) &&
        log)
        log(LoadResString(StringId::BatchLogoError));
    return {};
}

ImageBuffer ResizeToWidth(const ImageBuffer& picture, int width, const Progress& progress) {
    if (!picture || picture.Width() <= 0 || width <= 0) return {};
    const int height =
        std::max(1, static_cast<int>(std::int64_t{picture.Height()} * width / picture.Width()));
    return ResizeImage(picture, width, height, progress);
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
                          const std::string& outputName, const BatchLogFn& log,
                          const Progress& progress) {
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
        log(FormatResString(StringId::BatchOutput, outputName.c_str()));
        log(kBatchSameAsSourceText);
        return BatchOutcome::SameAsSource;
    }
    if (!CreateBatchDasFile(outputName, item.left, item.right, x, y, progress)) {
        if (progress.Cancelled()) return BatchOutcome::Aborted;
        log(kBatchDasErrorText);
        return BatchOutcome::DasError;
    }
    log(LoadResString(StringId::BatchResultSuccess));
    return BatchOutcome::Converted;
}

// Steps 6 to 16 for the views as loaded; what the user is to be told goes to `told`.
BatchOutcome ConvertViews(const BatchItem& item, BatchViews& views, const std::string& outputName,
                          const BatchOptions& options, const BatchEnvironment& environment,
                          const BatchLogFn& log, const OverwritePolicy& overwrite,
                          const Progress& progress, std::vector<Failure>& told) {
    if (progress.Cancelled()) return BatchOutcome::Aborted;
    if (!views) {
        told.push_back(
            Failure::Message(StringId::BatchOtherFileType, StringId::WarningCaption, item.left));
        log(LoadResString(StringId::BatchResultReadError));
        return BatchOutcome::ReadError;
    }

    // A step given up because the run is being closed is no failure of the file.
    const auto writeFailed = [&](const Failure& why = {}) {
        if (progress.Cancelled()) return BatchOutcome::Aborted;
        AppendMessages(why, told);
        told.push_back(
            Failure::Message(StringId::BatchSaveFailed, StringId::WarningCaption, outputName));
        log(LoadResString(StringId::BatchResultWriteError));
        return BatchOutcome::WriteError;
    };

    const BatchOffset offset = BatchItemOffset(item, options, {views.dx, views.dy});
    if (const Status prepared =
            PrepareBatchViews(views, offset, options, environment.annotations, log, told, progress);
        !prepared)
        return writeFailed(prepared.Error());
    if (progress.Cancelled()) return BatchOutcome::Aborted;

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
        log(FormatResString(StringId::BatchOutput, output.path.c_str()));
        if (IsSourceOf(item, output.path)) {
            log(kBatchSameAsSourceText);
            return BatchOutcome::SameAsSource;
        }
        if (IsFile(output.path) &&
            !overwrite.Confirms(
                {LoadResString(StringId::FileExistsOverwrite), output.path, QuestionKind::YesNo})) {
            log(LoadResString(StringId::BatchResultSkipped));
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
        Result<ImageBuffer> composed = ComposeForOutput(input, options.outputMode, 0, 0);
        views = {};
        if (!composed) return writeFailed(composed.Error());
        outputs[0].picture = std::move(composed).Value();
    }
    if (progress.Cancelled()) return BatchOutcome::Aborted;

    if (options.resizeWidth) {
        const ImageBuffer& first = outputs[0].picture;
        const int fromWidth = first.Width(), fromHeight = first.Height();
        for (Output& output : outputs) {
            if (output.picture.Width() == options.width) continue;
            ImageBuffer resized = ResizeToWidth(output.picture, options.width, progress);
            if (!resized) return writeFailed();
            output.picture = std::move(resized);
        }
        log(FormatResString(StringId::BatchResized, fromWidth, fromHeight,
                            outputs[0].picture.Width(), outputs[0].picture.Height()));
    }
    if (options.border && environment.annotations.border) {
        for (Output& output : outputs) {
            Result<ImageBuffer> framed =
                environment.annotations.border(output.picture, output.mode);
            if (framed)
                output.picture = std::move(framed).Value();
            else
                AppendMessages(framed.Error(), told);
        }
    }

    std::vector<std::string> written;
    for (const Output& output : outputs) {
        if (progress.Cancelled()) {
            RemoveFiles(written);
            return BatchOutcome::Aborted;
        }
        Result<Warnings> saved = WriteBatchPicture(output.path, output.picture, options, progress);
        if (!saved) {
            if (progress.Cancelled()) RemoveFiles(written);
            return writeFailed(saved.Error());
        }
        for (const Failure& warning : saved.Value()) AppendMessages(warning, told);
        written.push_back(output.path);
    }
    log(LoadResString(StringId::BatchResultSuccess));
    return BatchOutcome::Converted;
}

}  // namespace

BatchItemResult ConvertBatchItem(const BatchItem& item, const BatchOptions& options,
                                 const BatchEnvironment& environment, const BatchLogFn& logTo,
                                 const OverwritePolicy& overwrite, const Progress& progress) {
    const BatchLogFn log = logTo ? logTo : [](std::string_view) {};
    const std::string outputName =
        BatchOutputName(options.targetFolder, item.left, options.outputType);
    BatchItemResult result;
    // A format not made from a picture (DAS) is made from the item's files.
    const OutputFormatRow* format = FindOutputFormat(options.outputType);
    if (format && !format->write) {
        result.outcome = ConvertToDas(item, options, outputName, log, progress);
        return result;
    }
    BatchViews views = LoadBatchViews(item, environment.codec, progress);
    result.partlyRead = std::move(views.partlyRead);
    result.told = std::move(views.told);
    result.outcome = ConvertViews(item, views, outputName, options, environment, log, overwrite,
                                  progress, result.told);
    return result;
}

}  // namespace duplora
