// The layout of "Strings.dat" and the in-memory table of its 85 string records.
//
// The file holds, in this order: leading data the editor never touches; at byte
// TABLE_OFFSET a table of 85 four-byte entries (16-bit offset, 16-bit second word,
// little-endian); a gap; the 85 zero-terminated strings back to back in record
// order, starting at record 0's offset; the 388-byte tail block right after the
// last string's zero byte; and any trailing bytes. Offsets are absolute and 16 bits
// wide. Nothing here knows about windows: results are returned, never thrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr long TABLE_OFFSET = 2396;
constexpr int RECORD_COUNT = 85;
constexpr long TABLE_SIZE = 4 * RECORD_COUNT;
constexpr long TABLE_END = TABLE_OFFSET + TABLE_SIZE;  // 2736: no string may start before it
constexpr long TAIL_OFFSET = 14223;                    // where the tail lies in the file as first supplied
constexpr int TAIL_SIZE = 388;
constexpr int TEXT_LIMIT = 40;  // the text box buffer: 39 characters and the zero byte
constexpr int MAX_TEXT_LENGTH = TEXT_LIMIT - 1;
constexpr long MAX_OFFSET = 65535;  // offsets are 16 bits wide

struct StringRecord {
    uint16_t offset = 0;      // absolute position of the string in the file
    uint16_t secondWord = 0;  // not interpreted; written back exactly as read
    std::string text;         // without its zero byte; 8-bit, in the file's code page
    int32_t length = 0;       // bytes of text
};

struct StringTable {
    StringRecord records[RECORD_COUNT];
    unsigned char tail[TAIL_SIZE] = {};
};

enum class FileResult {
    Ok,
    OpenFailed,   // the file is missing or cannot be opened for update (or read)
    BadFormat,    // the file does not have the layout; nothing was changed
    WriteFailed,  // a write, the flush or the close failed; the file may be part-written
};

enum class ReplaceResult {
    Ok,
    DoesNotFit,  // a later offset would pass MAX_OFFSET; nothing was changed
};

// Reads the offset table, the strings and the tail block of the file at path.
// Refuses (BadFormat) a file whose strings do not lie back to back from at least
// TABLE_END, or that ends inside a string or inside the tail. On any result but Ok
// the table is left as it was.
FileResult load(StringTable& table, const char* path);

// The same checks and filling as load, on the bytes of a file from TABLE_OFFSET to
// its end (so bytes[0] is the first byte of the offset table).
FileResult parseStrings(StringTable& table, const unsigned char* bytes, size_t size);

// The text of record index (0 to RECORD_COUNT - 1).
const char* recordText(const StringTable& table, int index);

// Replaces the text of record index and moves the offsets of every later record by
// the change in length. Refuses, changing nothing, when an offset would pass
// MAX_OFFSET. The caller keeps texts typed by the user to MAX_TEXT_LENGTH.
ReplaceResult replaceText(StringTable& table, int index, const char* text);

// Writes the offset table at TABLE_OFFSET and the strings followed by the tail from
// record 0's offset. The file is never created or shortened. Refuses (BadFormat),
// writing nothing, a table whose strings do not lie back to back from TABLE_END on.
FileResult save(const StringTable& table, const char* path);

// Where the tail block starts: right after the zero byte of the last string.
long tailOffset(const StringTable& table);

// How many bytes records 0 to RECORD_COUNT - 2 can grow in all before the last
// record's offset would pass MAX_OFFSET. (The last record can grow freely.)
long growthRoom(const StringTable& table);
