// The PO catalogue reader (a line-by-line state machine) and writer.
#include "po_file.h"

namespace {

// Where the current entry stands: which keyword may come next.
enum class Stage {
    Between,       // no entry open; comments, msgctxt or msgid may come
    AfterContext,  // msgctxt read; msgid must follow
    AfterId,       // msgid read; msgid_plural or msgstr must follow
    AfterPlural,   // msgid_plural read; msgstr[0] must follow
    AfterStr,      // msgstr read; the entry is complete but more msgstr[N] may follow
};

struct Reader {
    PoParseResult result;
    PoEntry entry;     // the entry being read
    PoEntry comments;  // flags and extracted comments for the next entry
    Stage stage = Stage::Between;
    std::string* target = nullptr;  // the string that continuation lines extend
    int line = 0;

    bool fail(const std::string& what) {
        result.ok = false;
        result.errorLine = line;
        result.error = what;
        return false;
    }
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the quoted string at text[at] into out; only blanks may follow it.
bool readQuoted(Reader& reader, const std::string& text, size_t at, std::string& out) {
    if (at >= text.size() || text[at] != '"') return reader.fail("a quoted string was expected");
    ++at;
    while (true) {
        if (at >= text.size()) return reader.fail("the string is not terminated");
        const char c = text[at++];
        if (c == '"') break;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (at >= text.size()) return reader.fail("the string is not terminated");
        const char escape = text[at++];
        switch (escape) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case '\\':
            case '"':
            case '\'':
            case '?':
                out += escape;
                break;
            case 'x': {
                int value = 0, digits = 0;
                while (digits < 2 && at < text.size() && hexValue(text[at]) >= 0) {
                    value = value * 16 + hexValue(text[at++]);
                    ++digits;
                }
                if (digits == 0) return reader.fail("\\x without hexadecimal digits");
                out += static_cast<char>(value);
                break;
            }
            default: {
                if (escape < '0' || escape > '7')
                    return reader.fail(std::string("invalid escape sequence \\") + escape);
                int value = escape - '0';
                for (int digits = 1; digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7';
                     ++digits)
                    value = value * 8 + (text[at++] - '0');
                if (value > 255) return reader.fail("octal escape out of range");
                out += static_cast<char>(value);
            }
        }
    }
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at < text.size()) return reader.fail("unexpected text after the string");
    return true;
}

// Ends the open entry, if any, and keeps it.
void finishEntry(Reader& reader) {
    if (reader.stage == Stage::AfterStr) reader.result.entries.push_back(std::move(reader.entry));
    reader.entry = PoEntry();
    reader.stage = Stage::Between;
    reader.target = nullptr;
}

// Opens an entry at the current line, taking the comments read since the last one.
void openEntry(Reader& reader, bool obsolete) {
    reader.entry = std::move(reader.comments);
    reader.comments = PoEntry();
    reader.entry.obsolete = obsolete;
    reader.entry.line = reader.line;
}

// A comment line (text starts with '#', not "#~" followed by a keyword).
bool readComment(Reader& reader, const std::string& text) {
    if (reader.stage == Stage::AfterStr) finishEntry(reader);
    if (reader.stage != Stage::Between) return reader.fail("a comment inside an entry");
    const char kind = text.size() > 1 ? text[1] : ' ';
    if (kind == '.') {
        const size_t start = text.size() > 2 && text[2] == ' ' ? 3 : 2;
        size_t end = text.size();  // carriage returns at the end are line-end leftovers, never text
        while (end > start && text[end - 1] == '\r') --end;
        reader.comments.extracted.push_back(text.substr(start, end - start));
    } else if (kind == ',') {
        // Flags are separated by commas: "#, fuzzy, c-format".
        size_t at = 2;
        while (at <= text.size()) {
            size_t end = text.find(',', at);
            if (end == std::string::npos) end = text.size();
            size_t first = at, last = end;
            while (first < last && isBlank(text[first])) ++first;
            while (last > first && isBlank(text[last - 1])) --last;
            if (text.compare(first, last - first, "fuzzy") == 0) reader.comments.fuzzy = true;
            at = end + 1;
        }
    }
    return true;
}

// A keyword line ("msgid ..." and the like), obsolete when it came after "#~".
bool readKeyword(Reader& reader, const std::string& text, size_t at, bool obsolete) {
    size_t end = at;
    while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') || text[end] == '_')) ++end;
    const std::string word = text.substr(at, end - at);
    int index = -1;  // N of msgstr[N]
    if (word == "msgstr" && end < text.size() && text[end] == '[') {
        size_t digit = end + 1;
        long value = 0;
        while (digit < text.size() && text[digit] >= '0' && text[digit] <= '9' && value < 1000000)
            value = value * 10 + (text[digit++] - '0');
        if (digit == end + 1 || digit >= text.size() || text[digit] != ']')
            return reader.fail("malformed msgstr[N]");
        index = static_cast<int>(value);
        end = digit + 1;
    }
    while (end < text.size() && isBlank(text[end])) ++end;

    const bool opensEntry = word == "msgctxt" || word == "msgid";
    if (opensEntry && reader.stage == Stage::AfterStr) finishEntry(reader);
    if (reader.stage != Stage::Between && reader.entry.obsolete != obsolete)
        return reader.fail("an entry mixes obsolete (#~) and active lines");

    if (word == "msgctxt") {
        if (reader.stage != Stage::Between) return reader.fail("msgctxt inside an entry");
        openEntry(reader, obsolete);
        reader.entry.hasContext = true;
        reader.target = &reader.entry.context;
        reader.stage = Stage::AfterContext;
    } else if (word == "msgid") {
        if (reader.stage == Stage::Between) {
            openEntry(reader, obsolete);
        } else if (reader.stage != Stage::AfterContext) {
            return reader.fail("msgid inside an entry");
        }
        reader.target = &reader.entry.msgid;
        reader.stage = Stage::AfterId;
    } else if (word == "msgid_plural") {
        if (reader.stage != Stage::AfterId) return reader.fail("msgid_plural without msgid");
        reader.entry.hasPlural = true;
        reader.target = &reader.entry.msgidPlural;
        reader.stage = Stage::AfterPlural;
    } else if (word == "msgstr" && index < 0) {
        if (reader.stage == Stage::AfterPlural) return reader.fail("msgid_plural needs msgstr[0]");
        if (reader.stage != Stage::AfterId) return reader.fail("msgstr without msgid");
        reader.entry.msgstr.emplace_back();
        reader.target = &reader.entry.msgstr.back();
        reader.stage = Stage::AfterStr;
    } else if (word == "msgstr") {
        const bool next = (reader.stage == Stage::AfterPlural && index == 0) ||
                          (reader.stage == Stage::AfterStr && reader.entry.hasPlural &&
                           static_cast<size_t>(index) == reader.entry.msgstr.size());
        if (!next) {
            if (reader.stage == Stage::AfterId) return reader.fail("msgstr[N] without msgid_plural");
            if (reader.stage == Stage::AfterPlural ||
                (reader.stage == Stage::AfterStr && reader.entry.hasPlural))
                return reader.fail("msgstr[N] out of order");
            return reader.fail("msgstr[N] without msgid");
        }
        reader.entry.msgstr.emplace_back();
        reader.target = &reader.entry.msgstr.back();
        reader.stage = Stage::AfterStr;
    } else {
        return reader.fail(word.empty() ? "unexpected text" : "unknown keyword " + word);
    }
    return readQuoted(reader, text, end, *reader.target);
}

// One line, without its line end.
bool readLine(Reader& reader, const std::string& text) {
    size_t at = 0;
    bool obsolete = false;
    if (text.compare(0, 2, "#~") == 0) {
        if (text.compare(0, 3, "#~|") == 0) return readComment(reader, text);
        obsolete = true;
        at = 2;
    } else if (!text.empty() && text[0] == '#') {
        return readComment(reader, text);
    }
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at == text.size()) return true;  // blank lines only separate entries
    if (text[at] != '"') return readKeyword(reader, text, at, obsolete);
    if (!reader.target) return reader.fail("a string without a keyword");
    if (reader.entry.obsolete != obsolete)
        return reader.fail("an entry mixes obsolete (#~) and active lines");
    return readQuoted(reader, text, at, *reader.target);
}

// Appends the keyword and its text as gettext's tools write it: a text holding a
// newline before its end is split after each newline, starting with "".
void formatKeyword(std::string& out, const char* prefix, const std::string& keyword,
                   const std::string& text) {
    const size_t newline = text.find('\n');
    out += prefix + keyword + " ";
    if (newline == std::string::npos || newline + 1 == text.size()) {
        out += quotePo(text) + "\n";
        return;
    }
    out += "\"\"\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        out += prefix + quotePo(text.substr(start, end - start)) + "\n";
        start = end;
    }
}

}  // namespace

PoParseResult parsePo(const char* data, size_t size) {
    Reader reader;
    reader.result.ok = true;
    size_t at = 0;
    if (size >= 3 && data[0] == '\xEF' && data[1] == '\xBB' && data[2] == '\xBF') at = 3;
    while (at < size) {
        size_t end = at;
        while (end < size && data[end] != '\n') ++end;
        size_t textEnd = end;
        if (textEnd > at && data[textEnd - 1] == '\r') --textEnd;
        ++reader.line;
        if (!readLine(reader, std::string(data + at, textEnd - at))) break;
        at = end + 1;
    }
    if (reader.result.ok) {
        // The end of the input ends the last entry, which must be complete.
        reader.line = reader.entry.line;
        if (reader.stage == Stage::AfterContext) reader.fail("msgctxt without msgid");
        if (reader.stage == Stage::AfterId || reader.stage == Stage::AfterPlural)
            reader.fail("msgid without msgstr");
        finishEntry(reader);
    }
    if (!reader.result.ok) reader.result.entries.clear();
    return reader.result;
}

std::string quotePo(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\v':
                out += "\\v";
                break;
            default: {
                const unsigned char byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7F) {
                    // Three octal digits, so that a following digit is not taken in.
                    out += '\\';
                    out += static_cast<char>('0' + (byte >> 6));
                    out += static_cast<char>('0' + ((byte >> 3) & 7));
                    out += static_cast<char>('0' + (byte & 7));
                } else {
                    out += c;
                }
            }
        }
    }
    return out + "\"";
}

std::string formatPo(const std::vector<PoEntry>& entries) {
    std::string out;
    for (const PoEntry& entry : entries) {
        if (&entry != &entries.front()) out += "\n";
        for (const std::string& comment : entry.extracted) {
            size_t start = 0;  // one "#." line for each line of the comment
            do {
                size_t end = comment.find('\n', start);
                if (end == std::string::npos) end = comment.size();
                out += "#. " + comment.substr(start, end - start) + "\n";
                start = end + 1;
            } while (start <= comment.size());
        }
        if (entry.fuzzy) out += "#, fuzzy\n";
        const char* prefix = entry.obsolete ? "#~ " : "";
        if (entry.hasContext) formatKeyword(out, prefix, "msgctxt", entry.context);
        formatKeyword(out, prefix, "msgid", entry.msgid);
        if (entry.hasPlural) {
            formatKeyword(out, prefix, "msgid_plural", entry.msgidPlural);
            for (size_t i = 0; i < entry.msgstr.size() || i == 0; ++i)
                formatKeyword(out, prefix, "msgstr[" + std::to_string(i) + "]",
                              i < entry.msgstr.size() ? entry.msgstr[i] : std::string());
        } else {
            formatKeyword(out, prefix, "msgstr", entry.msgstr.empty() ? std::string() : entry.msgstr[0]);
        }
    }
    return out;
}
