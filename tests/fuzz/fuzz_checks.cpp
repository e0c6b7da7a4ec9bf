// The independent layout reader, comparisons and scratch file of the fuzz targets.
#include "fuzz_checks.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

unsigned wordAt(const Bytes& file, size_t at) { return file[at] | (file[at + 1] << 8u); }

std::string scratchFolder;

void removeScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder, ignored);
}

}  // namespace

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

bool readLayout(const Bytes& file, DemoContent& content) {
    content = DemoContent();
    if (file.size() < static_cast<size_t>(TABLE_END)) return false;
    size_t position = wordAt(file, TABLE_OFFSET);
    if (position < static_cast<size_t>(TABLE_END)) return false;
    content.firstOffset = static_cast<long>(position);
    for (size_t i = 0; i < static_cast<size_t>(RECORD_COUNT); ++i) {
        const size_t entry = TABLE_OFFSET + 4 * i;
        if (wordAt(file, entry) != position) return false;
        content.secondWords.push_back(static_cast<uint16_t>(wordAt(file, entry + 2)));
        size_t end = position;
        while (end < file.size() && file[end] != 0) ++end;
        if (end >= file.size()) return false;
        content.texts.emplace_back(file.begin() + static_cast<long>(position),
                                   file.begin() + static_cast<long>(end));
        position = end + 1;
    }
    if (file.size() - position < static_cast<size_t>(TAIL_SIZE)) return false;
    content.tail.assign(file.begin() + static_cast<long>(position),
                        file.begin() + static_cast<long>(position) + TAIL_SIZE);
    content.trailingSize = file.size() - position - TAIL_SIZE;
    return true;
}

bool sameRegions(const DemoContent& a, const DemoContent& b) {
    return a.firstOffset == b.firstOffset && a.texts == b.texts && a.secondWords == b.secondWords &&
           a.tail == b.tail;
}

bool tableHolds(const StringTable& table, const DemoContent& content) {
    if (content.texts.size() != static_cast<size_t>(RECORD_COUNT)) return false;
    long offset = content.firstOffset;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        const StringRecord& record = table.records[i];
        const std::string& text = content.texts[i];
        if (record.offset != offset || record.secondWord != content.secondWords[i] || record.text != text ||
            record.length != static_cast<int32_t>(text.size()) ||
            std::strlen(recordText(table, i)) != text.size())
            return false;
        offset += static_cast<long>(text.size()) + 1;
    }
    return content.tail.size() == static_cast<size_t>(TAIL_SIZE) &&
           std::memcmp(table.tail, content.tail.data(), TAIL_SIZE) == 0;
}

bool sameTable(const StringTable& a, const StringTable& b) {
    for (int i = 0; i < RECORD_COUNT; ++i) {
        const StringRecord& x = a.records[i];
        const StringRecord& y = b.records[i];
        if (x.offset != y.offset || x.secondWord != y.secondWord || x.text != y.text || x.length != y.length)
            return false;
    }
    return std::memcmp(a.tail, b.tail, TAIL_SIZE) == 0;
}

long lastOffset(const DemoContent& content) {
    long offset = content.firstOffset;
    for (int i = 0; i < RECORD_COUNT - 1; ++i) offset += static_cast<long>(content.texts[i].size()) + 1;
    return offset;
}

const std::string& scratchFile() {
    static const std::string path = [] {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string folder = std::string(base) + "/yox-fuzz-XXXXXX";
        require(mkdtemp(folder.data()) != nullptr, "a scratch folder can be made");
        scratchFolder = folder;
        std::atexit(removeScratchFolder);
        return folder + "/Strings.dat";
    }();
    return path;
}

const Bytes& scratchBytes() {
    static Bytes bytes;
    bytes.clear();
    FILE* file = std::fopen(scratchFile().c_str(), "rb");
    require(file != nullptr, "the scratch file can be read");
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    require(size >= 0 && std::fseek(file, 0, SEEK_SET) == 0, "the scratch file has a size");
    bytes.resize(static_cast<size_t>(size));
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    require(got == bytes.size(), "the scratch file is read whole");
    return bytes;
}
