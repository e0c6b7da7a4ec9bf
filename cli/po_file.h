// Reading and writing GNU gettext PO catalogues: entries with context, strings and flags.
//
// A PO file is a sequence of entries separated by blank lines. Each entry has
// comment lines ("#." extracted, "#:" references, "#," flags such as fuzzy, "#|"
// previous strings, "# " translator comments), then the keywords msgctxt (optional),
// msgid, msgid_plural (optional) and msgstr or msgstr[0], msgstr[1], ... Each keyword
// takes one or more C-style quoted strings, one per line, that are joined. Entries
// whose lines start with "#~" are obsolete. The reader works on bytes: it neither
// needs nor checks the catalogue's charset. Nothing is thrown: results are returned.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct PoEntry {
    bool hasContext = false;
    std::string context;                 // msgctxt
    std::string msgid;                   // the source text
    bool hasPlural = false;              // msgid_plural and msgstr[N] instead of msgstr
    std::string msgidPlural;             // msgid_plural
    std::vector<std::string> msgstr;     // msgstr, or msgstr[0], msgstr[1], ... in order
    std::vector<std::string> extracted;  // "#." comment lines, without the "#. "
    bool fuzzy = false;                  // "fuzzy" among the "#," flags
    bool obsolete = false;               // the entry's lines start with "#~"
    int line = 0;                        // line of its first keyword (msgctxt or msgid)
};

struct PoParseResult {
    bool ok = false;
    std::vector<PoEntry> entries;  // in file order, when ok
    int errorLine = 0;             // the line, from 1, where the input was found malformed
    std::string error;             // what is wrong there
};

// Reads a whole PO catalogue from size bytes at data (a UTF-8 byte order mark and
// CRLF line ends are accepted). Any byte sequence gives a result; malformed input
// gives ok false with the line and the reason.
PoParseResult parsePo(const char* data, size_t size);

// A C-style quoted PO string for text: backslash, quote and control characters
// escaped, other bytes as they are.
std::string quotePo(const std::string& text);

// The PO text of the entries, in the layout gettext's tools write: extracted
// comments, the fuzzy flag, the keywords, a text holding newlines split after each.
// Obsolete entries get "#~ " before every keyword line.
std::string formatPo(const std::vector<PoEntry>& entries);
