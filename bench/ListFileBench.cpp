// Loading and saving a 500,000-record list file, ours against the plain reference.
//   list_bench [benchmark options]        timings
//   list_bench --memory zelvano|reference resident memory of one loaded table
#include "NullWindow.h"
#include "ReferenceList.h"
#include "SyntheticList.h"
#include "picturelist/ListSteps.h"
#include "platform/posix/PosixOs.h"
#include "state/Context.h"
#include "viewing/Selection.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace zelvano::bench {
namespace {

constexpr std::size_t kRecords = 500000;

class BenchOs : public PosixOs {
public:
    explicit BenchOs(std::string folder) : folder_(std::move(folder)) {}
    std::string executableFolder() override { return folder_; }

private:
    std::string folder_;
};

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelvano-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        std::ofstream(pattern + "/Zelvanojpg.log", std::ios::binary) << SyntheticListText(kRecords);
        return pattern;
    }();
    return folder;
}

std::string ListPath() {
    return Folder() + "/Zelvanojpg.log";
}

struct Program {
    BenchOs os{Folder()};
    NullWindow win;
    Context c = [this] {
        Context context{AppState{}, os, win, &List1_Click};
        context.state.PicType = "jpg";
        return context;
    }();
};

void BM_Load_Zelvano(benchmark::State& state) {
    Program p;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        p.win.listClear();
        HentListe(p.c);
        benchmark::DoNotOptimize(p.c.state.PicCount());
    }
    state.counters["records"] = p.c.state.PicCount();
}

void BM_Load_Reference(benchmark::State& state) {
    std::size_t n = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        const ReferenceTable table = ReferenceLoad(ListPath());
        n = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["records"] = static_cast<double>(n);
}

void BM_Save_Zelvano(benchmark::State& state) {
    Program p;
    HentListe(p.c);
    p.os.executableFolder(); // saving goes to a copy beside the original
    BenchOs out(Folder() + "/out");
    std::filesystem::create_directories(Folder() + "/out");
    Context c{std::move(p.c.state), out, p.win};
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        benchmark::DoNotOptimize(SaveList(c).ok());
    }
}

void BM_Save_Reference(benchmark::State& state) {
    const ReferenceTable table = ReferenceLoad(ListPath());
    std::filesystem::create_directories(Folder() + "/out");
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        ReferenceSave(Folder() + "/out/reference.log", table);
    }
}

// Taking one row out of a full table: the records after it move up.
void BM_EraseFirstRow(benchmark::State& state) {
    Program p;
    HentListe(p.c);
    PicTable& table = p.c.state.PicList;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        table.erase(0);
    }
    state.counters["records"] = static_cast<double>(table.count());
}

// What Delete does once the picture is gone: the row out of the table, the list file rewritten
// and read back, the page filled again.
void BM_RemoveRow(benchmark::State& state) {
    Program p;
    HentListe(p.c);
    std::filesystem::create_directories(Folder() + "/out");
    BenchOs out(Folder() + "/out");
    Context c{std::move(p.c.state), out, p.win};
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        RemoveRow(c, 0);
    }
    state.counters["records"] = c.state.PicCount();
}

// Copy's record added to a full list: written whole beside it and put in its place, against the
// plain append in place that a failure could leave half done.
std::string AppendTarget() {
    const std::string path = Folder() + "/out/Zelvanojpg.log";
    std::filesystem::create_directories(Folder() + "/out");
    std::filesystem::copy_file(ListPath(), path, std::filesystem::copy_options::overwrite_existing);
    return path;
}

void BM_Append_Zelvano(benchmark::State& state) {
    BenchOs os(Folder() + "/out");
    const std::string path = AppendTarget();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        benchmark::DoNotOptimize(os.appendToFile(path, "/backup/\r\ncopy.jpg\r\n").ok());
    }
}

void BM_Append_InPlace(benchmark::State& state) {
    const std::string path = AppendTarget();
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        std::ofstream(path, std::ios::binary | std::ios::app) << "/backup/\r\ncopy.jpg\r\n";
    }
}

// All of Copy's list work: the record added, and the list read back.
void BM_AppendRecord(benchmark::State& state) {
    AppendTarget();
    BenchOs out(Folder() + "/out");
    NullWindow win;
    Context c{AppState{}, out, win};
    c.state.PicType = "jpg";
    HentListe(c);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        AppendRecord(c, "/backup/", "copy.jpg");
    }
    state.counters["records"] = c.state.PicCount();
}

BENCHMARK(BM_Load_Zelvano)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_Zelvano)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Save_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EraseFirstRow)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RemoveRow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Append_Zelvano)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Append_InPlace)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AppendRecord)->Unit(benchmark::kMillisecond)->UseRealTime();

long ResidentKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
        }
    }
    return -1;
}

int MeasureMemory(const std::string& which) {
    ListPath(); // made before the baseline is read
    const long before = ResidentKiB("VmRSS:");
    std::size_t records = 0;
    Program p;
    ReferenceTable reference;
    if (which == "reference") {
        reference = ReferenceLoad(ListPath());
        records = reference.size();
    } else {
        HentListe(p.c);
        records = static_cast<std::size_t>(p.c.state.PicCount());
    }
    const long after = ResidentKiB("VmRSS:");
    std::printf("%s: %zu records, table resident %.1f MB, peak of the process %.1f MB\n", which.c_str(),
                records, static_cast<double>(after - before) / 1024.0,
                static_cast<double>(ResidentKiB("VmHWM:")) / 1024.0);
    return 0;
}

} // namespace
} // namespace zelvano::bench

int main(int argc, char** argv) {
    int status = 0;
    if (argc == 3 && std::strcmp(argv[1], "--memory") == 0) {
        status = zelvano::bench::MeasureMemory(argv[2]);
    } else {
        benchmark::Initialize(&argc, argv);
        std::printf("list file: %s, %.1f MB\n", zelvano::bench::ListPath().c_str(),
                    static_cast<double>(std::filesystem::file_size(zelvano::bench::ListPath())) / 1e6);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    std::filesystem::remove_all(zelvano::bench::Folder());
    return status;
}
