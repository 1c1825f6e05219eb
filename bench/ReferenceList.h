#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zelvano::bench {

// The plain way to keep a list file, to measure ours against: pairs of strings,
// read with ifstream and getline, written with ofstream <<.
using ReferenceTable = std::vector<std::pair<std::string, std::string>>;

ReferenceTable ReferenceLoad(const std::string& path);
void ReferenceSave(const std::string& path, const ReferenceTable& table);

} // namespace zelvano::bench
