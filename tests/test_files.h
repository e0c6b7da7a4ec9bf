// Scratch folders and strings files for the tests, natively and under Wine.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "demo_file.h"

// A fresh empty folder under the system's temporary folder, removed at the end of scope.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

// A demo file written as "Strings.dat" into a scratch folder, with the content it holds.
struct DemoOnDisk {
    explicit DemoOnDisk(const DemoContent& chosen = demoContent());
    std::string file(const std::string& name) const { return folder.file(name); }
    // What the file must hold after a save of the content with these texts changed.
    Bytes withTexts(const std::vector<std::pair<int, std::string>>& changes) const;

    ScratchFolder folder;
    std::string path = folder.file("Strings.dat");
    DemoContent content;
    Bytes original;
};

// Demo content moved up so that the last record starts `room` bytes below 65536.
DemoContent contentNearTheOffsetLimit(long room);

#ifndef _WIN32
// Runs work in a child process that may not make any file larger than fileSizeLimit
// bytes (a write past it fails instead of raising SIGXFSZ); true when work returned true.
bool holdsUnderFileSizeLimit(size_t fileSizeLimit, const std::function<bool()>& work);
#endif
