#include "app/batch/slide_list.h"

#include <QByteArray>
#include <QProcess>
#include <QStringDecoder>

#include <algorithm>
#include <filesystem>

#include "app/shell/translations.h"
#include "core/stereo/display_modes.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

constexpr int kDefaultInterval = 30;
constexpr int kPageFlippingShowType = 5;

QString FromBytes(const std::string& s) {
    return QString::fromStdString(s);
}

// Comments of lists made on Windows are Windows-1252 rather than UTF-8.
QString DecodeComment(const std::string& text) {
    const QByteArray bytes = QByteArray::fromStdString(text);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString out = utf8.decode(bytes);
    if (utf8.hasError()) out = QString::fromLatin1(bytes);
    return out;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

int ClampOffset(int v) {
    return std::clamp(v, -kMaxEntryOffset, kMaxEntryOffset);
}

// The entry type that stores a layout today; 0 for a layout no list can hold.
int TypeForLayout(StereoLayout layout) {
    if (layout == StereoLayout::Pair) return kPairEntryType;
    const int number = static_cast<int>(layout);
    if (number >= 0 && number <= 7) return number + 11;
    return 0;
}

// Alignment is stored for the files in the list's order, the way a DAS file stores it:
// X is the negated horizontal offset, Y the vertical one. Shown exchanged, both turn round.
void OffsetToStored(bool displaySwapped, int dx, int dy, ListEntry& e) {
    e.x = ClampOffset(displaySwapped ? dx : -dx);
    e.y = ClampOffset(displaySwapped ? -dy : dy);
}

}  // namespace

std::optional<DisplayMode> ShowTypeDisplayMode(int showType) {
    if (showType == kPageFlippingShowType) return std::nullopt;
    return DisplayModeAtListIndex(showType).value_or(DisplayMode::SideBySide);
}

int ListInterval(int tenths) {
    return tenths >= 1 && tenths <= 3600 ? tenths : kDefaultInterval;
}

SlidePlan PlanSlide(const ListFile& list, const std::string& listPath, int index,
                    const SlideShowOptions& options) {
    SlidePlan plan;
    plan.index = index;
    plan.displayTime = ListInterval(options.interval);
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size()) {
        plan.problem = SlideProblem::NoFileName;
    } else {
        const ListEntry& e = list.entries[static_cast<std::size_t>(index)];
        if (e.time > 0) plan.displayTime = e.time;
        if (!options.hideComment)
            plan.comment = DecodeComment(list.comments[static_cast<std::size_t>(index)]);
        const std::optional<StereoLayout> layout = ListEntryLayout(e.type);
        plan.pair = layout == StereoLayout::Pair;
        plan.layout = layout.value_or(StereoLayout::SideBySide);
        plan.left = ResolveListName(listPath, e.left);
        if (plan.pair) plan.right = ResolveListName(listPath, e.right);
        plan.listSwap = e.swap;
        plan.swapViews = e.swap != options.swap;
        plan.dx = plan.swapViews ? e.x : -e.x;
        plan.dy = plan.swapViews ? -e.y : e.y;
        if (!Exists(plan.left) && !plan.left.empty()) plan.missing.push_back(plan.left);
        if (!Exists(plan.right) && !plan.right.empty()) plan.missing.push_back(plan.right);
        if (!layout)
            plan.problem = SlideProblem::UnknownType;
        else if (plan.left.empty() || (plan.pair && plan.right.empty()))
            plan.problem = SlideProblem::NoFileName;
        else if (!plan.missing.empty())
            plan.problem = SlideProblem::MissingFile;
    }
    plan.timerMs = plan.displayTime * 100;
    plan.intervalText = ListIntervalText(plan.displayTime);
    return plan;
}

ListEntry EntryFromDisplay(const ListEntry& shown, bool displaySwapped, int dx, int dy,
                           bool showSwap) {
    ListEntry e = shown;
    if (const std::optional<StereoLayout> layout = ListEntryLayout(shown.type))
        e.type = TypeForLayout(*layout);
    if (e.type != kPairEntryType) e.right.clear();
    e.swap = displaySwapped != showSwap;
    OffsetToStored(displaySwapped, dx, dy, e);
    return e;
}

ListEntry EntryForDocument(const std::string& left, const std::string& right, StereoLayout layout,
                           int time, bool displaySwapped, int dx, int dy) {
    ListEntry e;
    e.type = TypeForLayout(layout);
    e.time = std::clamp(time, 0, kMaxEntryTime);
    e.left = left;
    if (e.type == kPairEntryType) e.right = right;
    e.swap = displaySwapped;
    OffsetToStored(displaySwapped, dx, dy, e);
    return e;
}

QString ListIntervalText(int tenths) {
    return FromBytes(FormatResString(StringId::SlideShowInterval, tenths / 10, tenths % 10));
}

QString ListFailureText(ListResult result, bool writing) {
    if (result == ListResult::Ok) return {};
    return FromBytes(
        LoadResString(writing ? StringId::ListCannotCreate : StringId::ListCannotOpen));
}

QString AlignmentWrittenText(const std::string& listPath, int dx, int dy) {
    return FromBytes(FormatResString(StringId::ListAlignmentWritten, listPath.c_str(), -dx, -dy));
}

QString EntryAppendedTitle(const std::string& listPath) {
    return Tr("File info. was writen in script file (%1)").arg(FromBytes(listPath));
}

// ---- player ---------------------------------------------------------------------------

ListResult SlideListPlayer::Open(const std::string& listPath, const SlideShowOptions& options) {
    ListFile list;
    const ListResult result = OpenList(listPath, list);
    if (result != ListResult::Ok) return result;
    open_ = true;
    running_ = false;
    path_ = listPath;
    list_ = std::move(list);
    options_ = options;
    index_ = 0;
    return ListResult::Ok;
}

void SlideListPlayer::Close() {
    open_ = running_ = false;
    path_.clear();
    list_ = {};
    index_ = 0;
}

const ListEntry* SlideListPlayer::CurrentEntry() const {
    if (!open_ || index_ < 0 || index_ >= Count()) return nullptr;
    return &list_.entries[static_cast<std::size_t>(index_)];
}

SlidePlan SlideListPlayer::Current() const {
    return PlanSlide(list_, path_, open_ ? index_ : -1, options_);
}

SlidePlan SlideListPlayer::Select(int index) {
    if (index >= 0 && index < Count()) index_ = index;
    return Current();
}

SlidePlan SlideListPlayer::Next() {
    if (Count() > 0) index_ = (index_ + 1) % Count();
    return Current();
}

SlidePlan SlideListPlayer::Previous() {
    running_ = false;
    if (Count() > 0) index_ = (index_ - 1 + Count()) % Count();
    return Current();
}

bool SlideListPlayer::ToggleShow() {
    running_ = !running_ && open_ && Count() > 0;
    return running_;
}

int SlideListPlayer::TimerMs() const {
    const ListEntry* e = CurrentEntry();
    return (e && e->time > 0 ? e->time : ListInterval(options_.interval)) * 100;
}

std::optional<SlidePlan> SlideListPlayer::Tick() {
    if (!running_) return std::nullopt;
    for (int tried = 0; tried < Count(); ++tried) {
        SlidePlan plan = Next();
        if (plan.Showable()) return plan;
    }
    running_ = false;
    return std::nullopt;
}

ListResult SlideListPlayer::Reload() {
    ListFile list;
    const ListResult result = OpenList(path_, list);
    if (result != ListResult::Ok) return result;
    list_ = std::move(list);
    if (index_ >= Count()) index_ = std::max(0, Count() - 1);
    if (Count() == 0) running_ = false;
    return ListResult::Ok;
}

ListResult SlideListPlayer::WriteAlignment(bool displaySwapped, int dx, int dy) {
    const ListEntry* shown = CurrentEntry();
    if (!shown) return ListResult::NoSuchEntry;
    const ListEntry entry = EntryFromDisplay(*shown, displaySwapped, dx, dy, options_.swap);
    const ListResult result = RewriteListEntry(path_, index_, entry, shown);
    // Whatever happened, show the list as it now is.
    if (result == ListResult::Ok || result == ListResult::EntryChanged) Reload();
    return result;
}

ListResult SlideListPlayer::DeleteCurrent(std::optional<SlidePlan>& next) {
    next.reset();
    const ListEntry* shown = CurrentEntry();
    if (!shown) return ListResult::NoSuchEntry;
    const int removed = index_;
    const ListResult result = DeleteListEntry(path_, index_, shown);
    if (result == ListResult::EntryChanged) Reload();
    if (result != ListResult::Ok) return result;
    Reload();
    if (Count() > 0) {
        // One back and then on: the entry that followed the removed one.
        index_ = removed == 0 ? Count() - 1 : removed - 1;
        next = Next();
    }
    return ListResult::Ok;
}

// ---- sound ----------------------------------------------------------------------------

SoundStart ResolveSoundCommand(const std::string& listPath, const SoundCommand& sound) {
    SoundStart start;
    // A bare program name is found on the search path; one with a folder is a file.
    const bool hasFolder = sound.program.find_first_of("/\\") != std::string::npos;
    start.program = FromBytes(hasFolder ? ResolveListName(listPath, sound.program) : sound.program);
    if (!sound.argument.empty()) {
        const std::string file = ResolveListName(listPath, sound.argument);
        start.arguments << FromBytes(Exists(file) ? file : sound.argument);
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(listPath, ec).parent_path();
    start.workingDirectory = FromBytes(folder.string());
    return start;
}

std::string ListSoundStarter::Key(const std::string& listPath,
                                  const std::vector<SoundCommand>& sounds) {
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(listPath, ec).string();
    if (ec) key = listPath;
    for (const SoundCommand& s : sounds) {
        key += '\0';
        key += s.program;
        key += '\0';
        key += s.argument;
    }
    return key;
}

bool ListSoundStarter::Agreed(const std::string& listPath,
                              const std::vector<SoundCommand>& sounds) const {
    return agreed_.count(Key(listPath, sounds)) > 0;
}

int ListSoundStarter::Start(const std::string& listPath, const std::vector<SoundCommand>& sounds) {
    if (sounds.empty() || !start_) return 0;
    std::vector<SoundStart> starts;
    for (const SoundCommand& s : sounds) starts.push_back(ResolveSoundCommand(listPath, s));
    if (!Agreed(listPath, sounds)) {
        if (!ask_ || !ask_(FromBytes(listPath), starts)) return 0;
        agreed_.insert(Key(listPath, sounds));
    }
    int started = 0;
    for (const SoundStart& s : starts) started += start_(s) ? 1 : 0;
    return started;
}

ListSoundStarter::AskFn ListSoundStarter::AskWith(ConfirmPolicy confirm) {
    return [confirm = std::move(confirm)](const QString& listPath,
                                          const std::vector<SoundStart>& starts) {
        QStringList lines;
        for (const SoundStart& s : starts)
            lines << (QStringList{s.program} + s.arguments).join(QLatin1Char(' '));
        const QString text =
            Tr("Die Slide Show Liste\n%1\nmöchte für den Hintergrundton starten:\n\n"
               "%2\n\nProgramm starten?")
                .arg(listPath, lines.join(QLatin1Char('\n')));
        return confirm.Confirms(
            {text.toStdString(), LoadResString(StringId::WarningCaption), QuestionKind::YesNo});
    };
}

ListSoundStarter::StartFn ListSoundStarter::StartDetached() {
    return [](const SoundStart& s) {
        return QProcess::startDetached(s.program, s.arguments, s.workingDirectory);
    };
}

// ---- list maker -----------------------------------------------------------------------

ListMakerResult MakeListEntries(std::vector<std::string> picked, int sourceLayout,
                                const std::string& rightFolder, int interval, bool swap) {
    ListMakerResult result;
    std::stable_sort(picked.begin(), picked.end(), [](const std::string& a, const std::string& b) {
        return FromBytes(a).compare(FromBytes(b), Qt::CaseInsensitive) < 0;
    });
    const bool separate = sourceLayout == 4;
    const int layout = sourceLayout >= 0 && sourceLayout <= 3 ? sourceLayout : 0;
    if (separate && rightFolder.empty() && picked.size() % 2 != 0) {
        result.errorText = StringId::ListUnpairedCount;
        return result;
    }
    ListEntry e;
    e.time = std::clamp(interval, 0, kMaxEntryTime);
    e.swap = swap;
    for (std::size_t i = 0; i < picked.size(); ++i) {
        e.left = picked[i];
        e.right.clear();
        if (!separate) {
            e.type = layout + 11;
        } else {
            e.type = kPairEntryType;
            if (rightFolder.empty()) {
                e.right = picked[++i];
            } else {
                e.right = (std::filesystem::path(rightFolder) /
                           std::filesystem::path(picked[i]).filename())
                              .string();
                if (!Exists(e.right)) {
                    result.missingPairs.push_back(picked[i]);
                    continue;
                }
            }
        }
        result.entries.push_back(e);
    }
    return result;
}

}  // namespace duplora
