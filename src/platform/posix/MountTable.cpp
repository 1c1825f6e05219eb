#include "platform/posix/MountTable.h"

#include <algorithm>
#include <array>
#include <set>
#include <sstream>

namespace zelvano {

namespace {

struct Mount {
    std::string device; // major:minor
    std::string point;
    std::string type;
    std::string source;
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

bool ParseLine(const std::string& line, Mount& m) {
    std::istringstream in(line);
    std::string id, parent, root, options, field;
    if (!(in >> id >> parent >> m.device >> root >> m.point >> options)) {
        return false;
    }
    while (in >> field && field != "-") { // optional fields end at "-"
    }
    if (!(in >> m.type >> m.source)) {
        return false;
    }
    m.point = Unescape(m.point);
    m.source = Unescape(m.source);
    return true;
}

bool Under(const std::string& point, std::string_view top) {
    return point == top ||
           (point.size() > top.size() && point.compare(0, top.size(), top) == 0 && point[top.size()] == '/');
}

bool HoldsFiles(const Mount& m) {
    static const std::set<std::string, std::less<>> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "tmpfs", "ramfs", "squashfs", "autofs"};
    static const std::set<std::string, std::less<>> network = {"nfs", "nfs4",    "cifs",    "smb3", "smbfs",
                                                               "9p",  "fuseblk", "overlay", "aufs"};
    if (pseudo.count(m.type) != 0) {
        return false;
    }
    for (const std::string_view top : {"/proc", "/sys", "/dev", "/run"}) {
        if (Under(m.point, top)) {
            return false;
        }
    }
    return network.count(m.type) != 0 || m.type.rfind("fuse.", 0) == 0 || m.source.rfind("/dev/", 0) == 0;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

} // namespace

std::vector<std::string> DrivesFromMountInfo(std::string_view mountInfo) {
    std::vector<std::string> drives = {"/"};
    std::set<std::string> devices;
    std::vector<Mount> mounts;
    std::istringstream in{std::string(mountInfo)};
    std::string line;
    while (std::getline(in, line)) {
        Mount m;
        if (ParseLine(line, m)) {
            mounts.push_back(std::move(m));
        }
    }
    // The root's device counts as seen, so that a second mount of it is not searched again.
    for (const Mount& m : mounts) {
        if (m.point == "/") {
            devices.insert(m.device);
        }
    }
    for (const Mount& m : mounts) {
        if (m.point != "/" && HoldsFiles(m) && devices.insert(m.device).second) {
            drives.push_back(WithSlash(m.point));
        }
    }
    return drives;
}

} // namespace zelvano
