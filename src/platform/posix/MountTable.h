#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// The drives of a Linux mount table (the text of /proc/self/mountinfo): "/" first, then in the
// table's order every mount of a block device, a network file system or a container root, the
// first mount of each device only; never a pseudo file system, nor anything under /proc, /sys,
// /dev or /run. Each root ends with "/".
std::vector<std::string> DrivesFromMountInfo(std::string_view mountInfo);

} // namespace zelvano
