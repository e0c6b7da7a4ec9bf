// Fuzz target: any bytes as a PO catalogue. The reader must give a result for every
// input; a refusal names a line of the input; a catalogue it accepts, written out
// again by the writer, must read back as the same entries and write out the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "po_file.h"

namespace {

bool sameEntry(const PoEntry& a, const PoEntry& b) {
    return a.hasContext == b.hasContext && a.context == b.context && a.msgid == b.msgid &&
           a.hasPlural == b.hasPlural && a.msgidPlural == b.msgidPlural && a.msgstr == b.msgstr &&
           a.extracted == b.extracted && a.fuzzy == b.fuzzy && a.obsolete == b.obsolete;
}

bool sameEntries(const std::vector<PoEntry>& a, const std::vector<PoEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameEntry(a[i], b[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PoParseResult read = parsePo(reinterpret_cast<const char*>(data), size);
    if (!read.ok) {
        size_t lines = 1;
        for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
        require(read.errorLine >= 1 && static_cast<size_t>(read.errorLine) <= lines && !read.error.empty(),
                "a refusal names a line of the input and a reason");
        return 0;
    }
    const std::string written = formatPo(read.entries);
    const PoParseResult again = parsePo(written.data(), written.size());
    require(again.ok, "what the writer writes, the reader reads");
    require(sameEntries(again.entries, read.entries), "written and read again, the entries stay the same");
    require(formatPo(again.entries) == written, "writing the entries read back gives the same text");
    return 0;
}
