#include "ReferenceList.h"

#include <fstream>

namespace zelvano::bench {

namespace {

void StripCr(std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

} // namespace

ReferenceTable ReferenceLoad(const std::string& path) {
    ReferenceTable table;
    std::ifstream in(path, std::ios::binary);
    std::string folder;
    std::string name;
    while (std::getline(in, folder) && std::getline(in, name)) {
        StripCr(folder);
        StripCr(name);
        table.emplace_back(folder, name);
    }
    return table;
}

void ReferenceSave(const std::string& path, const ReferenceTable& table) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& [folder, name] : table) {
        out << folder << "\r\n" << name << "\r\n";
    }
}

} // namespace zelvano::bench
