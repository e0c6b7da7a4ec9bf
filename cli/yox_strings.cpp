// The commands of yox-strings: list, get, set, check, export and import, on the strings file store.
#include "yox_strings.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "codepage.h"
#include "po_file.h"
#include "strings_file.h"

namespace {

const char* const DEFAULT_FILE = "Strings.dat";
constexpr unsigned DEFAULT_CODE_PAGE = 1252;

const char* const HELP =
    "Usage: yox-strings COMMAND [ARGUMENTS] [--codepage N]\n"
    "\n"
    "Lists, reads and changes the 85 text strings of a strings file in place, and\n"
    "exchanges them with translators as GNU gettext PO catalogues. FILE defaults to\n"
    "\"Strings.dat\" in the current directory. Records are numbered 1 to 85.\n"
    "\n"
    "Commands:\n"
    "  list [FILE]           one line per record: N, a tab, the text in UTF-8, with\n"
    "                        backslash and control characters escaped (\\\\, \\t, \\n,\n"
    "                        \\r, \\xNN, \\uNNNN); bytes that are no character of the\n"
    "                        code page are shown as \\xNN\n"
    "  get N [FILE]          the text of record N in UTF-8, unescaped, and a newline\n"
    "  set N TEXT [FILE]     replaces the text of record N and moves the strings after\n"
    "                        it; at most 39 bytes in the code page: a longer text is\n"
    "                        refused, never cut. A TEXT equal to the record's present\n"
    "                        text leaves the file untouched, whatever its length\n"
    "  check [FILE]          checks the file's layout and shows the record count, where\n"
    "                        the string area and the tail block lie, and how many bytes\n"
    "                        the string area can still grow before an offset would pass\n"
    "                        65535\n"
    "  export OUT.po [FILE]  writes a PO catalogue in UTF-8: one entry per record with\n"
    "                        msgctxt \"record N\", msgid the record's text and an empty\n"
    "                        msgstr\n"
    "  import IN.po [FILE]   applies every entry with a non-empty, non-fuzzy msgstr to\n"
    "                        the record its msgctxt names, with one save, and reports\n"
    "                        how many records changed. An entry whose msgstr equals the\n"
    "                        record's text changes nothing. An entry naming no record,\n"
    "                        a msgid that no longer matches the record's text, a\n"
    "                        character the code page cannot hold or a text over 39\n"
    "                        bytes is reported, and then nothing is written\n"
    "\n"
    "Options:\n"
    "  --codepage N          the code page of the file's texts, by its Windows number\n"
    "                        (default 1252); used by list, get, set, export and import\n"
    "  --help                shows this help\n"
    "  --                    ends the options, for a TEXT that starts with \"--\"\n"
    "\n"
    "Exit status: 0 done; 1 the file or the input was refused (nothing was written,\n"
    "unless writing the file failed part-way); 2 the command line is wrong.\n";

struct Run {
    std::string& out;
    std::string& err;
    unsigned codePage;
};

int refuse(Run& run, const std::string& message) {
    run.err += "yox-strings: " + message + "\n";
    return EXIT_REFUSED;
}

int usage(Run& run, const std::string& message) {
    run.err += "yox-strings: " + message + "\nTry 'yox-strings --help' for more information.\n";
    return EXIT_USAGE;
}

// A positive decimal number up to limit, digits only.
bool parseNumber(const std::string& text, unsigned long limit, unsigned long& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value >= 1 && value <= limit;
}

// The record index of a record number as the user gives it, 1 to 85.
bool parseRecord(const std::string& text, int& index) {
    unsigned long number = 0;
    if (!parseNumber(text, RECORD_COUNT, number)) return false;
    index = static_cast<int>(number) - 1;
    return true;
}

std::string recordName(int index) { return "record " + std::to_string(index + 1); }

// Decodes the code point at text[at] and moves at past it; false on malformed UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
bool nextCodePoint(const std::string& text, size_t& at, unsigned long& codePoint) {
    const unsigned char first = static_cast<unsigned char>(text[at]);
    size_t more = 0;            // continuation bytes
    unsigned long minimum = 0;  // the smallest code point of that length: no overlong forms
    if (first < 0x80) {
        codePoint = first;
    } else if (first >= 0xC2 && first <= 0xDF) {
        codePoint = first & 0x1Fu;
        more = 1;
        minimum = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        codePoint = first & 0x0Fu;
        more = 2;
        minimum = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        codePoint = first & 0x07u;
        more = 3;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - at - 1 < more) return false;
    for (size_t i = 1; i <= more; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    at += more + 1;
    return true;
}

std::string hexByte(unsigned value) {
    const char* const digits = "0123456789ABCDEF";
    return std::string{'\\', 'x', digits[(value >> 4) & 15], digits[value & 15]};
}

std::string codePointName(unsigned long codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04lX", codePoint);
    return name;
}

// A UTF-8 text on one line: backslash and control characters escaped.
std::string escapeForLine(const std::string& utf8) {
    std::string out;
    size_t at = 0;
    while (at < utf8.size()) {
        const size_t start = at;
        unsigned long codePoint = 0;
        if (!nextCodePoint(utf8, at, codePoint)) {
            out += hexByte(static_cast<unsigned char>(utf8[at++]));
            continue;
        }
        switch (codePoint) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (codePoint < 0x20 || codePoint == 0x7F)
                    out += hexByte(static_cast<unsigned>(codePoint));
                else if ((codePoint >= 0x80 && codePoint <= 0x9F) || codePoint == 0x2028 ||
                         codePoint == 0x2029)
                    out += "\\u" + codePointName(codePoint).substr(2);  // controls and line separators
                else
                    out.append(utf8, start, at - start);
        }
    }
    return out;
}

// A record's bytes that are no text of the code page: ASCII as it is, other bytes as \xNN.
std::string escapeBytes(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        out += byte >= 0x80 ? hexByte(byte) : escapeForLine(std::string(1, c));
    }
    return out;
}

// Why a record's text cannot be shown in UTF-8: its bytes that are no character of the code page.
std::string notInCodePage(const Run& run, const StringTable& table, int index) {
    return recordName(index) + ": the text holds bytes that are no character of code page " +
           std::to_string(run.codePage) + ": " + escapeBytes(recordText(table, index));
}

// The UTF-8 text in the code page, or in why the reason it cannot be stored in a record.
bool encodeText(Run& run, const std::string& utf8, std::string& text, std::string& why) {
    const std::string codePage = "code page " + std::to_string(run.codePage);
    size_t at = 0;
    while (at < utf8.size()) {
        unsigned long codePoint = 0;
        if (!nextCodePoint(utf8, at, codePoint)) {
            why = "the text is not valid UTF-8";
            return false;
        }
        if (codePoint == 0) {
            why = "the text holds a zero character, which would end the string";
            return false;
        }
    }
    if (fromUtf8(utf8, run.codePage, text)) return true;
    // Only a failed conversion pays for finding the character to blame.
    at = 0;
    while (at < utf8.size()) {
        const size_t start = at;
        unsigned long codePoint = 0;
        nextCodePoint(utf8, at, codePoint);
        std::string single;
        if (!fromUtf8(utf8.substr(start, at - start), run.codePage, single)) {
            why = "the character " + codePointName(codePoint) + " \"" + utf8.substr(start, at - start) +
                  "\" cannot be written in " + codePage;
            return false;
        }
    }
    why = "the text cannot be written in " + codePage;
    return false;
}

std::string tooLong(Run& run, size_t bytes) {
    return "the text is " + std::to_string(bytes) + " bytes in code page " + std::to_string(run.codePage) +
           "; a record holds at most " + std::to_string(MAX_TEXT_LENGTH);
}

const char* const DOES_NOT_FIT =
    "the text does not fit in the file: a later string would start past byte 65535";

// Loads the file, or says why not.
bool loadFile(Run& run, const std::string& path, StringTable& table) {
    switch (load(table, systemPath(path).c_str())) {
        case FileResult::Ok:
            return true;
        case FileResult::OpenFailed:
            refuse(run, path + ": cannot open the file for reading and writing");
            break;
        default:
            refuse(run,
                   path +
                       ": invalid file format: the strings do not lie back to back after the offset table,"
                       " or the file ends inside them or inside the tail block");
    }
    return false;
}

// Saves the table into the file, or says why not.
bool saveFile(Run& run, const std::string& path, const StringTable& table) {
    switch (save(table, systemPath(path).c_str())) {
        case FileResult::Ok:
            return true;
        case FileResult::OpenFailed:
            refuse(run, path + ": cannot open the file for writing; nothing was written");
            break;
        case FileResult::WriteFailed:
            refuse(run, path + ": error writing the file; it may be part-written");
            break;
        default:
            refuse(run, path + ": the strings no longer lie back to back; nothing was written");
    }
    return false;
}

int listRecords(Run& run, const std::string& path) {
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        std::string utf8;
        std::string shown;
        if (toUtf8(recordText(table, i), run.codePage, utf8)) {
            shown = escapeForLine(utf8);
        } else {
            shown = escapeBytes(recordText(table, i));
            run.err += "yox-strings: " + recordName(i) + ": bytes that are no character of code page " +
                       std::to_string(run.codePage) + " are shown as \\xNN\n";
        }
        run.out += std::to_string(i + 1) + "\t" + shown + "\n";
    }
    return EXIT_DONE;
}

int getRecord(Run& run, int index, const std::string& path) {
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;
    std::string utf8;
    if (!toUtf8(recordText(table, index), run.codePage, utf8))
        return refuse(run, notInCodePage(run, table, index));
    run.out += utf8 + "\n";
    return EXIT_DONE;
}

int setRecord(Run& run, int index, const std::string& utf8, const std::string& path) {
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;
    std::string text, why;
    if (!encodeText(run, utf8, text, why)) return refuse(run, recordName(index) + ": " + why);
    if (text == recordText(table, index)) return EXIT_DONE;  // nothing to change, nothing written
    if (text.size() > static_cast<size_t>(MAX_TEXT_LENGTH))
        return refuse(run, recordName(index) + ": " + tooLong(run, text.size()));
    if (replaceText(table, index, text.c_str()) != ReplaceResult::Ok)
        return refuse(run, recordName(index) + ": " + DOES_NOT_FIT);
    return saveFile(run, path, table) ? EXIT_DONE : EXIT_REFUSED;
}

int checkFile(Run& run, const std::string& path) {
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;
    const long areaStart = table.records[0].offset;
    const long tail = tailOffset(table);
    run.out += path + ": the layout is valid\n";
    run.out += "records: " + std::to_string(RECORD_COUNT) + "\n";
    run.out += "string area: bytes " + std::to_string(areaStart) + " to " + std::to_string(tail - 1) + " (" +
               std::to_string(tail - areaStart) + " bytes)\n";
    run.out += "tail block: bytes " + std::to_string(tail) + " to " + std::to_string(tail + TAIL_SIZE - 1) +
               " (" + std::to_string(TAIL_SIZE) + " bytes)\n";
    run.out += "growth room: " + std::to_string(growthRoom(table)) + " bytes\n";
    return EXIT_DONE;
}

// The header entry of an exported catalogue: UTF-8, and the fields msgfmt --check asks for.
PoEntry headerEntry() {
    char date[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* utc = std::gmtime(&now)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M+0000", utc);
    PoEntry header;
    header.msgstr.push_back(std::string("Project-Id-Version: Strings.dat\n") + "PO-Revision-Date: " + date +
                            "\nLast-Translator: \nLanguage-Team: \nLanguage: \nMIME-Version: 1.0\n"
                            "Content-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n");
    return header;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(systemPath(path).c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    return written;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    FILE* file = std::fopen(systemPath(path).c_str(), "rb");
    if (!file) return false;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

int exportCatalogue(Run& run, const std::string& poPath, const std::string& path) {
    std::error_code error;  // a catalogue written over the strings file would destroy it
    if (std::filesystem::equivalent(systemPath(poPath), systemPath(path), error))
        return refuse(run, poPath + ": that is the strings file itself; give the catalogue another name");
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;
    const std::string limit = "At most " + std::to_string(MAX_TEXT_LENGTH) + " bytes in code page " +
                              std::to_string(run.codePage) + ".";
    std::vector<PoEntry> entries = {headerEntry()};
    bool refused = false;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        PoEntry entry;
        entry.hasContext = true;
        entry.context = recordName(i);
        if (!toUtf8(recordText(table, i), run.codePage, entry.msgid)) {
            refuse(run, notInCodePage(run, table, i));
            refused = true;
        }
        entry.msgstr.emplace_back();
        const size_t length = table.records[i].text.size();
        entry.extracted.push_back(length > static_cast<size_t>(MAX_TEXT_LENGTH)
                                      ? limit + " This text is " + std::to_string(length) + " bytes."
                                      : limit);
        entries.push_back(entry);
    }
    if (refused) return refuse(run, poPath + " was not written");
    if (!writeWholeFile(poPath, formatPo(entries))) return refuse(run, poPath + ": cannot write the file");
    return EXIT_DONE;
}

// The charset a catalogue's header names, or "" when it names none.
std::string headerCharset(const std::vector<PoEntry>& entries) {
    for (const PoEntry& entry : entries) {
        if (entry.obsolete || entry.hasContext || !entry.msgid.empty() || entry.msgstr.empty()) continue;
        const std::string& header = entry.msgstr[0];
        const size_t at = header.find("charset=");
        if (at == std::string::npos) return "";
        const size_t start = at + 8;
        size_t end = start;
        while (end < header.size() && header[end] != '\n' && header[end] != ';' && header[end] != ' ') ++end;
        return header.substr(start, end - start);
    }
    return "";
}

bool isUtf8Name(std::string name) {
    for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name.empty() || name == "UTF-8" || name == "UTF8" || name == "CHARSET";
}

struct Change {
    int index;
    std::string text;
    int line;
};

int importCatalogue(Run& run, const std::string& poPath, const std::string& path) {
    std::string bytes;
    if (!readWholeFile(poPath, bytes)) return refuse(run, poPath + ": cannot read the file");
    const PoParseResult catalogue = parsePo(bytes.data(), bytes.size());
    if (!catalogue.ok)
        return refuse(run, poPath + ":" + std::to_string(catalogue.errorLine) + ": " + catalogue.error);
    const std::string charset = headerCharset(catalogue.entries);
    if (!isUtf8Name(charset))
        return refuse(run, poPath + ": the catalogue is in " + charset +
                               ", not UTF-8; convert it first with msgconv --to-code=UTF-8");
    StringTable table;
    if (!loadFile(run, path, table)) return EXIT_REFUSED;

    std::vector<Change> changes;
    int firstLine[RECORD_COUNT] = {};
    int errors = 0;
    auto reject = [&](const std::string& message) {
        refuse(run, message);
        ++errors;
    };
    for (const PoEntry& entry : catalogue.entries) {
        const bool taken =
            !entry.obsolete && !entry.fuzzy && !entry.msgstr.empty() && !entry.msgstr[0].empty();
        const bool header = !entry.hasContext && entry.msgid.empty();
        if (!taken || header) continue;
        const std::string where = poPath + ":" + std::to_string(entry.line) + ": ";
        int index = -1;
        if (!entry.hasContext || entry.context.compare(0, 7, "record ") != 0 ||
            !parseRecord(entry.context.substr(7), index)) {
            const std::string context = entry.hasContext ? "msgctxt " + quotePo(entry.context) : "no msgctxt";
            reject(where + context + " names no record (\"record 1\" to \"record 85\")");
            continue;
        }
        const std::string record = where + recordName(index) + ": ";
        if (firstLine[index] != 0) {
            reject(record + "a second entry for the record (the first is on line " +
                   std::to_string(firstLine[index]) + ")");
            continue;
        }
        firstLine[index] = entry.line;
        std::string msgid, text, why;
        if (entry.hasPlural) {
            reject(record + "a record has no plural forms");
        } else if (!encodeText(run, entry.msgid, msgid, why) || msgid != recordText(table, index)) {
            reject(record +
                   "the msgid no longer matches the record's text (the file changed since the export)");
        } else if (!encodeText(run, entry.msgstr[0], text, why)) {
            reject(record + why);
        } else if (text != recordText(table, index)) {
            if (text.size() > static_cast<size_t>(MAX_TEXT_LENGTH))
                reject(record + tooLong(run, text.size()));
            else
                changes.push_back({index, text, entry.line});
        }
    }
    if (errors > 0) return refuse(run, path + " was not changed");

    // Shortened texts first: then the offsets only rise towards their final values,
    // and a set of changes that fits as a whole is never refused half-way.
    std::stable_sort(changes.begin(), changes.end(), [&](const Change& a, const Change& b) {
        return static_cast<long>(a.text.size()) - table.records[a.index].length <
               static_cast<long>(b.text.size()) - table.records[b.index].length;
    });
    for (const Change& change : changes) {
        if (replaceText(table, change.index, change.text.c_str()) != ReplaceResult::Ok) {
            refuse(run, poPath + ":" + std::to_string(change.line) + ": " + recordName(change.index) + ": " +
                            DOES_NOT_FIT);
            return refuse(run, path + " was not changed");
        }
    }
    if (!changes.empty() && !saveFile(run, path, table)) return EXIT_REFUSED;
    run.out += std::to_string(changes.size()) + (changes.size() == 1 ? " record" : " records") + " changed\n";
    return EXIT_DONE;
}

// Runs the command named by the first positional argument.
int runCommand(Run& run, const std::vector<std::string>& words) {
    const std::string& command = words[0];
    const size_t given = words.size() - 1;
    auto fileArgument = [&](size_t position) { return given >= position ? words[position] : DEFAULT_FILE; };
    auto wrongCount = [&](const char* form) { return usage(run, "usage: yox-strings " + std::string(form)); };
    int index = 0;

    if (command == "list") {
        if (given > 1) return wrongCount("list [FILE]");
        return listRecords(run, fileArgument(1));
    }
    if (command == "check") {
        if (given > 1) return wrongCount("check [FILE]");
        return checkFile(run, fileArgument(1));
    }
    if (command == "get") {
        if (given < 1 || given > 2) return wrongCount("get N [FILE]");
        if (!parseRecord(words[1], index))
            return usage(run, "no record " + words[1] + ": records are 1 to 85");
        return getRecord(run, index, fileArgument(2));
    }
    if (command == "set") {
        if (given < 2 || given > 3) return wrongCount("set N TEXT [FILE]");
        if (!parseRecord(words[1], index))
            return usage(run, "no record " + words[1] + ": records are 1 to 85");
        return setRecord(run, index, words[2], fileArgument(3));
    }
    if (command == "export") {
        if (given < 1 || given > 2) return wrongCount("export OUT.po [FILE]");
        return exportCatalogue(run, words[1], fileArgument(2));
    }
    if (command == "import") {
        if (given < 1 || given > 2) return wrongCount("import IN.po [FILE]");
        return importCatalogue(run, words[1], fileArgument(2));
    }
    return usage(run, "unknown command " + command);
}

}  // namespace

int runYoxStrings(const std::vector<std::string>& args, std::string& out, std::string& err) {
    Run run{out, err, DEFAULT_CODE_PAGE};
    std::vector<std::string> words;
    bool help = false, optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = !optionsEnded && arg.compare(0, 2, "--") == 0;
        if (!option) {
            words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            help = true;
        } else if (arg == "--codepage" || arg.compare(0, 11, "--codepage=") == 0) {
            std::string value;
            if (arg.size() > 10) {
                value = arg.substr(11);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usage(run, "--codepage needs a code page number");
            }
            unsigned long codePage = 0;
            if (!parseNumber(value, 65535, codePage)) return usage(run, "no code page " + value);
            run.codePage = static_cast<unsigned>(codePage);
        } else {
            return usage(run, "unknown option " + arg);
        }
    }
    if (help) {
        out += HELP;
        return EXIT_DONE;
    }
    if (words.empty()) return usage(run, "no command given");
    if (!codePageAvailable(run.codePage))
        return usage(run, "code page " + std::to_string(run.codePage) + " is not available on this system");
    return runCommand(run, words);
}
