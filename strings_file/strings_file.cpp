// Loading, changing and saving the string records of "Strings.dat" in place.
#include "strings_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

unsigned readWord(const unsigned char* bytes) { return bytes[0] | (bytes[1] << 8); }

void writeWord(unsigned char* bytes, unsigned value) {
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>(value >> 8);
}

// True when every string starts right after the previous one's zero byte, the
// first one at or after the end of the offset table, and the lengths match the texts.
bool isBackToBack(const StringTable& table) {
    long position = table.records[0].offset;
    if (position < TABLE_END) return false;
    for (const StringRecord& record : table.records) {
        if (record.offset != position) return false;
        if (record.length != static_cast<long>(record.text.size())) return false;
        position += record.length + 1;
    }
    return true;
}

// Opens an existing file for reading and writing in binary mode, without creating
// or truncating it; unbuffered, so each read or write below is one system call.
FILE* openForUpdate(const char* path) {
    FILE* file = std::fopen(path, "r+b");
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

}  // namespace

FileResult parseStrings(StringTable& table, const unsigned char* bytes, size_t size) {
    if (size < static_cast<size_t>(TABLE_SIZE)) return FileResult::BadFormat;
    StringTable loaded;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        loaded.records[i].offset = static_cast<uint16_t>(readWord(bytes + 4 * i));
        loaded.records[i].secondWord = static_cast<uint16_t>(readWord(bytes + 4 * i + 2));
    }
    // Positions in the file; bytes[0] lies at TABLE_OFFSET.
    const size_t fileEnd = TABLE_OFFSET + size;
    size_t position = loaded.records[0].offset;
    if (position < static_cast<size_t>(TABLE_END)) return FileResult::BadFormat;
    for (StringRecord& record : loaded.records) {
        if (record.offset != position || position >= fileEnd) return FileResult::BadFormat;
        const unsigned char* start = bytes + (position - TABLE_OFFSET);
        const void* zero = std::memchr(start, 0, fileEnd - position);
        if (!zero) return FileResult::BadFormat;  // the file ends inside the string
        const size_t length = static_cast<const unsigned char*>(zero) - start;
        if (length > INT32_MAX) return FileResult::BadFormat;  // lengths are 32-bit
        record.text.assign(reinterpret_cast<const char*>(start), length);
        record.length = static_cast<int32_t>(length);
        position += length + 1;
    }
    if (fileEnd - position < static_cast<size_t>(TAIL_SIZE)) return FileResult::BadFormat;
    std::memcpy(loaded.tail, bytes + (position - TABLE_OFFSET), TAIL_SIZE);
    table = std::move(loaded);
    return FileResult::Ok;
}

FileResult load(StringTable& table, const char* path) {
    FILE* file = openForUpdate(path);
    if (!file) return FileResult::OpenFailed;
    // Everything from the offset table to the end of the file, in one read.
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || std::fseek(file, TABLE_OFFSET, SEEK_SET) != 0) {
        std::fclose(file);
        return FileResult::OpenFailed;
    }
    std::vector<unsigned char> bytes(size > TABLE_OFFSET ? size - TABLE_OFFSET : 0);
    const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    const bool readFailed = got != bytes.size();
    std::fclose(file);
    if (readFailed) return FileResult::OpenFailed;
    return parseStrings(table, bytes.data(), bytes.size());
}

const char* recordText(const StringTable& table, int index) { return table.records[index].text.c_str(); }

ReplaceResult replaceText(StringTable& table, int index, const char* text) {
    StringRecord& record = table.records[index];
    const int32_t newLength = static_cast<int32_t>(std::strlen(text));
    const long difference = static_cast<long>(newLength) - record.length;
    // The last record's offset is the largest; no later offset may pass 16 bits.
    if (index < RECORD_COUNT - 1 && table.records[RECORD_COUNT - 1].offset + difference > MAX_OFFSET)
        return ReplaceResult::DoesNotFit;
    record.text = text;
    for (int later = index + 1; later < RECORD_COUNT; ++later)
        table.records[later].offset = static_cast<uint16_t>(table.records[later].offset + difference);
    record.length = newLength;
    return ReplaceResult::Ok;
}

FileResult save(const StringTable& table, const char* path) {
    if (!isBackToBack(table)) return FileResult::BadFormat;

    // Everything is laid out before the file is opened.
    unsigned char offsetTable[TABLE_SIZE];
    for (int i = 0; i < RECORD_COUNT; ++i) {
        writeWord(offsetTable + 4 * i, table.records[i].offset);
        writeWord(offsetTable + 4 * i + 2, table.records[i].secondWord);
    }
    std::vector<unsigned char> stringArea;
    stringArea.reserve(tailOffset(table) - table.records[0].offset + TAIL_SIZE);
    for (const StringRecord& record : table.records) {
        stringArea.insert(stringArea.end(), record.text.begin(), record.text.end());
        stringArea.push_back(0);
    }
    stringArea.insert(stringArea.end(), table.tail, table.tail + TAIL_SIZE);

    FILE* file = openForUpdate(path);
    if (!file) return FileResult::OpenFailed;
    bool written = std::fseek(file, TABLE_OFFSET, SEEK_SET) == 0 &&
                   std::fwrite(offsetTable, 1, TABLE_SIZE, file) == TABLE_SIZE &&
                   std::fseek(file, table.records[0].offset, SEEK_SET) == 0 &&
                   std::fwrite(stringArea.data(), 1, stringArea.size(), file) == stringArea.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    return written ? FileResult::Ok : FileResult::WriteFailed;
}

long tailOffset(const StringTable& table) {
    const StringRecord& last = table.records[RECORD_COUNT - 1];
    return last.offset + last.length + 1;
}

long growthRoom(const StringTable& table) { return MAX_OFFSET - table.records[RECORD_COUNT - 1].offset; }
