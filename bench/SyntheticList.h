#pragma once

#include <cstddef>
#include <string>

namespace zelvano::bench {

// A list file's text with `records` realistic records: a photo archive of nested event folders
// under a home folder, few big folders and many small ones, camera-style file names.
std::string SyntheticListText(std::size_t records);

} // namespace zelvano::bench
