#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// The device that files under a mount point are on, as stat reports it (a btrfs subvolume has one of
// its own, which the mount table does not show); nothing when it cannot be read.
using DeviceOf = std::function<std::optional<std::uint64_t>(const std::string& mountPoint)>;

// The drives of a Linux mount table (the text of /proc/self/mountinfo): "/" first, then in the
// table's order every mount of a block device, a network file system, a ZFS dataset, an encrypted
// home or a container root; never a pseudo file system, nor anything under /proc, /sys, /dev or
// /run (but for the removable drives under /run/media). A mount is left out when a later one on its
// folder lies over it, when its line names no absolute folder, and when another one of the same
// device already covers its folder: a second mount of one subvolume, a bind mount of a folder
// inside another drive. Each root ends with "/".
std::vector<std::string> DrivesFromMountInfo(std::string_view mountInfo, const DeviceOf& deviceOf);

// The mount point of the table that holds `path` (an absolute path): the longest one in sight that
// the path lies in, ending with "/"; "/" when none does.
std::string DriveOfPath(std::string_view mountInfo, std::string_view path);

// The mount points in sight inside `root` (not `root` itself), each ending with "/", whose files are
// on another device than those under `root`, or on one that cannot be read. A second mount of a
// folder of root's own device (a bind mount) is not among them: it is root's drive reached twice.
std::vector<std::string> OtherDrivesWithin(std::string_view mountInfo, std::string_view root,
                                           const DeviceOf& deviceOf);

// The mount points that an fstab text declares, in its order: field 2 of every line but comments,
// with its octal escapes undone. Swap and anything else that names no absolute folder is left out.
// Spelt as the mount table spells them: "/" alone, or without a trailing "/".
std::vector<std::string> MountPointsFromFstab(std::string_view fstab);

// Whether `path` (an absolute path) belongs to a drive that `fstab` declares and that is not
// mounted now: the deepest mount point that holds it, of both tables, is a declared one with
// nothing in sight on it but the trigger of a systemd automount.
bool OnAbsentDrive(std::string_view fstab, std::string_view mountInfo, std::string_view path);

// The same by this system's /etc/fstab and the mount table of the program's own mount namespace.
bool OnAbsentDrive(std::string_view path);

} // namespace zelvano
