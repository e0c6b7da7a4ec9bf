// yox-strings' commands on demo files: every change compared byte for byte with the
// layout computed independently by layOut(), every refusal leaving the file as it was.
#include "yox_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "po_file.h"
#include "strings_file.h"
#include "test_files.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome yox(const std::vector<std::string>& args) {
    Outcome outcome;
    outcome.status = runYoxStrings(args, outcome.out, outcome.err);
    return outcome;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return result;
}

TEST(List, ShowsEveryRecordInUtf8OnItsOwnLine) {
    DemoContent content = demoContent();
    content.texts[5] = "a\tb\nc\\d\x01\r";
    DemoOnDisk demo(content);
    const Outcome outcome = yox({"list", demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE);
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> shown = lines(outcome.out);
    ASSERT_EQ(shown.size(), static_cast<size_t>(RECORD_COUNT));
    EXPECT_EQ(shown[0], "1\tWelcome to Wordsmith!");
    EXPECT_EQ(shown[5], "6\ta\\tb\\nc\\\\d\\x01\\r");
    EXPECT_EQ(shown[6], "7\t");
    EXPECT_EQ(shown[20], "21\tPerfect round \u2013 well done");
    EXPECT_EQ(shown[21], "22\tCaf\u00e9 cr\u00e8me");
    EXPECT_EQ(shown[67], "68\tSaving\u2026");
    EXPECT_EQ(shown[84], "85\t\u00bfOtra vez?");
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

TEST(List, BytesThatAreNoCharacterOfTheCodePageAreShownAsHex) {
    DemoOnDisk demo;
    const Outcome outcome = yox({"list", "--codepage", "65001", demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE);
    const std::vector<std::string> shown = lines(outcome.out);
    ASSERT_EQ(shown.size(), static_cast<size_t>(RECORD_COUNT));
    EXPECT_EQ(shown[21], "22\tCaf\\xE9 cr\\xE8me");
    EXPECT_EQ(shown[0], "1\tWelcome to Wordsmith!");
    EXPECT_NE(outcome.err.find("yox-strings: record 22: "), std::string::npos) << outcome.err;
}

TEST(Get, ConvertsFromTheChosenCodePage) {
    DemoOnDisk demo;
    struct Case {
        std::vector<std::string> args;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {{"get", "22"}, "Caf\u00e9 cr\u00e8me"},
        {{"get", "22", "--codepage", "1252"}, "Caf\u00e9 cr\u00e8me"},
        {{"--codepage=437", "get", "22"}, "Caf\u0398 cr\u03a6me"},
        {{"get", "--codepage", "1251", "22"}, "Caf\u0439 cr\u0438me"},
        {{"get", "7"}, ""},
        {{"get", "12"}, "Are you sure you want to quit without saving?"},
        {{"get", "85"}, "\u00bfOtra vez?"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(demo.path);
        SCOPED_TRACE(args[0] + " " + args[1]);
        const Outcome outcome = yox(args);
        EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
        EXPECT_EQ(outcome.out, c.shown + "\n");
    }
}

TEST(Set, StoresTheTextInTheCodePageAndMovesTheLaterStrings) {
    struct Case {
        std::vector<std::string> args;  // the file's path follows
        int index;
        std::string stored;  // in the code page
    };
    const std::string e39 = [] {
        std::string text;
        for (int i = 0; i < MAX_TEXT_LENGTH; ++i) text += "\u00e9";
        return text;
    }();
    const std::vector<Case> cases = {
        {{"set", "22", "Th\u00e9 \u2013 sucr\u00e9"}, 21, "Th\xE9 \x96 sucr\xE9"},
        {{"set", "1", std::string(MAX_TEXT_LENGTH, 'x')}, 0, std::string(MAX_TEXT_LENGTH, 'x')},
        {{"set", "1", e39}, 0, std::string(MAX_TEXT_LENGTH, '\xE9')},  // 78 bytes of UTF-8, 39 stored
        {{"set", "12", "Quit?"}, 11, "Quit?"},                         // a 45-byte text shrinks
        {{"set", "7", "Now filled"}, 6, "Now filled"},
        {{"set", "85", ""}, 84, ""},
        {{"set", "5", "\u041f\u0440\u0438\u0432\u0435\u0442", "--codepage", "1251"},
         4,
         "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {{"set", "3", "--", "--dashes--"}, 2, "--dashes--"},
        {{"set", "3", "-1 point"}, 2, "-1 point"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        DemoOnDisk demo;
        std::vector<std::string> args = c.args;
        args.push_back(demo.path);
        const Outcome outcome = yox(args);
        EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(readFileBytes(demo.path), demo.withTexts({{c.index, c.stored}}));
    }
}

TEST(Set, ATextEqualToTheRecordsChangesNothingWhateverItsLength) {
    DemoOnDisk demo;
    for (const char* number : {"12", "35", "7"}) {  // 45 and 61 bytes, and empty
        const Outcome got = yox({"get", number, demo.path});
        ASSERT_EQ(got.status, EXIT_DONE);
        const std::string text = got.out.substr(0, got.out.size() - 1);
        const Outcome outcome = yox({"set", number, text, demo.path});
        EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
        EXPECT_EQ(readFileBytes(demo.path), demo.original);
    }
}

struct Refusal {
    std::vector<std::string> args;  // "FILE" stands for the demo file's path
    int status;
    std::string error;  // a part of the message
};

TEST(Refusals, ReportTheCauseAndLeaveTheFileByteIdentical) {
    const std::string x40(MAX_TEXT_LENGTH + 1, 'x');
    const std::string euros = std::string(20, 'x') + "\u20ac\u20ac";  // 22 bytes in 1252, 26 in UTF-8
    const std::vector<Refusal> cases = {
        {{"set", "22", x40, "FILE"},
         EXIT_REFUSED,
         "record 22: the text is 40 bytes in code page 1252; a record holds at most 39"},
        {{"set", "22", euros + "12345678901234567890", "FILE"}, EXIT_REFUSED, "42 bytes in code page 1252"},
        {{"set", "22", euros + "12345678901234", "--codepage", "65001", "FILE"},
         EXIT_REFUSED,
         "40 bytes in code page 65001"},
        {{"set", "22", "Caf\u00e9 \u2615", "FILE"},
         EXIT_REFUSED,
         "record 22: the character U+2615 \"\u2615\" cannot be written in code page 1252"},
        {{"set", "22", "\u0439", "--codepage", "1252", "FILE"}, EXIT_REFUSED, "U+0439"},
        {{"set", "22", "Caf\xE9", "FILE"}, EXIT_REFUSED, "record 22: the text is not valid UTF-8"},
        {{"set", "22", "\xED\xA0\x80", "FILE"}, EXIT_REFUSED, "not valid UTF-8"},  // a surrogate
        {{"set", "22", "\xC0\xAF", "FILE"}, EXIT_REFUSED, "not valid UTF-8"},      // an overlong '/'
        {{"get", "22", "--codepage", "65001", "FILE"}, EXIT_REFUSED, "record 22: the text holds bytes"},
        {{"export", "FILE", "FILE"}, EXIT_REFUSED, ": that is the strings file itself"},
        {{"import", "FILE", "FILE"}, EXIT_REFUSED, ":1: "},  // not a catalogue
        {{"set", "86", "x", "FILE"}, EXIT_USAGE, "no record 86: records are 1 to 85"},
        {{"set", "0", "x", "FILE"}, EXIT_USAGE, "no record 0"},
        {{"get", "x1", "FILE"}, EXIT_USAGE, "no record x1"},
        {{"set", "-1", "x", "FILE"}, EXIT_USAGE, "no record -1"},
        {{"set", "5", "x", "FILE", "more"}, EXIT_USAGE, "usage: yox-strings set N TEXT [FILE]"},
        {{"set", "5"}, EXIT_USAGE, "usage: yox-strings set N TEXT [FILE]"},
        {{"get"}, EXIT_USAGE, "usage: yox-strings get N [FILE]"},
        {{"list", "FILE", "b"}, EXIT_USAGE, "usage: yox-strings list [FILE]"},
        {{"check", "FILE", "b"}, EXIT_USAGE, "usage: yox-strings check [FILE]"},
        {{"export"}, EXIT_USAGE, "usage: yox-strings export OUT.po [FILE]"},
        {{"import"}, EXIT_USAGE, "usage: yox-strings import IN.po [FILE]"},
        {{"remove", "5", "FILE"}, EXIT_USAGE, "unknown command remove"},
        {{"list", "--verbose", "FILE"}, EXIT_USAGE, "unknown option --verbose"},
        {{"list", "--codepage", "cp1252", "FILE"}, EXIT_USAGE, "no code page cp1252"},
        {{"list", "--codepage=70000", "FILE"}, EXIT_USAGE, "no code page 70000"},
        {{"list", "--codepage", "1", "FILE"}, EXIT_USAGE, "code page 1 is not available"},
        {{"list", "FILE", "--codepage"}, EXIT_USAGE, "--codepage needs a code page number"},
        {{}, EXIT_USAGE, "no command given"},
    };
    for (const Refusal& c : cases) {
        DemoOnDisk demo;
        std::vector<std::string> args = c.args;
        std::string shown;
        for (std::string& arg : args) {
            if (arg == "FILE") arg = demo.path;
            shown += " " + arg.substr(0, 20);
        }
        SCOPED_TRACE(shown);
        const Outcome outcome = yox(args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.err.compare(0, 13, "yox-strings: "), 0) << outcome.err;
        EXPECT_NE(outcome.err.find(c.error), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(readFileBytes(demo.path), demo.original);
    }
}

TEST(Help, DocumentsEveryCommandAndOption) {
    const Outcome outcome = yox({"--help"});
    EXPECT_EQ(outcome.status, EXIT_DONE);
    for (const char* part :
         {"list [FILE]", "get N [FILE]", "set N TEXT [FILE]", "check [FILE]", "export OUT.po [FILE]",
          "import IN.po [FILE]", "--codepage N", "\"Strings.dat\"", "Exit status"})
        EXPECT_NE(outcome.out.find(part), std::string::npos) << part;
    EXPECT_EQ(yox({"set", "--help"}).out, outcome.out);
}

TEST(Check, ShowsWhereTheStringAreaAndTheTailLie) {
    const long room = 7;
    DemoOnDisk demo(contentNearTheOffsetLimit(room));
    auto expectedReport = [&](long start, long tail, long growth) {
        return demo.path + ": the layout is valid\nrecords: 85\nstring area: bytes " + std::to_string(start) +
               " to " + std::to_string(tail - 1) + " (" + std::to_string(tail - start) +
               " bytes)\ntail block: bytes " + std::to_string(tail) + " to " + std::to_string(tail + 387) +
               " (388 bytes)\ngrowth room: " + std::to_string(growth) + " bytes\n";
    };
    const long start = demo.content.firstOffset;
    const long tail = MAX_OFFSET - room + static_cast<long>(demo.content.texts[84].size()) + 1;
    Outcome outcome = yox({"check", demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE);
    EXPECT_EQ(outcome.out, expectedReport(start, tail, room));

    // Record 14 ("No") grows by 5: the tail moves with it and the room shrinks.
    ASSERT_EQ(yox({"set", "14", "No way", demo.path}).status, EXIT_DONE);
    outcome = yox({"check", demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE);
    EXPECT_EQ(outcome.out, expectedReport(start, tail + 4, room - 4));
}

TEST(DamagedOrMissingFile, EveryCommandRefusesItAndLeavesItAlone) {
    const Bytes good = buildFile(demoContent());
    struct Damage {
        const char* what;
        Bytes file;
    };
    Bytes lateRecord = good;
    lateRecord[TABLE_OFFSET + 4 * 30] = static_cast<unsigned char>(lateRecord[TABLE_OFFSET + 4 * 30] + 1);
    const std::vector<Damage> damages = {
        {"ends inside the tail", Bytes(good.begin(), good.begin() + TAIL_OFFSET + TAIL_SIZE - 1)},
        {"record 31 one byte late", lateRecord},
        {"empty", Bytes()},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"check"}, {"list"}, {"get", "3"}, {"set", "3", "x"}, {"export", "out.po"}, {"import", "in.po"}};
    for (const Damage& damage : damages) {
        for (const std::vector<std::string>& command : commands) {
            SCOPED_TRACE(std::string(damage.what) + ": " + command[0]);
            ScratchFolder folder;
            const std::string path = folder.file("Strings.dat");
            ASSERT_TRUE(writeFileBytes(path, damage.file));
            std::vector<std::string> args = command;
            if (command[0] == "export" || command[0] == "import") args[1] = folder.file(args[1]);
            if (command[0] == "import") {
                ASSERT_TRUE(writeFileBytes(args[1], Bytes()));
            }
            args.push_back(path);
            const Outcome outcome = yox(args);
            EXPECT_EQ(outcome.status, EXIT_REFUSED);
            EXPECT_EQ(outcome.err.find("yox-strings: " + path + ": invalid file format"), 0u) << outcome.err;
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(readFileBytes(path), damage.file);
            if (command[0] == "export") {
                EXPECT_FALSE(std::filesystem::exists(args[1]));
            }
        }
    }
    ScratchFolder folder;
    const std::string missing = folder.file("Strings.dat");
    const Outcome outcome = yox({"check", missing});
    EXPECT_EQ(outcome.status, EXIT_REFUSED);
    EXPECT_EQ(outcome.err, "yox-strings: " + missing + ": cannot open the file for reading and writing\n");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// The catalogue that export wrote, read back.
std::vector<PoEntry> readCatalogue(const std::string& path) {
    const Bytes bytes = readFileBytes(path);
    const PoParseResult result = parsePo(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_TRUE(result.ok) << "line " << result.errorLine << ": " << result.error;
    return result.entries;
}

void writeCatalogue(const std::string& path, const std::vector<PoEntry>& entries,
                    const std::string& more = "") {
    const std::string text = formatPo(entries) + more;
    ASSERT_TRUE(writeFileBytes(path, Bytes(text.begin(), text.end())));
}

TEST(Export, WritesOneEntryPerRecordWithItsTextAndTheLimit) {
    DemoOnDisk demo;
    const Outcome outcome = yox({"export", demo.file("strings.po"), demo.path});
    ASSERT_EQ(outcome.status, EXIT_DONE) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
    ASSERT_EQ(entries.size(), static_cast<size_t>(RECORD_COUNT + 1));
    EXPECT_FALSE(entries[0].hasContext);
    EXPECT_EQ(entries[0].msgid, "");
    EXPECT_NE(entries[0].msgstr.at(0).find("Content-Type: text/plain; charset=UTF-8\n"), std::string::npos);
    for (int i = 0; i < RECORD_COUNT; ++i) {
        SCOPED_TRACE("record " + std::to_string(i + 1));
        const PoEntry& entry = entries[i + 1];
        EXPECT_TRUE(entry.hasContext);
        EXPECT_EQ(entry.context, "record " + std::to_string(i + 1));
        EXPECT_EQ(entry.msgid + "\n", yox({"get", std::to_string(i + 1), demo.path}).out);
        EXPECT_EQ(entry.msgstr, std::vector<std::string>{""});
        EXPECT_FALSE(entry.fuzzy);
        ASSERT_FALSE(entry.extracted.empty());
        EXPECT_EQ(entry.extracted[0].find("At most 39 bytes in code page 1252."), 0u);
    }
    EXPECT_EQ(entries[22].msgid, "Caf\u00e9 cr\u00e8me");
    EXPECT_NE(entries[12].extracted[0].find("This text is 45 bytes."), std::string::npos);
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

TEST(Export, RefusesTextsTheCodePageCannotReadAndWritesNoCatalogue) {
    DemoOnDisk demo;
    const Outcome outcome = yox({"export", demo.file("strings.po"), demo.path, "--codepage", "65001"});
    EXPECT_EQ(outcome.status, EXIT_REFUSED);
    EXPECT_NE(outcome.err.find("yox-strings: record 21: "), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("yox-strings: record 22: "), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(demo.file("strings.po")));
}

TEST(ExportImport, AnUntouchedOrSelfTranslatedCatalogueLeavesTheFileByteIdentical) {
    DemoOnDisk demo;
    ASSERT_EQ(yox({"export", demo.file("strings.po"), demo.path}).status, EXIT_DONE);
    Outcome outcome = yox({"import", demo.file("strings.po"), demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
    EXPECT_EQ(outcome.out, "0 records changed\n");
    EXPECT_EQ(readFileBytes(demo.path), demo.original);

    // What msgen does: every msgstr a copy of its msgid, the long texts included.
    std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
    for (size_t i = 1; i < entries.size(); ++i) entries[i].msgstr = {entries[i].msgid};
    writeCatalogue(demo.file("strings.po"), entries);
    outcome = yox({"import", demo.file("strings.po"), demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
    EXPECT_EQ(outcome.out, "0 records changed\n");
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

TEST(Import, AppliesTheTranslatedNonFuzzyEntriesWithOneSave) {
    DemoOnDisk demo;
    ASSERT_EQ(yox({"export", demo.file("strings.po"), demo.path}).status, EXIT_DONE);
    std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
    entries[1].msgstr = {"Bienvenue dans Wordsmith !"};
    entries[22].msgstr = {"Cr\u00e8me br\u00fbl\u00e9e"};
    entries[7].msgstr = {"Vide \u00e0 remplir"};  // an empty record filled
    entries[9].msgstr = {"Points : %d"};          // fuzzy: left alone
    entries[9].fuzzy = true;
    entries[12].msgstr = {entries[12].msgid};  // 45 bytes, equal: unchanged
    PoEntry obsolete = entries[2];
    obsolete.msgstr = {"Nouvelle partie"};
    obsolete.obsolete = true;
    entries.push_back(obsolete);  // obsolete: left alone
    writeCatalogue(demo.file("strings.po"), entries);

    const Outcome outcome = yox({"import", demo.file("strings.po"), demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
    EXPECT_EQ(outcome.out, "3 records changed\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(readFileBytes(demo.path), demo.withTexts({{0, "Bienvenue dans Wordsmith !"},
                                                        {21,
                                                         "Cr\xE8me br\xFBl\xE9"
                                                         "e"},
                                                        {6, "Vide \xE0 remplir"}}));
}

TEST(Import, AnyRefusedEntryLeavesTheFileByteIdentical) {
    struct Case {
        const char* what;
        std::function<void(std::vector<PoEntry>&)> edit;
        std::string appended;  // raw PO text after the catalogue
        std::string error;     // a part of the message
    };
    auto translate = [](int record, const std::string& text) {
        return [=](std::vector<PoEntry>& entries) { entries[record].msgstr = {text}; };
    };
    auto added = [](bool hasContext, const std::string& context, const std::string& msgid) {
        return [=](std::vector<PoEntry>& entries) {
            PoEntry entry;
            entry.hasContext = hasContext;
            entry.context = context;
            entry.msgid = msgid;
            entry.msgstr = {"translated"};
            entries.push_back(entry);
        };
    };
    const std::vector<Case> cases = {
        {"record 86", added(true, "record 86", "x"), "", "msgctxt \"record 86\" names no record"},
        {"record 0", added(true, "record 0", "x"), "", "msgctxt \"record 0\" names no record"},
        {"another context", added(true, "menu", "New game"), "", "msgctxt \"menu\" names no record"},
        {"no context", added(false, "", "Hello"), "", "no msgctxt names no record"},
        {"stale msgid",
         [](std::vector<PoEntry>& entries) {
             entries[5].msgid = "Options!";
             entries[5].msgstr = {"Optionen"};
         },
         "", "record 5: the msgid no longer matches the record's text"},
        {"character outside the code page", translate(5, "Options \u2615"), "",
         "record 5: the character U+2615"},
        {"over 39 bytes", translate(5, std::string(40, 'o')), "", "record 5: the text is 40 bytes"},
        {"zero character", translate(5, std::string("a\0b", 3)), "", "record 5: the text holds a zero"},
        {"malformed UTF-8", translate(5, "Opci\xF3n"), "", "record 5: the text is not valid UTF-8"},
        {"second entry for a record",
         [](std::vector<PoEntry>& entries) {
             entries[5].msgstr = {"Optionen"};
             entries.push_back(entries[5]);
         },
         "", "record 5: a second entry for the record"},
        {"plural forms",
         [](std::vector<PoEntry>& entries) {
             entries[5].hasPlural = true;
             entries[5].msgidPlural = "Options";
             entries[5].msgstr = {"Option", "Optionen"};
         },
         "", "record 5: a record has no plural forms"},
        {"charset",
         [](std::vector<PoEntry>& entries) {
             entries[0].msgstr = {"Content-Type: text/plain; charset=ISO-8859-1\n"};
         },
         "", "is in ISO-8859-1, not UTF-8"},
        {"malformed catalogue", [](std::vector<PoEntry>&) {}, "\nmsgid \"dangling\"\n",
         ":LINE: msgid without msgstr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DemoOnDisk demo;
        ASSERT_EQ(yox({"export", demo.file("strings.po"), demo.path}).status, EXIT_DONE);
        std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
        entries[1].msgstr = {"A good change"};  // which must not be written either
        c.edit(entries);
        writeCatalogue(demo.file("strings.po"), entries, c.appended);
        std::string error = c.error;
        if (error.compare(0, 6, ":LINE:") == 0) {  // the line of the appended msgid
            const std::string text = formatPo(entries);
            error.replace(1, 4, std::to_string(std::count(text.begin(), text.end(), '\n') + 2));
        }
        const Outcome outcome = yox({"import", demo.file("strings.po"), demo.path});
        EXPECT_EQ(outcome.status, EXIT_REFUSED);
        EXPECT_EQ(outcome.err.find("yox-strings: " + demo.file("strings.po")), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find(error), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(readFileBytes(demo.path), demo.original);
    }
}

TEST(Import, ReportsEveryBadEntryWithItsLine) {
    DemoOnDisk demo;
    ASSERT_EQ(yox({"export", demo.file("strings.po"), demo.path}).status, EXIT_DONE);
    std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
    entries[3].msgstr = {std::string(50, 'x')};
    entries[60].msgstr = {"\u2615"};
    writeCatalogue(demo.file("strings.po"), entries);
    const Outcome outcome = yox({"import", demo.file("strings.po"), demo.path});
    EXPECT_EQ(outcome.status, EXIT_REFUSED);
    EXPECT_EQ(outcome.err,
              "yox-strings: " + demo.file("strings.po") + ":" + std::to_string(entries[3].line) +
                  ": record 3: the text is 50 bytes in code page 1252; a record holds at most 39\n" +
                  "yox-strings: " + demo.file("strings.po") + ":" + std::to_string(entries[60].line) +
                  ": record 60: the character U+2615 \"\u2615\" cannot be written in code page 1252\n" +
                  "yox-strings: " + demo.path + " was not changed\n");
    EXPECT_EQ(readFileBytes(demo.path), demo.original);
}

TEST(Import, ChangesThatFitTogetherAreAppliedWhateverTheirOrder) {
    // Record 1 grows by 8 bytes, more than the room of 5 alone; record 2 ("New game")
    // shrinks in the same catalogue. Only the sum counts.
    const long room = 5;
    const std::string grown = "Welcome to Wordsmith!12345678";
    struct Case {
        std::string record2;
        bool fits;
    };
    const std::vector<Case> cases = {
        {"N", true},        // 7 shorter: 1 more in all
        {"New g", true},    // 3 shorter: 5 more, exactly the room
        {"New ga", false},  // 2 shorter: 6 more, one too many
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record2);
        DemoOnDisk demo(contentNearTheOffsetLimit(room));
        ASSERT_EQ(yox({"export", demo.file("strings.po"), demo.path}).status, EXIT_DONE);
        std::vector<PoEntry> entries = readCatalogue(demo.file("strings.po"));
        entries[1].msgstr = {grown};
        entries[2].msgstr = {c.record2};
        writeCatalogue(demo.file("strings.po"), entries);
        const Outcome outcome = yox({"import", demo.file("strings.po"), demo.path});
        if (c.fits) {
            EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
            EXPECT_EQ(outcome.out, "2 records changed\n");
            EXPECT_EQ(readFileBytes(demo.path), demo.withTexts({{0, grown}, {1, c.record2}}));
        } else {
            EXPECT_EQ(outcome.status, EXIT_REFUSED);
            EXPECT_NE(outcome.err.find("the text does not fit in the file"), std::string::npos)
                << outcome.err;
            EXPECT_EQ(readFileBytes(demo.path), demo.original);
        }
    }
}

TEST(Set, RefusesATextThatWouldPushAnOffsetPast65535) {
    const long room = 5;
    DemoOnDisk demo(contentNearTheOffsetLimit(room));
    const std::string first = demo.content.texts[0];
    Outcome outcome = yox({"set", "1", first + std::string(room + 1, '!'), demo.path});
    EXPECT_EQ(outcome.status, EXIT_REFUSED);
    EXPECT_EQ(
        outcome.err,
        "yox-strings: record 1: the text does not fit in the file: a later string would start past byte "
        "65535\n");
    EXPECT_EQ(readFileBytes(demo.path), demo.original);

    outcome = yox({"set", "1", first + std::string(room, '!'), demo.path});
    EXPECT_EQ(outcome.status, EXIT_DONE) << outcome.err;
    EXPECT_EQ(readFileBytes(demo.path), demo.withTexts({{0, first + std::string(room, '!')}}));
}

#ifndef _WIN32
// A set that must grow the file while the file size limit forbids it: the failed
// write is reported, not taken for success.
TEST(Set, AWriteFailureIsReported) {
    DemoContent content = demoContent();
    content.trailingSize = 0;
    DemoOnDisk demo(content);
    EXPECT_TRUE(holdsUnderFileSizeLimit(demo.original.size(), [&] {
        const Outcome outcome = yox({"set", "40", "Make this text longer", demo.path});
        return outcome.status == EXIT_REFUSED &&
               outcome.err ==
                   "yox-strings: " + demo.path + ": error writing the file; it may be part-written\n";
    })) << "the write failure was not reported";
}
#endif

}  // namespace
