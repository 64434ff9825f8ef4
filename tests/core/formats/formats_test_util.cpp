#include "formats_test_util.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace duplora::test {

ScratchDir::ScratchDir() {
    std::string pattern = std::filesystem::temp_directory_path() / "duplora-formats-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
}

ScratchDir::~ScratchDir() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

LockedFolder::LockedFolder(const std::string& path) : path_(path) {
    ::chmod(path.c_str(), 0555);
    const std::string probe = path + "/.probe";
    const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0600);
    if ((locked_ = fd < 0)) return;
    ::close(fd);
    ::unlink(probe.c_str());
    immutable_ = locked_ = SetImmutable(path, true);
}

LockedFolder::~LockedFolder() {
    if (immutable_) SetImmutable(path_, false);
    ::chmod(path_.c_str(), 0755);
}

bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    const bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                    (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL,
                     ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    ::close(fd);
    return ok;
}

bool HaveTool(const std::string& tool) {
    return RunQuiet("command -v " + tool);
}

bool RunQuiet(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Capture(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

Bytes CaptureBytes(const std::string& command) {
    const std::string s = Capture(command + "; printf x");
    return Bytes(s.begin(), s.end() - (s.empty() ? 0 : 1));
}

std::string Quote(const std::string& path) {
    std::string out = "'";
    for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::uint32_t Le(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

void PutLe(Bytes& b, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::int64_t ModifyTime(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    return std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
}

void SetOldTimes(const std::string& path) {
    const timespec times[2] = {{1000000000, 123456789}, {1100000000, 987654321}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

ImageBuffer ReadPnm(const std::string& path) {
    const Bytes bytes = ReadAll(path);
    const std::string head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 64));
    char magic[3] = {};
    int width = 0, height = 0, maxval = 0, at = 0;
    if (std::sscanf(head.c_str(), "%2s %d %d %d%n", magic, &width, &height, &maxval, &at) != 4)
        return {};
    const int channels = magic == std::string("P6") ? 3 : magic == std::string("P5") ? 1 : 0;
    const std::size_t pos = static_cast<std::size_t>(at) + 1;  // one whitespace byte
    if (!channels || maxval != 255 || width <= 0 || height <= 0 ||
        bytes.size() < pos + std::size_t(width) * height * channels)
        return {};
    const std::uint8_t* s = bytes.data() + pos;
    return MakeImage(width, height, [&](int x, int y) {
        const std::uint8_t* p = s + (std::size_t(y) * width + x) * channels;
        return channels == 3 ? std::uint32_t(p[0] << 16 | p[1] << 8 | p[2]) : p[0] * 0x010101u;
    });
}

bool WritePpm(const ImageBuffer& image, const std::string& path) {
    if (!image || image.BitCount() != 24) return false;
    std::string out =
        "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t c = PixelAt(image, x, y);
            out += {char(c >> 16), char(c >> 8), char(c)};
        }
    return WriteAll(path, Text(out));
}

ImageBuffer ReadWithImageMagick(const std::string& path, const std::string& scratchPpm) {
    if (!RunQuiet("convert " + Quote(path) + " -depth 8 ppm:" + Quote(scratchPpm))) return {};
    return ReadPnm(scratchPpm);
}

int MaxDifference(const ImageBuffer& a, const ImageBuffer& b) {
    if (!a || !b || a.Width() != b.Width() || a.Height() != b.Height() || a.BitCount() != 24 ||
        b.BitCount() != 24)
        return 256;
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int i = 0; i < a.Width() * 3; ++i)
            worst = std::max(worst, std::abs(a.Line(y)[i] - b.Line(y)[i]));
    return worst;
}

ImageBuffer MakeGradient(int width, int height) {
    return MakeImage(width, height, [&](int x, int y) {
        return std::uint32_t(x * 255 / std::max(1, width - 1)) << 16 |
               std::uint32_t(y * 255 / std::max(1, height - 1)) << 8 |
               std::uint32_t((x + y) * 255 / std::max(1, width + height - 2));
    });
}

ImageBuffer ExpandForTest(const ImageBuffer& indexed) {
    const std::uint8_t* table = indexed.ColourTable();
    return MakeImage(indexed.Width(), indexed.Height(), [&](int x, int y) {
        const std::uint8_t* e = table + 4 * IndexAt(indexed, x, y);
        return static_cast<std::uint32_t>(e[0] | (e[1] << 8) | (e[2] << 16));
    });
}

::testing::AssertionResult RisingProgress(const std::function<bool(const Progress&)>& action,
                                          ProgressDirection direction, int minCalls) {
    std::vector<std::pair<ProgressDirection, int>> seen;
    const Progress watched([&](ProgressDirection d, int p) { seen.emplace_back(d, p); });
    if (!action(watched)) return ::testing::AssertionFailure() << "the action failed";
    const std::atomic<bool> stop{true};
    if (action(Progress({}, &stop)))
        return ::testing::AssertionFailure() << "the action ran to its end although cancelled";
    auto failure = ::testing::AssertionFailure() << seen.size() << " calls:";
    for (const auto& [d, p] : seen)
        failure << " " << (d == ProgressDirection::Writing ? "w" : "r") << p;
    if (static_cast<int>(seen.size()) < minCalls || seen.empty() || seen.front().second != 0 ||
        seen.back().second <= 90)
        return failure;
    for (std::size_t i = 0; i < seen.size(); ++i)
        if (seen[i].first != direction || (i > 0 && seen[i].second <= seen[i - 1].second))
            return failure;
    return ::testing::AssertionSuccess();
}

bool MakeJpeg(const std::string& path, const std::string& size) {
    return HaveTool("convert") &&
           RunQuiet("convert -size " + size + " gradient:red-blue " + Quote(path)) &&
           std::filesystem::exists(path);
}

Bytes EntropyData(const Bytes& file) {
    for (std::size_t p = 2; p + 4 <= file.size() && file[p] == 0xFF;) {
        if (file[p + 1] == 0xFF && ++p) continue;  // a fill byte
        const int marker = file[p + 1];
        p += 2 + ((file[p + 2] << 8) | file[p + 3]);
        if (marker == 0xDA) return p <= file.size() ? Bytes(file.begin() + p, file.end()) : Bytes{};
    }
    return {};
}

Bytes Segment(std::uint8_t marker, const Bytes& payload) {
    Bytes s(payload.size() + 4);
    s[0] = 0xFF, s[1] = marker;
    s[2] = std::uint8_t((payload.size() + 2) >> 8), s[3] = std::uint8_t(payload.size() + 2);
    std::copy(payload.begin(), payload.end(), s.begin() + 4);
    return s;
}

}  // namespace duplora::test
