// Slide-show lists of arbitrary bytes. Reading must keep every entry's line where it was
// found; an entry that can be stored must read back the same; a rewrite or a deletion must
// change the one line and nothing else; an append must add only at the end; and no
// temporary file may stay behind.
#include <string>

#include "core/batch/list_file.h"
#include "fuzz_support.h"

using namespace duplora;

namespace {

std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = fuzz::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteText(const std::string& path, const std::string& text) {
    return fuzz::WriteFile(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ListFile list = ParseListText(text);
    fuzz::Check(list.text == text);
    fuzz::Check(list.entries.size() <= static_cast<std::size_t>(kMaxListEntries));
    fuzz::Check(list.entryLines.size() == list.entries.size());
    fuzz::Check(list.comments.size() == list.entries.size());
    fuzz::Check(list.sounds.size() <= kMaxSoundLines);

    std::size_t previous = 0;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const ListLineSpan s = list.entryLines[i];
        fuzz::Check(previous <= s.begin && s.begin <= s.end && s.end <= s.next &&
                    s.next <= text.size());
        previous = s.next;
        const std::string_view line = std::string_view(text).substr(s.begin, s.end - s.begin);
        fuzz::Check(line.find('\n') == std::string_view::npos);
        ListEntry again;
        fuzz::Check(ParseListEntry(line, again) && again == list.entries[i]);
        fuzz::Check(list.comments[i].size() <= kMaxCommentLength);
        const ListEntry& e = list.entries[i];
        fuzz::Check(e.time >= 0 && e.time <= kMaxEntryTime);
        fuzz::Check(e.x >= -kMaxEntryOffset && e.x <= kMaxEntryOffset);
        fuzz::Check(e.y >= -kMaxEntryOffset && e.y <= kMaxEntryOffset);
        if (ListEntryStorable(e)) {
            fuzz::Check(ParseListEntry(FormatListEntry(e), again) && again == e);
        }
        (void)ResolveListName(scratch.File("list.txt"), e.left);
    }
    for (const SoundCommand& sound : list.sounds) fuzz::Check(!sound.program.empty());

    // The same bytes as a file: rewrite, delete and append.
    const std::string path = scratch.File("list.txt");
    if (!WriteText(path, text)) return 0;
    ListFile opened;
    fuzz::Check(OpenList(path, opened) == ListResult::Ok && opened.entries == list.entries);

    const ListEntry replacement{21, 5, true, -4, 7, "/l.jpg", "/r.jpg"};
    const std::string line = FormatListEntry(replacement);
    if (!list.entries.empty()) {
        const std::size_t index = size % list.entries.size();
        const ListLineSpan s = list.entryLines[index];
        fuzz::Check(RewriteListEntry(path, static_cast<int>(index), replacement,
                                     &list.entries[index]) == ListResult::Ok);
        std::string expected = text;
        expected.replace(s.begin, s.end - s.begin, line);
        fuzz::Check(ReadText(path) == expected);

        WriteText(path, text);
        fuzz::Check(DeleteListEntry(path, static_cast<int>(index)) == ListResult::Ok);
        expected = text;
        expected.erase(s.begin, s.next - s.begin);
        fuzz::Check(ReadText(path) == expected);
        WriteText(path, text);
    }
    fuzz::Check(RewriteListEntry(path, static_cast<int>(list.entries.size()), replacement) ==
                ListResult::NoSuchEntry);

    const ListResult appended = AppendListEntry(path, replacement);
    const std::string after = ReadText(path);
    if (list.entries.size() + list.entriesBeyondLimit >=
        static_cast<std::size_t>(kMaxListEntries)) {
        fuzz::Check(appended == ListResult::ListFull && after == text);
    } else {
        fuzz::Check(appended == ListResult::Ok);
        fuzz::Check(after.size() > text.size() && after.compare(0, text.size(), text) == 0);
        ListFile grown = ParseListText(after);
        fuzz::Check(grown.entries.size() == list.entries.size() + 1 &&
                    grown.entries.back() == replacement);
    }
    fuzz::Check(scratch.Count() == 1);
    return 0;
}
