// What the fuzz targets check and share: an independent reading of the strings file
// layout, table comparisons, and a scratch file to run the store on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "demo_file.h"
#include "strings_file.h"

// Stops the run when ok is false: a finding for the fuzzer, a failure for the replay.
void require(bool ok, const char* what);

// Reads the offset table, the strings and the tail of a whole file image into
// content, following the layout byte by byte; shares no code with the store. False
// when the file does not have the layout: it ends inside the table, a string or the
// tail, the first string starts before the end of the table, or a string does not
// start right after the previous one's zero byte.
bool readLayout(const Bytes& file, DemoContent& content);

// True when the two describe the same offset table, strings and tail (the trailing
// size is not compared: a shorter save leaves old bytes behind the tail).
bool sameRegions(const DemoContent& a, const DemoContent& b);

// True when the table holds exactly the content, offsets counted from its first offset.
bool tableHolds(const StringTable& table, const DemoContent& content);

// True when every field of the two tables is equal.
bool sameTable(const StringTable& a, const StringTable& b);

// Where record 84 starts when the strings of content lie back to back.
long lastOffset(const DemoContent& content);

// A file in a folder made for this process (in /dev/shm when there is one), removed
// when the process exits.
const std::string& scratchFile();

// The bytes of the scratch file, read into one buffer that is kept from call to call
// (growing a fresh vector for every read costs the fuzzer more than the store does).
const Bytes& scratchBytes();

// The fuzz input, taken a byte at a time; zero once it is used up.
struct FuzzInput {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool empty() const { return at >= size; }
    unsigned take() { return empty() ? 0u : data[at++]; }
};
