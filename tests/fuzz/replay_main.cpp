// Runs a fuzz target once on each file given, or on each file in each folder given:
// the regression test of the fuzz corpus and of the findings kept from it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given = argv[i];
        if (std::filesystem::is_directory(given)) {
            for (const auto& entry : std::filesystem::directory_iterator(given))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(given)) {
            inputs.push_back(given);
        } else {
            std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& path : inputs) {
        const Bytes bytes = readFileBytes(path.string());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs passed\n", inputs.size());
    return inputs.empty() ? 2 : 0;
}
