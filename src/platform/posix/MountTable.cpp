#include "platform/posix/MountTable.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/sysmacros.h>

namespace zelvano {

namespace {

struct Mount {
    std::string root; // the folder of its file system that the mount shows
    std::string point;
    std::string type;
    std::string source;
    std::string majorMinor;   // the file system's device, as the table gives it
    std::uint64_t device = 0; // of the files under its point
};

// Mount points escape space, tab, newline and backslash as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// One spelling of each folder, so that the two tables' points compare: "/mnt//usb/" is "/mnt/usb".
std::string FolderSpelling(const std::string& point) {
    std::string folder = std::filesystem::path(point).lexically_normal().string();
    // The normal form leaves a path of slashes alone ("///"), which is the root all the same.
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

// A folder to search is a whole absolute path; a NUL would cut it short where it is opened.
bool IsFolderPath(const std::string& point) {
    return point.starts_with('/') && point.find('\0') == std::string::npos;
}

bool ParseLine(const std::string& line, Mount& m) {
    std::istringstream in(line);
    std::string id, parent, options, field;
    if (!(in >> id >> parent >> m.majorMinor >> m.root >> m.point >> options)) {
        return false;
    }
    while (in >> field && field != "-") { // optional fields end at "-"
    }
    if (!(in >> m.type >> m.source)) {
        return false;
    }
    m.root = Unescape(m.root);
    m.point = FolderSpelling(Unescape(m.point));
    m.source = Unescape(m.source);
    return IsFolderPath(m.point);
}

bool Under(const std::string& point, std::string_view top) {
    return point == top ||
           (point.size() > top.size() && point.compare(0, top.size(), top) == 0 && point[top.size()] == '/');
}

bool HoldsFiles(const Mount& m) {
    static const std::set<std::string, std::less<>> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "tmpfs", "ramfs", "squashfs", "autofs"};
    // File systems that hold files though their source is no device: network shares, ZFS datasets,
    // encrypted homes, container roots.
    static const std::set<std::string, std::less<>> sourceless = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "fuseblk", "zfs", "ecryptfs", "overlay", "aufs"};
    if (pseudo.count(m.type) != 0) {
        return false;
    }
    for (const std::string_view top : {"/proc", "/sys", "/dev", "/run"}) {
        if (Under(m.point, top) && !Under(m.point, "/run/media")) {
            return false;
        }
    }
    return sourceless.count(m.type) != 0 || m.type.rfind("fuse.", 0) == 0 || m.source.rfind("/dev/", 0) == 0;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

// Whether a mount showing `outer` of a file system shows `inner` too.
bool Covers(const Mount& outer, const Mount& inner) {
    return outer.device == inner.device && (outer.root == "/" || Under(inner.root, outer.root));
}

// The device of the files under a mount point. The table tells it, without a word to the drive, so
// that a network drive that has stopped answering cannot hold the listing. Only a btrfs subvolume
// (or a bcachefs one) has a device of its own that the table does not show; those are local disks,
// asked with `deviceOf`.
std::optional<std::uint64_t> DeviceOfMount(const Mount& m, const DeviceOf& deviceOf) {
    if (m.type == "btrfs" || m.type == "bcachefs") {
        return deviceOf(m.point);
    }
    unsigned major = 0;
    unsigned minor = 0;
    char colon = 0;
    std::istringstream in(m.majorMinor);
    if (!(in >> major >> colon >> minor) || colon != ':') {
        return std::nullopt;
    }
    return makedev(major, minor);
}

} // namespace

namespace {

// The mounts of the table that are in sight, in the table's order: a mount lies over those on its
// folder before it in the table.
std::vector<Mount> InSight(std::string_view mountInfo) {
    std::vector<Mount> table;
    std::istringstream in{std::string(mountInfo)};
    std::string line;
    while (std::getline(in, line)) {
        if (Mount m; ParseLine(line, m)) {
            table.push_back(std::move(m));
        }
    }
    std::vector<Mount> mounts;
    std::set<std::string, std::less<>> seen;
    for (auto m = table.rbegin(); m != table.rend(); ++m) {
        if (seen.insert(m->point).second) {
            mounts.push_back(std::move(*m));
        }
    }
    std::reverse(mounts.begin(), mounts.end());
    return mounts;
}

} // namespace

std::string DriveOfPath(std::string_view mountInfo, std::string_view path) {
    std::string drive = "/";
    for (const Mount& m : InSight(mountInfo)) {
        if (m.point.size() + 1 > drive.size() && Under(std::string(path), m.point)) {
            drive = WithSlash(m.point);
        }
    }
    return drive;
}

std::vector<std::string> OtherDrivesWithin(std::string_view mountInfo, std::string_view root,
                                           const DeviceOf& deviceOf) {
    const std::vector<Mount> mounts = InSight(mountInfo);
    const std::string top = WithSlash(std::string(root));
    std::optional<std::uint64_t> rootDevice;
    std::size_t longest = 0;
    for (const Mount& m : mounts) {
        if (const std::string point = WithSlash(m.point);
            top.compare(0, point.size(), point) == 0 && point.size() >= longest) {
            longest = point.size();
            rootDevice = DeviceOfMount(m, deviceOf);
        }
    }
    std::vector<std::string> others;
    for (const Mount& m : mounts) {
        const std::string point = WithSlash(m.point);
        if (point.size() > top.size() && point.compare(0, top.size(), top) == 0) {
            const auto device = DeviceOfMount(m, deviceOf);
            if (!device || !rootDevice || *device != *rootDevice) {
                others.push_back(point);
            }
        }
    }
    return others;
}

std::vector<std::string> DrivesFromMountInfo(std::string_view mountInfo, const DeviceOf& deviceOf) {
    std::vector<Mount> mounts;
    for (Mount& m : InSight(mountInfo)) {
        if (m.point == "/" || HoldsFiles(m)) {
            // A mount point that cannot be read cannot be searched either.
            if (const auto device = DeviceOfMount(m, deviceOf)) {
                m.device = *device;
                mounts.push_back(std::move(m));
            }
        }
    }
    // The root comes first, so that it covers what is mounted again elsewhere.
    std::stable_partition(mounts.begin(), mounts.end(), [](const Mount& m) { return m.point == "/"; });
    std::vector<std::string> drives = {"/"};
    for (const Mount& m : mounts) {
        const auto coveredBy = [&m](const Mount& other) {
            // Of two mounts of one folder, the first in the table's order is searched.
            return &other != &m && Covers(other, m) && (!Covers(m, other) || &other < &m);
        };
        if (std::none_of(mounts.begin(), mounts.end(), coveredBy) && m.point != "/") {
            drives.push_back(WithSlash(m.point));
        }
    }
    return drives;
}

std::vector<std::string> MountPointsFromFstab(std::string_view fstab) {
    std::vector<std::string> points;
    std::istringstream in{std::string(fstab)};
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string source;
        std::string point;
        if (fields >> source >> point && !source.starts_with('#')) {
            point = FolderSpelling(Unescape(point));
            if (IsFolderPath(point)) {
                points.push_back(std::move(point));
            }
        }
    }
    return points;
}

bool OnAbsentDrive(std::string_view fstab, std::string_view mountInfo, std::string_view path) {
    const std::string at(path);
    std::size_t mounted = 1; // the root is always there
    for (const Mount& m : InSight(mountInfo)) {
        // A systemd automount's trigger stays mounted while its drive is away.
        if (m.type != "autofs" && m.point.size() > mounted && Under(at, m.point)) {
            mounted = m.point.size();
        }
    }
    const std::vector<std::string> declared = MountPointsFromFstab(fstab);
    return std::any_of(declared.begin(), declared.end(),
                       [&](const std::string& point) { return point.size() > mounted && Under(at, point); });
}

namespace {

// The text of one of the system's tables; empty when it cannot be read.
std::string TableText(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

bool OnAbsentDrive(std::string_view path) {
    // Asked whenever a file is not found, at start-up for each list not written yet: the mount
    // table is read only when fstab declares a folder, other than the root, that holds the path.
    const std::string fstab = TableText("/etc/fstab");
    const std::vector<std::string> declared = MountPointsFromFstab(fstab);
    const std::string at(path);
    if (std::none_of(declared.begin(), declared.end(),
                     [&](const std::string& point) { return point != "/" && Under(at, point); })) {
        return false;
    }
    return OnAbsentDrive(fstab, TableText("/proc/self/mountinfo"), path);
}

} // namespace zelvano
