// Writes the seed corpus of the fuzz targets into the folder given (tests/fuzz/corpus):
// load/ holds strings files from the offset table on, edit/ holds operation sequences.
#include <cstdio>
#include <string>
#include <vector>

#include "demo_file.h"
#include "strings_file.h"

namespace {

// The part of a whole file that fuzz_load takes: from the offset table on.
Bytes fromTable(const Bytes& file) { return Bytes(file.begin() + TABLE_OFFSET, file.end()); }

// Operation bytes of fuzz_edit.
void replacement(Bytes& ops, int index, const std::string& text) {
    ops.push_back(0);
    ops.push_back(static_cast<unsigned char>(index));
    ops.push_back(static_cast<unsigned char>(text.size()));
    ops.insert(ops.end(), text.begin(), text.end());
}
constexpr unsigned char SAVE = 2;
constexpr unsigned char RELOAD = 3;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds CORPUS-FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<std::pair<std::string, Bytes>> seeds;

    DemoContent demo = demoContent();
    demo.trailingSize = 64;
    const Bytes demoFile = buildFile(demo);
    seeds.push_back({"load/demo", fromTable(demoFile)});
    DemoContent small = demo;  // every string empty, the first right after the table
    for (std::string& text : small.texts) text.clear();
    small.firstOffset = TABLE_END;
    small.trailingSize = 0;
    seeds.push_back({"load/empty-strings", fromTable(buildFile(small))});
    DemoContent gap = small;  // short strings after a gap
    for (size_t i = 0; i < gap.texts.size(); ++i)
        gap.texts[i] = std::string(i % 4, static_cast<char>('a' + i % 26));
    gap.firstOffset = TABLE_END + 16;
    gap.trailingSize = 3;
    seeds.push_back({"load/short-strings", fromTable(buildFile(gap))});
    const Bytes inTail(demoFile.begin(), demoFile.begin() + TAIL_OFFSET + TAIL_SIZE - 1);
    seeds.push_back({"load/ends-inside-the-tail", fromTable(inTail)});

    Bytes grow = {0};
    replacement(grow, 0, "Welcome to Wordsmith, the word game!");
    grow.insert(grow.end(), {SAVE, RELOAD});
    replacement(grow, 84, "");
    grow.insert(grow.end(), {SAVE, RELOAD});
    seeds.push_back({"edit/grow-and-shrink", grow});
    Bytes limit = {2 | (5 << 2)};  // the last string 5 bytes below 65536
    replacement(limit, 0, demo.texts[0] + "123456");
    replacement(limit, 0, demo.texts[0] + "12345");
    limit.push_back(SAVE);
    replacement(limit, 84, std::string(MAX_TEXT_LENGTH, 'x'));
    limit.insert(limit.end(), {SAVE, RELOAD});
    seeds.push_back({"edit/at-the-offset-limit", limit});
    Bytes pastEnd = {1};  // no bytes after the tail: a longer save grows the file
    replacement(pastEnd, 5, "Quit the game now");
    pastEnd.insert(pastEnd.end(), {SAVE, RELOAD});
    replacement(pastEnd, 5, "");
    replacement(pastEnd, 40, "\xA1Otra vez!");
    pastEnd.insert(pastEnd.end(), {SAVE, RELOAD});
    seeds.push_back({"edit/past-the-end-of-the-file", pastEnd});

    for (const auto& [name, bytes] : seeds) {
        if (!writeFileBytes(folder + "/" + name, bytes)) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
