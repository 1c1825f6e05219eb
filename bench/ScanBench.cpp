// The scan's search on a tree given on the command line. Without THREADS it keeps as many listings
// in flight as the scan command does.
//   scan_bench DIR [TYPE] [THREADS]          prints the number of pictures and the time taken
//   scan_bench --list DIR [TYPE] [THREADS]   prints the records as the list file holds them
#include "picturelist/ListFile.h"
#include "platform/posix/PosixOs.h"
#include "scan/FindFiles.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    const int first = list ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: scan_bench [--list] DIR [TYPE] [THREADS]\n");
        return 2;
    }
    std::string path = argv[first];
    const std::string type = argc > first + 1 ? argv[first + 1] : "jpg";
    const unsigned threads =
        argc > first + 2 ? static_cast<unsigned>(std::stoul(argv[first + 2])) : zelvano::kListingsInFlight;

    zelvano::PosixOs os;
    zelvano::PicTable found;
    zelvano::ScanProgress progress;
    zelvano::SearchJob job{os, found, progress, threads};
    std::int32_t files = 0;
    std::int16_t folders = 0;
    const auto start = std::chrono::steady_clock::now();
    zelvano::FindFilesAPI(job, path, "*." + type, files, folders);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (list) {
        zelvano::WriteList(found, [](std::string_view piece) {
            std::cout.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        return 0;
    }
    std::printf("%zu pictures, %llu folders searched, %.1f ms on %u thread(s)\n", found.count(),
                static_cast<unsigned long long>(progress.folders.load()), took.count(), threads);
    return 0;
}
