// Any bytes as the Linux mount table: the drives are "/" first, then absolute folders, each once.
#include "FuzzCheck.h"
#include "platform/posix/MountTable.h"

#include <algorithm>
#include <functional>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvano;
    // A subvolume's device comes from its folder's name; some cannot be read.
    const DeviceOf deviceOf = [](const std::string& point) {
        const std::size_t hash = std::hash<std::string>{}(point);
        return hash % 5 == 4 ? std::nullopt : std::optional<std::uint64_t>(hash % 4);
    };
    const std::vector<std::string> drives =
        DrivesFromMountInfo(std::string_view(reinterpret_cast<const char*>(data), size), deviceOf);
    FUZZ_CHECK(!drives.empty() && drives.front() == "/");
    FUZZ_CHECK(std::all_of(drives.begin(), drives.end(), [](const std::string& d) {
        return d.front() == '/' && d.back() == '/' && d.find('\0') == std::string::npos;
    }));
    FUZZ_CHECK(std::set<std::string>(drives.begin(), drives.end()).size() == drives.size());
    return 0;
}
