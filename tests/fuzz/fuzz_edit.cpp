// Fuzz target: from a generated strings file, the input drives a sequence of
// replacements, saves and reloads. After every step the table holds the texts
// replaced so far; after every save the file is byte for byte what layOut makes of
// those texts and has the layout; a refused replacement changes nothing.
//
// Input: one byte choosing the file (bit 0: no bytes after the tail; bit 1: the
// strings moved up so that the last one starts (byte >> 2) bytes below 65536), then
// operations: a byte whose value modulo 4 is 0 or 1 for a replacement (then the
// record index, the text length and the text's bytes; a zero byte becomes '?'),
// 2 for a save and 3 for a reload.
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

#include "fuzz_checks.h"

namespace {

constexpr int MAX_OPERATIONS = 64;
constexpr unsigned MAX_FUZZ_TEXT = 80;  // longer than a typed text: strings from a file may be

DemoContent chosenContent(unsigned choice) {
    DemoContent content = demoContent();
    content.trailingSize = (choice & 1) ? 0 : 64;
    if (choice & 2) content.firstOffset += MAX_OFFSET - static_cast<long>(choice >> 2) - lastOffset(content);
    return content;
}

void replaceStep(FuzzInput& input, StringTable& table, DemoContent& tableContent, const Bytes& fileBytes) {
    const int index = static_cast<int>(input.take() % RECORD_COUNT);
    const unsigned length = input.take() % (MAX_FUZZ_TEXT + 1);
    std::string text;
    for (unsigned i = 0; i < length && !input.empty(); ++i) {
        const char c = static_cast<char>(input.take());
        text.push_back(c == 0 ? '?' : c);
    }
    const long difference =
        static_cast<long>(text.size()) - static_cast<long>(tableContent.texts[index].size());
    const bool fits = index == RECORD_COUNT - 1 || lastOffset(tableContent) + difference <= MAX_OFFSET;
    const ReplaceResult result = replaceText(table, index, text.c_str());
    require(result == (fits ? ReplaceResult::Ok : ReplaceResult::DoesNotFit),
            "replaceText refuses exactly the changes that move an offset past 65535");
    if (fits) {
        tableContent.texts[index] = text;
    } else {
        require(scratchBytes() == fileBytes, "a refused replacement leaves the file alone");
    }
    require(tableHolds(table, tableContent), "the table holds the texts replaced so far");
}

void saveStep(const StringTable& table, const DemoContent& tableContent, DemoContent& fileContent,
              Bytes& fileBytes, const std::string& path) {
    require(save(table, path.c_str()) == FileResult::Ok, "a loaded table can be saved");
    fileContent = tableContent;
    layOut(fileBytes, fileContent);
    const Bytes& written = scratchBytes();
    require(written == fileBytes, "the saved file is the layout of the table's texts over the old file");
    DemoContent read;
    require(readLayout(written, read) && sameRegions(read, fileContent), "the saved file keeps the layout");
}

void reloadStep(StringTable& table, DemoContent& tableContent, const DemoContent& fileContent,
                const std::string& path) {
    StringTable reloaded;
    require(load(reloaded, path.c_str()) == FileResult::Ok, "a saved file loads");
    require(tableHolds(reloaded, fileContent), "a reload reads what was saved");
    table = reloaded;
    tableContent = fileContent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    // The generated files, made once for each choice.
    static std::map<unsigned, std::pair<DemoContent, Bytes>> generated;
    const unsigned choice = input.take();
    if (generated.count(choice) == 0) {
        const DemoContent content = chosenContent(choice);
        generated[choice] = {content, buildFile(content)};
    }
    DemoContent fileContent = generated[choice].first;
    Bytes fileBytes = generated[choice].second;
    const std::string& path = scratchFile();
    require(writeFileBytes(path, fileBytes), "the scratch file is written");
    StringTable table;
    require(load(table, path.c_str()) == FileResult::Ok, "the generated file loads");
    DemoContent tableContent = fileContent;

    for (int step = 0; step < MAX_OPERATIONS && !input.empty(); ++step) {
        switch (input.take() % 4) {
            case 0:
            case 1:
                replaceStep(input, table, tableContent, fileBytes);
                break;
            case 2:
                saveStep(table, tableContent, fileContent, fileBytes, path);
                break;
            default:
                reloadStep(table, tableContent, fileContent, path);
                break;
        }
    }
    return 0;
}
