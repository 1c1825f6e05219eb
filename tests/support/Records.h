#pragma once

#include "state/PicTable.h"

#include <string>
#include <utility>
#include <vector>

namespace zelvano::test {

// Records as (folder, name) pairs, and those of a table in its order.
using Records = std::vector<std::pair<std::string, std::string>>;

inline Records Rows(const PicTable& table) {
    Records out;
    for (std::size_t row = 0; row < table.count(); ++row) {
        out.emplace_back(table.folder(row), table.name(row));
    }
    return out;
}

} // namespace zelvano::test
