// Scratch folders and demo files for the tests.
#include "test_files.h"

#include <atomic>
#include <chrono>

#include "strings_file.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path = std::filesystem::temp_directory_path() /
           ("yox-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

DemoOnDisk::DemoOnDisk(const DemoContent& chosen) : content(chosen), original(buildFile(chosen)) {
    writeFileBytes(path, original);
}

Bytes DemoOnDisk::withTexts(const std::vector<std::pair<int, std::string>>& changes) const {
    DemoContent expected = content;
    for (const auto& change : changes) expected.texts[change.first] = change.second;
    Bytes expectedFile = original;
    layOut(expectedFile, expected);
    return expectedFile;
}

DemoContent contentNearTheOffsetLimit(long room) {
    DemoContent content = demoContent();
    long upToLast = 0;
    for (int i = 0; i < RECORD_COUNT - 1; ++i) upToLast += static_cast<long>(content.texts[i].size()) + 1;
    content.firstOffset = MAX_OFFSET - room - upToLast;
    content.trailingSize = 0;
    return content;
}

#ifndef _WIN32
bool holdsUnderFileSizeLimit(size_t fileSizeLimit, const std::function<bool()>& work) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif
