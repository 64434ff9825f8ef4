// The DAS and IOS container reader on arbitrary bytes: the layout in both modes, the
// extraction, the restore and the alignment write. Entries must lie inside the file,
// extracted files must be exactly the entries' bytes, a restore must write only plain
// files into its folder, and the alignment write may change bytes 26–33 only.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "core/formats/das.h"
#include "fuzz_support.h"

using namespace duplora;

namespace {

int CountIn(const std::string& folder) {
    int n = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        fuzz::Check(it->is_regular_file());
        ++n;
    }
    return n;
}

void Empty(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove(entry.path(), ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Scratch scratch;
    static const std::string out = [] {
        const std::string folder = scratch.File("out");
        ::mkdir(folder.c_str(), 0700);
        return folder;
    }();
    const std::string path = scratch.File("in.das");
    if (!fuzz::WriteFile(path, data, size)) return 0;

    for (const bool preview : {false, true}) {
        DasLayout layout;
        const bool ok = ReadDasLayout(path, preview, layout);
        DasHeader header;
        const int extracted = ExtractDasJpegs(path, out, preview, &header);
        fuzz::Check(ok == (extracted == kDasExtracted));
        if (!ok) {
            fuzz::Check(CountIn(out) == 0);
            continue;
        }
        fuzz::Check(layout.count == (preview ? 1 : 4));
        for (int i = 0; i < layout.count; ++i) {
            const DasEntry& e = layout.entries[i];
            fuzz::Check(e.offset >= kDasHeaderSize + 4 && e.offset <= size &&
                        e.size <= size - e.offset);
            if (i > 0) {
                const DasEntry& before = layout.entries[i - 1];
                fuzz::Check(e.offset >= before.offset + before.size + 4);
            }
        }
        const int first = preview ? kDasLeftThumbnail : kDasLeftSource;
        const char* names[2] = {kDasLeftFileName, kDasRightFileName};
        for (int i = 0; i < (preview ? 1 : 2); ++i) {
            const DasEntry& e = layout.entries[first + i];
            const std::vector<std::uint8_t> bytes = fuzz::ReadFile(out + "/" + names[i]);
            fuzz::Check(bytes.size() == e.size &&
                        std::equal(bytes.begin(), bytes.end(), data + e.offset));
        }
        fuzz::Check(header.alignX == layout.header.alignX &&
                    header.leftName == layout.header.leftName);
        Empty(out);
    }

    // Restoring under a name that may equal the stored one: only plain files, only here.
    if (RestoreDasFiles(path, out + "/l.jpg", OverwritePolicy::Never()))
        fuzz::Check(CountIn(out) == 2);
    fuzz::Check(CountIn(out) <= 2);
    Empty(out);

    if (WriteDasAlignment(path, 0x12345678, -2)) {
        const std::vector<std::uint8_t> after = fuzz::ReadFile(path);
        fuzz::Check(after.size() == size && size >= kDasHeaderSize);
        for (std::size_t i = 0; i < size; ++i)
            if (i < kDasAlignmentAt || i >= kDasAlignmentAt + 8) fuzz::Check(after[i] == data[i]);
        fuzz::Check(after[26] == 0x78 && after[33] == 0xFF);
    }
    fuzz::Check(scratch.Count() == 2);
    return 0;
}
