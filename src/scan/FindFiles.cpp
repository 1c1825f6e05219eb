#include "scan/FindFiles.h"

#include <algorithm>
#include <limits>

namespace zelvano {

void FindFilesAPI(SearchJob& job, std::string& Path, const std::string& SearchStr, std::int32_t& FileCount,
                  std::int16_t& DirCount) {
    const char separator = job.os.separator();
    if (Path.empty() || Path.back() != separator) {
        Path += separator;
    }
    const NamePattern pattern(SearchStr);
    TreeWalk walk(job.os, pattern, job.progress, job.threads, job.silence);
    const TreeWalk::Result result = walk.run({Path}, job.found, job.tableFull).front();
    job.silent = result.silent;
    const auto clampAdd = [](auto& counter, std::uint64_t add) {
        using T = std::remove_reference_t<decltype(counter)>;
        const auto room = static_cast<std::uint64_t>(std::numeric_limits<T>::max() - counter);
        counter = static_cast<T>(counter + static_cast<T>(std::min(add, room)));
    };
    clampAdd(FileCount, result.files);
    clampAdd(DirCount, result.folders);
}

} // namespace zelvano
