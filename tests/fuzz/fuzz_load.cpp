// Fuzz target: any bytes as a strings file from the offset table on. parseStrings and
// load must accept exactly the files that have the layout, read them as the
// independent reader does, leave the table alone otherwise, and a save of what was
// read must give back the same file.
#include <cstddef>
#include <cstdint>

#include "fuzz_checks.h"

namespace {

// A table that is not all zeros, to show that a refused load leaves it as it was.
StringTable markedTable() {
    StringTable table;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        table.records[i].offset = static_cast<uint16_t>(3000 + i);
        table.records[i].secondWord = static_cast<uint16_t>(i);
        table.records[i].text = "kept";
        table.records[i].length = 4;
    }
    table.tail[0] = 0x5A;
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The whole file: patterned leading data, then the input from the offset table on.
    Bytes file(TABLE_OFFSET);
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<unsigned char>(i * 7 + 1);
    file.insert(file.end(), data, data + size);
    DemoContent content;
    const bool hasLayout = readLayout(file, content);

    const StringTable marked = markedTable();
    StringTable parsed = marked;
    const FileResult parseResult = parseStrings(parsed, data, size);
    require(parseResult == (hasLayout ? FileResult::Ok : FileResult::BadFormat),
            "parseStrings accepts exactly the files that have the layout");
    require(hasLayout ? tableHolds(parsed, content) : sameTable(parsed, marked),
            "parseStrings reads the layout, or leaves the table as it was");

    const std::string& path = scratchFile();
    require(writeFileBytes(path, file), "the scratch file is written");
    StringTable loaded = marked;
    require(load(loaded, path.c_str()) == parseResult, "load gives the result of parseStrings");
    require(sameTable(loaded, parsed), "load fills the table as parseStrings does");
    if (hasLayout) require(save(loaded, path.c_str()) == FileResult::Ok, "what was loaded can be saved");
    require(scratchBytes() == file, "loading and saving what was read leave the file as it was");
    return 0;
}
