// Scratch folders and strings files for the tests, natively and under Wine.
#pragma once

#include <filesystem>
#include <string>

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
