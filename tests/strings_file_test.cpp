// The strings file store against files built by the demo generator: every save is
// compared byte for byte with the layout computed independently by layOut().
#include "strings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_files.h"

namespace {

// Checks that the table holds exactly the given content.
void expectTableHolds(const StringTable& table, const DemoContent& content) {
    long offset = content.firstOffset;
    for (int i = 0; i < RECORD_COUNT; ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(recordText(table, i), content.texts[i]);
        EXPECT_EQ(table.records[i].length, static_cast<int32_t>(content.texts[i].size()));
        EXPECT_EQ(table.records[i].offset, offset);
        EXPECT_EQ(table.records[i].secondWord, content.secondWords[i]);
        offset += static_cast<long>(content.texts[i].size()) + 1;
    }
    EXPECT_EQ(Bytes(table.tail, table.tail + TAIL_SIZE), content.tail);
}

TEST(DemoFile, HasTheLayoutTheEditorExpects) {
    const DemoContent content = demoContent();
    const Bytes file = buildFile(content);
    long area = 0;
    for (const std::string& text : content.texts) area += static_cast<long>(text.size()) + 1;
    EXPECT_EQ(content.firstOffset + area, TAIL_OFFSET);
    EXPECT_GT(file.size(), static_cast<size_t>(TAIL_OFFSET + TAIL_SIZE));
}

TEST(Load, ReadsEveryRecordAndTheTail) {
    DemoOnDisk demo;
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    expectTableHolds(table, demo.content);
    EXPECT_EQ(tailOffset(table), TAIL_OFFSET);
}

TEST(Save, UnchangedTableWritesBackTheSameFile) {
    DemoOnDisk demo;
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    for (int index : {0, 41, 84}) {
        const std::string same = recordText(table, index);
        ASSERT_EQ(replaceText(table, index, same.c_str()), ReplaceResult::Ok);
    }
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

struct Replacement {
    int index;
    std::string text;
};

const std::string LONGEST(MAX_TEXT_LENGTH, 'x');

TEST(ReplaceAndSave, FileMatchesTheLayoutOfTheNewTexts) {
    const std::vector<Replacement> cases = {
        {0, "Welcome to Wordsmith, the word game!"},  // grows, first record
        {0, ""},                                      // empties the first record
        {0, LONGEST},
        {41, "Tip"},  // shrinks a middle record
        {41, LONGEST},
        {41, "Hints left: %d"},            // unchanged
        {6, "No longer empty"},            // an empty record grows
        {34, "Dictionary damaged."},       // a 61-byte string shrinks
        {84, "\xA1Otra vez, por favor!"},  // last record: only the tail moves
        {84, ""},
    };
    for (const Replacement& replacement : cases) {
        SCOPED_TRACE("record " + std::to_string(replacement.index) + " = \"" + replacement.text + "\"");
        DemoOnDisk demo;
        StringTable table;
        ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
        ASSERT_EQ(replaceText(table, replacement.index, replacement.text.c_str()), ReplaceResult::Ok);
        ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);

        DemoContent expected = demo.content;
        expected.texts[replacement.index] = replacement.text;
        Bytes expectedFile = demo.original;
        layOut(expectedFile, expected);
        const Bytes written = readFileBytes(demo.path);
        EXPECT_EQ(written, expectedFile);
        EXPECT_GE(written.size(), demo.original.size());
        expectTableHolds(table, expected);

        StringTable reloaded;
        ASSERT_EQ(load(reloaded, demo.path.c_str()), FileResult::Ok);
        expectTableHolds(reloaded, expected);
    }
}

TEST(ReplaceAndSave, GrowingPastTheEndOfTheFileExtendsItOnlyByTheTailsMove) {
    DemoContent content = demoContent();
    content.trailingSize = 0;
    DemoOnDisk demo(content);
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(replaceText(table, 5, "Quit the game now"), ReplaceResult::Ok);  // 13 bytes longer
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    EXPECT_EQ(readFileBytes(demo.path).size(), demo.original.size() + 13);
}

TEST(ReplaceAndSave, EditsAcrossSessionsFindTheMovedTail) {
    DemoOnDisk demo;
    DemoContent expected = demo.content;
    Bytes expectedFile = demo.original;
    const std::vector<Replacement> sessions = {
        {10, "Press a key"}, {50, "The longest word found: %s"}, {84, ""}, {0, "Hi"}, {10, ""}};
    for (const Replacement& edit : sessions) {
        SCOPED_TRACE("record " + std::to_string(edit.index));
        StringTable table;
        ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
        expectTableHolds(table, expected);
        ASSERT_EQ(replaceText(table, edit.index, edit.text.c_str()), ReplaceResult::Ok);
        ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
        expected.texts[edit.index] = edit.text;
        layOut(expectedFile, expected);
        EXPECT_EQ(readFileBytes(demo.path), expectedFile);
    }
}

TEST(ReplaceAndSave, TwoSavesOfOneRecordKeepTheTableMatchingTheStrings) {
    DemoOnDisk demo;
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(replaceText(table, 20, "A much longer text than before!"), ReplaceResult::Ok);
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(replaceText(table, 20, "Short"), ReplaceResult::Ok);
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);

    DemoContent expected = demo.content;
    expected.texts[20] = "A much longer text than before!";
    Bytes expectedFile = demo.original;
    layOut(expectedFile, expected);
    expected.texts[20] = "Short";
    layOut(expectedFile, expected);
    EXPECT_EQ(readFileBytes(demo.path), expectedFile);
    StringTable reloaded;
    ASSERT_EQ(load(reloaded, demo.path.c_str()), FileResult::Ok);
    expectTableHolds(reloaded, expected);
}

void putWord(Bytes& file, size_t at, unsigned value) {
    file[at] = static_cast<unsigned char>(value & 0xFF);
    file[at + 1] = static_cast<unsigned char>(value >> 8);
}

TEST(Load, RefusesFilesWithoutTheLayoutAndLeavesThemAlone) {
    const DemoContent content = demoContent();
    const Bytes good = buildFile(content);
    const size_t tableEntry30 = TABLE_OFFSET + 4 * 30;
    const size_t lastString = TAIL_OFFSET - content.texts[84].size() - 1;
    struct Damage {
        const char* what;
        Bytes file;
    };
    std::vector<Damage> cases = {
        {"empty file", Bytes()},
        {"ends before the offset table", Bytes(good.begin(), good.begin() + TABLE_OFFSET)},
        {"ends inside the offset table", Bytes(good.begin(), good.begin() + TABLE_END - 1)},
        {"ends inside the last string", Bytes(good.begin(), good.begin() + lastString + 2)},
        {"ends inside the tail", Bytes(good.begin(), good.begin() + TAIL_OFFSET + TAIL_SIZE - 1)},
    };
    auto damaged = [&](const char* what, size_t at, unsigned value) {
        Bytes file = good;
        putWord(file, at, value);
        cases.push_back({what, file});
    };
    damaged("record 0 inside the offset table", TABLE_OFFSET, TABLE_END - 4);
    damaged("record 0 at zero", TABLE_OFFSET, 0);
    damaged("record 0 past the end of the file", TABLE_OFFSET, 0xFFF0);
    damaged("record 30 one byte late", tableEntry30, good[tableEntry30] + 1u + 256u * good[tableEntry30 + 1]);
    damaged("record 30 one byte early", tableEntry30,
            good[tableEntry30] - 1u + 256u * good[tableEntry30 + 1]);
    damaged("record 84 at zero", TABLE_OFFSET + 4 * 84, 0);

    for (const Damage& damage : cases) {
        SCOPED_TRACE(damage.what);
        ScratchFolder folder;
        const std::string path = folder.file("Strings.dat");
        ASSERT_TRUE(writeFileBytes(path, damage.file));
        StringTable table;
        ASSERT_EQ(replaceText(table, 3, "kept"), ReplaceResult::Ok);
        EXPECT_EQ(load(table, path.c_str()), FileResult::BadFormat);
        EXPECT_STREQ(recordText(table, 3), "kept");  // the table is left as it was
        EXPECT_EQ(readFileBytes(path), damage.file);
    }
}

TEST(OpenFailed, MissingFileIsNeitherReadNorCreated) {
    ScratchFolder folder;
    const std::string path = folder.file("Strings.dat");
    StringTable table;
    EXPECT_EQ(load(table, path.c_str()), FileResult::OpenFailed);

    DemoOnDisk demo;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    EXPECT_EQ(save(table, path.c_str()), FileResult::OpenFailed);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Save, RefusesATableThatWasNeverLoaded) {
    DemoOnDisk demo;
    StringTable empty;  // all offsets 0: a save would overwrite the leading data
    EXPECT_EQ(save(empty, demo.path.c_str()), FileResult::BadFormat);
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

TEST(ReplaceText, RefusesGrowthThatWouldPushAnOffsetPast65535) {
    const long room = 5;
    DemoOnDisk demo(contentNearTheOffsetLimit(room));
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(growthRoom(table), room);
    const std::string record0 = demo.content.texts[0];

    const std::string tooLong = record0 + std::string(room + 1, '!');
    EXPECT_EQ(replaceText(table, 0, tooLong.c_str()), ReplaceResult::DoesNotFit);
    EXPECT_EQ(replaceText(table, 83, (demo.content.texts[83] + "123456").c_str()), ReplaceResult::DoesNotFit);
    expectTableHolds(table, demo.content);
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    EXPECT_EQ(readFileBytes(demo.path), demo.original);

    // Exactly the room fits: the last record then starts at 65535; it can still grow.
    const std::string justFits = record0 + std::string(room, '!');
    ASSERT_EQ(replaceText(table, 0, justFits.c_str()), ReplaceResult::Ok);
    EXPECT_EQ(table.records[RECORD_COUNT - 1].offset, MAX_OFFSET);
    ASSERT_EQ(replaceText(table, 84, LONGEST.c_str()), ReplaceResult::Ok);
    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    StringTable reloaded;
    ASSERT_EQ(load(reloaded, demo.path.c_str()), FileResult::Ok);
    EXPECT_STREQ(recordText(reloaded, 0), justFits.c_str());
    EXPECT_EQ(tailOffset(reloaded), MAX_OFFSET + MAX_TEXT_LENGTH + 1);
}

#ifdef _WIN32
const char* const FULL_DEVICE = "Z:\\dev\\full";  // Wine maps the Linux root to Z:
#else
const char* const FULL_DEVICE = "/dev/full";
#endif

TEST(Save, WriteFailureIsReportedAndALaterSaveRepairsTheFile) {
    DemoOnDisk demo;
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(replaceText(table, 12, "Certainly"), ReplaceResult::Ok);
    EXPECT_EQ(save(table, FULL_DEVICE), FileResult::WriteFailed);

    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    DemoContent expected = demo.content;
    expected.texts[12] = "Certainly";
    StringTable reloaded;
    ASSERT_EQ(load(reloaded, demo.path.c_str()), FileResult::Ok);
    expectTableHolds(reloaded, expected);
}

#ifndef _WIN32
// A save that must grow the file while the file size limit forbids it: the write
// stops part-way through the string area and the save reports it.
TEST(Save, PartialWriteAtTheFileSizeLimitIsReported) {
    DemoContent content = demoContent();
    content.trailingSize = 0;
    DemoOnDisk demo(content);
    StringTable table;
    ASSERT_EQ(load(table, demo.path.c_str()), FileResult::Ok);
    ASSERT_EQ(replaceText(table, 40, "Make this text longer"), ReplaceResult::Ok);

    EXPECT_TRUE(holdsUnderFileSizeLimit(demo.original.size(), [&] {
        return save(table, demo.path.c_str()) == FileResult::WriteFailed;
    })) << "save did not report WriteFailed";
    EXPECT_EQ(readFileBytes(demo.path).size(), demo.original.size());

    ASSERT_EQ(save(table, demo.path.c_str()), FileResult::Ok);
    DemoContent expected = demo.content;
    expected.texts[40] = "Make this text longer";
    Bytes expectedFile = demo.original;
    layOut(expectedFile, expected);
    EXPECT_EQ(readFileBytes(demo.path), expectedFile);
}
#endif

}  // namespace
