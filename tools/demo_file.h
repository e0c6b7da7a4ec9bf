// Builds "Strings.dat" images of made-up content for the demo and for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// What a strings file holds in the regions the editor rewrites, and where.
struct DemoContent {
    std::vector<std::string> texts;     // 85 texts, in the file's 8-bit code page
    std::vector<uint16_t> secondWords;  // 85 second words of the offset table
    long firstOffset = 0;               // where record 0's string starts
    Bytes tail;                         // the 388-byte tail block
    size_t trailingSize = 0;            // bytes after the tail block
};

// The demo content: empty strings, strings longer than 39 characters, bytes of
// 0x80 and above, varied second words, and the tail block at byte 14223.
DemoContent demoContent();

// A whole file: patterned non-zero leading data, gap and trailing bytes around the
// table, strings and tail of the content.
Bytes buildFile(const DemoContent& content);

// Writes the offset table, the strings back to back from content.firstOffset and the
// tail over an existing image, growing it only where the tail passes its end. This
// is what a save of those texts must leave; it shares no code with the store.
void layOut(Bytes& file, const DemoContent& content);

Bytes readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const Bytes& bytes);
