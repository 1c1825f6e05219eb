// Any bytes as the Linux mount table: the drives are "/" first, then absolute folders, each once.
// And as /etc/fstab: the declared folders are absolute and spelt as the mount table spells them, so
// that a file in one is on an absent drive until that folder is mounted, and then no longer.
#include "FuzzCheck.h"
#include "platform/posix/MountTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <functional>
#include <set>

namespace {

// A mount table line for `point`, escaped as the kernel escapes it.
std::string MountedOn(const std::string& point) {
    std::string escaped;
    for (const char c : point) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0 || c == '\\') {
            std::array<char, 5> code{};
            std::snprintf(code.data(), code.size(), "\\%03o", static_cast<unsigned char>(c));
            escaped += code.data();
        } else {
            escaped += c;
        }
    }
    return "1 1 8:1 / " + escaped + " rw - ext4 /dev/sdz1 rw\n";
}

void CheckMountInfo(std::string_view text) {
    using namespace zelvano;
    // A subvolume's device comes from its folder's name; some cannot be read.
    const DeviceOf deviceOf = [](const std::string& point) {
        const std::size_t hash = std::hash<std::string>{}(point);
        return hash % 5 == 4 ? std::nullopt : std::optional<std::uint64_t>(hash % 4);
    };
    const std::vector<std::string> drives = DrivesFromMountInfo(text, deviceOf);
    FUZZ_CHECK(!drives.empty() && drives.front() == "/");
    FUZZ_CHECK(std::all_of(drives.begin(), drives.end(), [](const std::string& d) {
        return d.front() == '/' && d.back() == '/' && d.find('\0') == std::string::npos;
    }));
    FUZZ_CHECK(std::set<std::string>(drives.begin(), drives.end()).size() == drives.size());
}

void CheckFstab(std::string_view text) {
    using namespace zelvano;
    const std::vector<std::string> points = MountPointsFromFstab(text);
    FUZZ_CHECK(std::all_of(points.begin(), points.end(), [](const std::string& p) {
        return p.front() == '/' && (p == "/" || p.back() != '/') && p.find('\0') == std::string::npos;
    }));
    std::string mounted;
    for (const std::string& point : points) {
        mounted += MountedOn(point);
    }
    // A few of them: each check reads both texts again.
    for (std::size_t i = 0; i < std::min<std::size_t>(points.size(), 8); ++i) {
        FUZZ_CHECK(OnAbsentDrive(text, "", points[i] + "/a.jpg") == (points[i] != "/"));
        FUZZ_CHECK(!OnAbsentDrive(text, mounted, points[i] + "/a.jpg"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckMountInfo(text);
    CheckFstab(text);
    return 0;
}
