// The scan's search on folders given on the command line, all searched at once as the scan searches
// drives. Without -j it keeps as many listings in flight on each as the scan command does.
//   scan_bench [-j THREADS] DIR... TYPE          prints the number of pictures and the time taken
//   scan_bench --list [-j THREADS] DIR... TYPE   prints the records as the list file holds them
#include "picturelist/ListFile.h"
#include "platform/posix/PosixOs.h"
#include "scan/NamePattern.h"
#include "scan/TreeWalk.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    const bool list = !words.empty() && words.front() == "--list";
    if (list) {
        words.erase(words.begin());
    }
    unsigned threads = zelvano::kListingsInFlight;
    if (words.size() > 1 && words.front() == "-j") {
        threads = static_cast<unsigned>(std::stoul(words[1]));
        words.erase(words.begin(), words.begin() + 2);
    }
    if (words.size() < 2) {
        std::fprintf(stderr, "usage: scan_bench [--list] [-j THREADS] DIR... TYPE\n");
        return 2;
    }
    const zelvano::NamePattern pattern("*." + words.back());
    words.pop_back();
    for (std::string& root : words) {
        if (root.back() != '/') {
            root += '/';
        }
    }

    zelvano::PosixOs os;
    zelvano::PicTable found;
    zelvano::ScanProgress progress;
    zelvano::TreeWalk walk(os, pattern, progress, threads);
    bool full = false;
    const auto start = std::chrono::steady_clock::now();
    walk.run(words, found, full);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (list) {
        zelvano::WriteList(found, [](std::string_view piece) {
            std::cout.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        return 0;
    }
    std::printf("%zu pictures, %llu folders searched on %zu drive(s), %.1f ms with %u listing(s) in flight "
                "on each\n",
                found.count(), static_cast<unsigned long long>(progress.folders.load()), words.size(),
                took.count(), threads);
    return 0;
}
