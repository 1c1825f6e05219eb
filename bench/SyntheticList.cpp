#include "SyntheticList.h"

#include <array>
#include <random>
#include <vector>

namespace zelvano::bench {

std::string SyntheticListText(std::size_t records) {
    std::mt19937 random(1234);
    const std::array<const char*, 5> folderKinds = {"%04d", "Event %d", "Holiday_%d", "album-%d", "DCIM%d"};
    const std::array<const char*, 4> nameKinds = {"IMG_%05d.JPG", "DSC_%05d.jpg", "pic%d.Jpg",
                                                  ".hidden%d.jpg"};

    // 20,000 folders, each inside an earlier one: depths of one to eight levels.
    std::vector<std::string> folders = {"/home/anna/Pictures/"};
    char buffer[64];
    for (int i = 1; i < 20000; ++i) {
        const std::string& parent = folders[random() % folders.size()];
        std::snprintf(buffer, sizeof buffer, folderKinds[random() % folderKinds.size()], i);
        folders.push_back(parent.size() < 48 ? parent + buffer + "/" : folders.front() + buffer + "/");
    }
    std::lognormal_distribution<double> weight(0.0, 1.2);
    std::vector<double> weights;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        weights.push_back(weight(random));
    }
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::vector<std::size_t> counts(folders.size());
    for (std::size_t i = 0; i < records; ++i) {
        ++counts[pick(random)];
    }
    std::string text;
    std::size_t k = 0;
    for (std::size_t f = 0; f < folders.size(); ++f) {
        for (std::size_t n = 0; n < counts[f]; ++n, ++k) {
            std::snprintf(buffer, sizeof buffer, nameKinds[random() % nameKinds.size()], static_cast<int>(k));
            text.append(folders[f]).append("\r\n").append(buffer).append("\r\n");
        }
    }
    return text;
}

} // namespace zelvano::bench
