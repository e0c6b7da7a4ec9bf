// Times load, replaceText + save and the whole edit cycle on the demo file, and the
// floor of that work: one open, one read of the bytes load reads, one write of as
// many bytes as save writes, one close; and the floor of load and save as designed.
// Prints the ratios of the cycle to both.
// (Loops use KeepRunning: the range-for's unused variable is a dead store to analysers.)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "demo_file.h"
#include "strings_file.h"

namespace {

// The demo file in a scratch folder (under $TMPDIR, else /tmp), removed at exit.
std::string folder;
std::string demoPath;

void removeDemo() {
    std::remove(demoPath.c_str());
    rmdir(folder.c_str());
}

bool writeDemo() {
    const char* base = std::getenv("TMPDIR");
    folder = std::string(base && *base ? base : "/tmp") + "/yox-bench-XXXXXX";
    if (!mkdtemp(folder.data())) return false;
    demoPath = folder + "/Strings.dat";
    std::atexit(removeDemo);
    return writeFileBytes(demoPath, buildFile(demoContent()));
}

// Record 41 switches between its own text and a shorter one, so that every save
// moves the later strings and the tail, and the file stays a valid demo file.
const char* const TEXTS_41[] = {"Hints left: %d", "Tip"};

void loadOnce(benchmark::State& state, StringTable& table) {
    if (load(table, demoPath.c_str()) != FileResult::Ok) state.SkipWithError("load failed");
}

void Load(benchmark::State& state) {
    StringTable table;
    while (state.KeepRunning()) {
        loadOnce(state, table);
        benchmark::DoNotOptimize(table);
    }
}

void ReplaceAndSave(benchmark::State& state) {
    StringTable table;
    loadOnce(state, table);
    unsigned round = 0;
    while (state.KeepRunning()) {
        replaceText(table, 41, TEXTS_41[++round % 2]);
        if (save(table, demoPath.c_str()) != FileResult::Ok) state.SkipWithError("save failed");
    }
    replaceText(table, 41, TEXTS_41[0]);
    save(table, demoPath.c_str());
}

void Cycle(benchmark::State& state) {
    StringTable table;
    unsigned round = 0;
    while (state.KeepRunning()) {
        loadOnce(state, table);
        replaceText(table, 41, TEXTS_41[++round % 2]);
        if (save(table, demoPath.c_str()) != FileResult::Ok) state.SkipWithError("save failed");
    }
    loadOnce(state, table);
    replaceText(table, 41, TEXTS_41[0]);
    save(table, demoPath.c_str());
}

// What one edit must at least do: load reads from the offset table to the end of the
// file; save writes the offset table, the strings and the tail. The floor writes as
// many bytes back where they came from, so the file does not change.
void Floor(benchmark::State& state) {
    StringTable table;
    loadOnce(state, table);
    const size_t readSize = readFileBytes(demoPath).size() - TABLE_OFFSET;
    const size_t writeSize = TABLE_SIZE + (tailOffset(table) - table.records[0].offset) + TAIL_SIZE;
    Bytes buffer(readSize);
    while (state.KeepRunning()) {
        const int fd = open(demoPath.c_str(), O_RDWR);
        const bool done =
            fd >= 0 && pread(fd, buffer.data(), readSize, TABLE_OFFSET) == static_cast<ssize_t>(readSize) &&
            pwrite(fd, buffer.data(), writeSize, TABLE_OFFSET) == static_cast<ssize_t>(writeSize);
        if (fd < 0 || close(fd) != 0 || !done) state.SkipWithError("floor I/O failed");
    }
}

// The least that load and save as designed need: each opens and closes the file, and
// save writes the table and the strings apart (the gap between them is not the
// editor's to write). Positioned reads and writes, so no seek calls.
void DesignFloor(benchmark::State& state) {
    StringTable table;
    loadOnce(state, table);
    const size_t readSize = readFileBytes(demoPath).size() - TABLE_OFFSET;
    const size_t stringsAt = table.records[0].offset;
    const size_t stringsSize = (tailOffset(table) - table.records[0].offset) + TAIL_SIZE;
    Bytes buffer(readSize);
    while (state.KeepRunning()) {
        int fd = open(demoPath.c_str(), O_RDWR);
        bool done =
            fd >= 0 && pread(fd, buffer.data(), readSize, TABLE_OFFSET) == static_cast<ssize_t>(readSize);
        done = fd >= 0 && close(fd) == 0 && done;
        fd = open(demoPath.c_str(), O_RDWR);
        done = fd >= 0 && pwrite(fd, buffer.data(), TABLE_SIZE, TABLE_OFFSET) == TABLE_SIZE && done;
        done = fd >= 0 &&
               pwrite(fd, buffer.data() + (stringsAt - TABLE_OFFSET), stringsSize,
                      static_cast<off_t>(stringsAt)) == static_cast<ssize_t>(stringsSize) &&
               done;
        done = fd >= 0 && close(fd) == 0 && done;
        if (!done) state.SkipWithError("design floor I/O failed");
    }
}

BENCHMARK(Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReplaceAndSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(Cycle)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(DesignFloor)->Unit(benchmark::kMicrosecond);

// The console report, keeping each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> timePerIteration;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                timePerIteration[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!writeDemo()) {
        std::fprintf(stderr, "cannot write the demo file\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto& times = reporter.timePerIteration;
    for (const char* floor : {"Floor", "DesignFloor"})
        if (times.count("Cycle") && times.count(floor) && times.at(floor) > 0)
            std::printf("Cycle / %s = %.2f\n", floor, times.at("Cycle") / times.at(floor));
    return 0;
}
