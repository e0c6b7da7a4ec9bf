// Made-up strings file content and the byte layout that a save must produce.
#include "demo_file.h"

#include <cstdio>

namespace {

// The text of a small imaginary word-game program, in code page 1252.
const char* const DEMO_TEXTS[] = {
    "Welcome to Wordsmith!",
    "New game",
    "Load game",
    "Save game",
    "Options",
    "Quit",
    "",
    "Player name:",
    "Score: %d",
    "High scores",
    "Press any key to continue",
    "Are you sure you want to quit without saving?",
    "Yes",
    "No",
    "Cancel",
    "OK",
    "",
    "Level %d of %d",
    "Time left: %d s",
    "Bonus!",
    "Perfect round \x96 well done",
    "Caf\xE9 cr\xE8me",
    "Na\xEFve r\xE9sum\xE9",
    "Stra\337e",  // octal escapes, where a hex escape would take in the next letter
    "\xC5ngstr\xF6m",
    "\xA9 2026 Imaginary Games Ltd.",
    "Sound: on",
    "Sound: off",
    "Music volume",
    "Effects volume",
    "Difficulty: easy",
    "Difficulty: normal",
    "Difficulty: hard",
    "",
    "The dictionary file is missing or damaged and cannot be read.",
    "Not a word!",
    "Already used",
    "Too short",
    "Letters left: %d",
    "Shuffle",
    "Hint",
    "Hints left: %d",
    "Pause",
    "Resume",
    "Game over",
    "You win!",
    "You lose!",
    "Try again?",
    "Round %d",
    "Best word: %s",
    "Longest word: %s",
    "Words found: %d",
    "Average time per word: %d.%d seconds in this round",
    "Main menu",
    "Back",
    "Next",
    "Previous",
    "Help",
    "How to play",
    "Form words from the letters shown.",
    "Each letter scores its value.",
    "Long words earn a bonus \xD7 2.",
    "Credits",
    "Design",
    "Programming",
    "Artwork",
    "Thanks for playing!",
    "Saving\x85",
    "Loading\x85",
    "Could not write the save file; the disk may be full.",
    "Save slot %d",
    "Empty slot",
    "Overwrite this slot?",
    "",
    "Language",
    "Keyboard layout",
    "Fullscreen",
    "Windowed",
    "Apply",
    "Restart to apply the changes.",
    "Version %d.%d",
    "Registered to:",
    "Unregistered copy",
    "Goodbye!",
    "\277Otra vez?",
};
static_assert(sizeof DEMO_TEXTS / sizeof DEMO_TEXTS[0] == 85, "one text per record");

constexpr long TABLE_OFFSET_IN_FILE = 2396;
constexpr long TAIL_OFFSET_IN_FILE = 14223;
constexpr size_t TAIL_BYTES = 388;

void putWord(Bytes& file, size_t at, unsigned value) {
    file[at] = static_cast<unsigned char>(value & 0xFF);
    file[at + 1] = static_cast<unsigned char>(value >> 8);
}

// A repeatable non-zero pattern, different for each seed.
unsigned char fillByte(size_t position, unsigned seed) {
    const unsigned value = static_cast<unsigned>(position * 2654435761u + seed * 40503u) >> 13;
    return static_cast<unsigned char>(value % 255 + 1);
}

}  // namespace

DemoContent demoContent() {
    DemoContent content;
    long area = 0;
    for (const char* text : DEMO_TEXTS) {
        content.texts.push_back(text);
        area += static_cast<long>(content.texts.back().size()) + 1;
    }
    for (unsigned i = 0; i < 85; ++i)
        content.secondWords.push_back(static_cast<uint16_t>(i % 7 == 3 ? 0 : 0x0100 * (i % 5) + 3 * i + 1));
    content.firstOffset = TAIL_OFFSET_IN_FILE - area;
    for (size_t i = 0; i < TAIL_BYTES; ++i)
        content.tail.push_back(static_cast<unsigned char>(i % 17 == 0 ? 0 : fillByte(i, 7)));
    content.trailingSize = 1500;
    return content;
}

void layOut(Bytes& file, const DemoContent& content) {
    size_t position = static_cast<size_t>(content.firstOffset);
    Bytes area;
    for (size_t i = 0; i < content.texts.size(); ++i) {
        const size_t entry = TABLE_OFFSET_IN_FILE + 4 * i;
        if (file.size() < entry + 4) file.resize(entry + 4);
        putWord(file, entry, static_cast<unsigned>(position));
        putWord(file, entry + 2, content.secondWords[i]);
        area.insert(area.end(), content.texts[i].begin(), content.texts[i].end());
        area.push_back(0);
        position += content.texts[i].size() + 1;
    }
    area.insert(area.end(), content.tail.begin(), content.tail.end());
    const size_t start = static_cast<size_t>(content.firstOffset);
    if (file.size() < start + area.size()) file.resize(start + area.size());
    for (size_t i = 0; i < area.size(); ++i) file[start + i] = area[i];
}

Bytes buildFile(const DemoContent& content) {
    long area = 0;
    for (const std::string& text : content.texts) area += static_cast<long>(text.size()) + 1;
    Bytes file(content.firstOffset + area + content.tail.size() + content.trailingSize);
    for (size_t i = 0; i < file.size(); ++i) file[i] = fillByte(i, 1);
    layOut(file, content);
    return file;
}

Bytes readFileBytes(const std::string& path) {
    Bytes bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
        std::fclose(file);
    }
    return bytes;
}

bool writeFileBytes(const std::string& path, const Bytes& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    return written;
}
