// The PO catalogue reader and writer: what gettext's tools write, malformed input, round trips.
#include "po_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

PoParseResult parse(const std::string& text) { return parsePo(text.data(), text.size()); }

// A catalogue as msgmerge and msgen leave it: header, comments of every kind, wrapped
// and multi-line strings, escapes, flags, a plural entry and obsolete entries.
const char* const GETTEXT_CATALOGUE = R"PO(# Translation of the word game.
# Copyright (C) 2026 Imaginary Games Ltd.
#
msgid ""
msgstr ""
"Project-Id-Version: Strings.dat\n"
"Content-Type: text/plain; charset=UTF-8\n"

#. At most 39 bytes in code page 1252.
#: game.c:10 game.c:12
msgctxt "record 1"
msgid "Welcome to Wordsmith!"
msgstr "Bienvenue dans Wordsmith !"

# A translator's note.
#. At most 39 bytes in code page 1252.
#. This text is 45 bytes.
#, fuzzy, c-format
#| msgctxt "record 9"
#| msgid "Score: %i"
msgctxt "record 9"
msgid "Score: %d"
msgstr "Points : %d"

msgctxt "record 12"
msgid ""
"Are you sure you want to quit "
"without saving?"
msgstr ""
"Line one\n"
"Line two\n"

msgid "Escapes"
msgstr "tab\t quote\" backslash\\ bell\a octal\101\7 hex\x41\x7e q\? apostrophe\'"

msgid "%d file"
msgid_plural "%d files"
msgstr[0] "%d fichier"
msgstr[1] "%d fichiers"

#, c-format
msgctxt   "record 14"
msgid	"No"
msgstr "Non"   

#~ msgctxt "record 90"
#~ msgid "Gone"
#~ msgstr "Parti"

#, fuzzy
#~| msgid "Old"
#~ msgid ""
#~ "Obsolete "
#~ "and fuzzy"
#~ msgstr "Vieux"
)PO";

TEST(ParsePo, ReadsWhatGettextToolsWrite) {
    const PoParseResult result = parse(GETTEXT_CATALOGUE);
    ASSERT_TRUE(result.ok) << "line " << result.errorLine << ": " << result.error;
    struct Expected {
        bool hasContext;
        std::string context, msgid;
        std::vector<std::string> msgstr;
        bool fuzzy, obsolete;
        int line;
        size_t extracted;
    };
    const std::vector<Expected> expected = {
        {false,
         "",
         "",
         {"Project-Id-Version: Strings.dat\nContent-Type: text/plain; charset=UTF-8\n"},
         false,
         false,
         4,
         0},
        {true, "record 1", "Welcome to Wordsmith!", {"Bienvenue dans Wordsmith !"}, false, false, 11, 1},
        {true, "record 9", "Score: %d", {"Points : %d"}, true, false, 21, 2},
        {true,
         "record 12",
         "Are you sure you want to quit without saving?",
         {"Line one\nLine two\n"},
         false,
         false,
         25,
         0},
        {false,
         "",
         "Escapes",
         {"tab\t quote\" backslash\\ bell\a octalA\7 hexA~ q? apostrophe'"},
         false,
         false,
         33,
         0},
        {false, "", "%d file", {"%d fichier", "%d fichiers"}, false, false, 36, 0},
        {true, "record 14", "No", {"Non"}, false, false, 42, 0},
        {true, "record 90", "Gone", {"Parti"}, false, true, 46, 0},
        {false, "", "Obsolete and fuzzy", {"Vieux"}, true, true, 52, 0},
    };
    ASSERT_EQ(result.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const PoEntry& entry = result.entries[i];
        EXPECT_EQ(entry.hasContext, expected[i].hasContext);
        EXPECT_EQ(entry.context, expected[i].context);
        EXPECT_EQ(entry.msgid, expected[i].msgid);
        EXPECT_EQ(entry.msgstr, expected[i].msgstr);
        EXPECT_EQ(entry.fuzzy, expected[i].fuzzy);
        EXPECT_EQ(entry.obsolete, expected[i].obsolete);
        EXPECT_EQ(entry.line, expected[i].line);
        EXPECT_EQ(entry.extracted.size(), expected[i].extracted);
    }
    EXPECT_TRUE(result.entries[5].hasPlural);
    EXPECT_EQ(result.entries[5].msgidPlural, "%d files");
    EXPECT_EQ(result.entries[2].extracted[1], "This text is 45 bytes.");
}

TEST(ParsePo, WindowsLineEndsAndAByteOrderMarkReadTheSame) {
    std::string windows = "\xEF\xBB\xBF";
    for (const char* c = GETTEXT_CATALOGUE; *c; ++c) {
        if (*c == '\n') windows += '\r';
        windows += *c;
    }
    windows += "#. a comment with a stray carriage return\r\r\nmsgid \"x\"\r\nmsgstr \"\"\r\n";
    const PoParseResult plain =
        parse(std::string(GETTEXT_CATALOGUE) +
              "#. a comment with a stray carriage return\nmsgid \"x\"\nmsgstr \"\"\n");
    const PoParseResult converted = parse(windows);
    ASSERT_TRUE(converted.ok) << "line " << converted.errorLine << ": " << converted.error;
    ASSERT_EQ(converted.entries.size(), plain.entries.size());
    for (size_t i = 0; i < plain.entries.size(); ++i) {
        EXPECT_EQ(converted.entries[i].msgid, plain.entries[i].msgid);
        EXPECT_EQ(converted.entries[i].msgstr, plain.entries[i].msgstr);
        EXPECT_EQ(converted.entries[i].line, plain.entries[i].line);
        EXPECT_EQ(converted.entries[i].extracted, plain.entries[i].extracted);
    }
}

TEST(ParsePo, EmptyInputAndCommentsAloneHoldNoEntries) {
    for (const char* text : {"", "\n\n", "# only a comment\n#. and another", "\xEF\xBB\xBF"}) {
        const PoParseResult result = parse(text);
        EXPECT_TRUE(result.ok) << text;
        EXPECT_TRUE(result.entries.empty()) << text;
    }
}

TEST(ParsePo, RejectsMalformedInputWithTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"msgid \"a\"\n", 1, "msgid without msgstr"},
        {"msgctxt \"c\"\n\nmsgstr \"x\"\n", 3, "msgstr without msgid"},
        {"msgctxt \"c\"\n", 1, "msgctxt without msgid"},
        {"msgstr \"x\"\n", 1, "msgstr without msgid"},
        {"msgid \"a\"\nmsgid \"b\"\nmsgstr \"\"\n", 2, "msgid inside an entry"},
        {"msgid \"a\"\nmsgstr \"x\"\nmsgid_plural \"b\"\n", 3, "msgid_plural without msgid"},
        {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr \"x\"\n", 3, "msgid_plural needs msgstr[0]"},
        {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr[1] \"x\"\n", 3, "msgstr[N] out of order"},
        {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr[0] \"x\"\nmsgstr[2] \"y\"\n", 4, "msgstr[N] out of order"},
        {"msgid \"a\"\nmsgstr[0] \"x\"\n", 2, "msgstr[N] without msgid_plural"},
        {"msgid \"a\"\nmsgstr[x] \"x\"\n", 2, "malformed msgstr[N]"},
        {"\n\nmsgid \"a\nmsgstr \"\"\n", 3, "not terminated"},
        {"msgid \"a\\\n", 1, "not terminated"},
        {"msgid \"a\" \"b\"\nmsgstr \"\"\n", 1, "unexpected text after the string"},
        {"msgid a\nmsgstr \"\"\n", 1, "a quoted string was expected"},
        {"msgid \"\\q\"\nmsgstr \"\"\n", 1, "invalid escape sequence \\q"},
        {"msgid \"\\x\"\nmsgstr \"\"\n", 1, "\\x without hexadecimal digits"},
        {"msgid \"\\777\"\nmsgstr \"\"\n", 1, "octal escape out of range"},
        {"msgid \"a\"\nmsgstr \"\"\nmsgtxt \"b\"\n", 3, "unknown keyword msgtxt"},
        {"msgid \"a\"\nmsgstr \"\"\nhello \"x\"\n", 3, "unknown keyword hello"},
        {"msgid \"a\"\nmsgstr \"\"\n123\n", 3, "unexpected text"},
        {"\"orphan\"\n", 1, "a string without a keyword"},
        {"msgid \"a\"\nmsgstr \"\"\n# note\n\"more\"\n", 4, "a string without a keyword"},
        {"msgid \"a\"\n# note\nmsgstr \"\"\n", 2, "a comment inside an entry"},
        {"#~ msgid \"a\"\nmsgstr \"\"\n", 2, "mixes obsolete"},
        {"msgid \"a\"\nmsgstr \"\"\n#~ \"b\"\n", 3, "mixes obsolete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PoParseResult result = parse(c.text);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorLine, c.line);
        EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
        EXPECT_TRUE(result.entries.empty());
    }
}

TEST(FormatPo, WhatItWritesReadsBackTheSame) {
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) everyByte += static_cast<char>(byte);
    std::vector<PoEntry> entries(6);
    entries[0].msgstr = {"Content-Type: text/plain; charset=UTF-8\n"};
    entries[1].hasContext = true;
    entries[1].context = "record 1";
    entries[1].msgid = everyByte;
    entries[1].msgstr = {"\"quoted\" \\ and a trailing newline\n"};
    entries[1].extracted = {"At most 39 bytes.", "two\nlines"};
    entries[2].hasContext = true;
    entries[2].context = "";
    entries[2].msgid = "\n\nstarts with newlines, then\nmore";
    entries[2].msgstr = {
        "\x01\x02"
        "7 octal before a digit"};
    entries[2].fuzzy = true;
    entries[3].msgid = "one";
    entries[3].hasPlural = true;
    entries[3].msgidPlural = "many";
    entries[3].msgstr = {"un", "", "beaucoup\n\n"};
    entries[4].msgid = "obsolete\nover lines";
    entries[4].msgstr = {"vieux"};
    entries[4].obsolete = true;
    entries[4].fuzzy = true;
    entries[5].msgid = "\xC3\xA9t\xC3\xA9";
    entries[5].msgstr = {""};

    const std::string text = formatPo(entries);
    const PoParseResult result = parse(text);
    ASSERT_TRUE(result.ok) << "line " << result.errorLine << ": " << result.error << "\n" << text;
    ASSERT_EQ(result.entries.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const PoEntry& read = result.entries[i];
        EXPECT_EQ(read.hasContext, entries[i].hasContext);
        EXPECT_EQ(read.context, entries[i].context);
        EXPECT_EQ(read.msgid, entries[i].msgid);
        EXPECT_EQ(read.hasPlural, entries[i].hasPlural);
        EXPECT_EQ(read.msgidPlural, entries[i].msgidPlural);
        EXPECT_EQ(read.msgstr, entries[i].msgstr);
        EXPECT_EQ(read.fuzzy, entries[i].fuzzy);
        EXPECT_EQ(read.obsolete, entries[i].obsolete);
    }
    EXPECT_EQ(result.entries[1].extracted, (std::vector<std::string>{"At most 39 bytes.", "two", "lines"}));
}

TEST(FormatPo, SplitsMultiLineTextsAfterEachNewlineAsGettextDoes) {
    PoEntry entry;
    entry.hasContext = true;
    entry.context = "record 3";
    entry.msgid = "a\nb";
    entry.msgstr = {"one line\n"};
    entry.extracted = {"At most 39 bytes in code page 1252."};
    EXPECT_EQ(formatPo({entry}),
              "#. At most 39 bytes in code page 1252.\n"
              "msgctxt \"record 3\"\n"
              "msgid \"\"\n"
              "\"a\\n\"\n"
              "\"b\"\n"
              "msgstr \"one line\\n\"\n");
}

// Every cut and many one-byte changes of a real catalogue: a result, never a crash, and
// an error line inside the input. (Under the sanitizers this also checks every read.)
TEST(ParsePo, DamagedCataloguesGiveAResultWithALineInTheInput) {
    const std::string good = GETTEXT_CATALOGUE;
    const int lines = 1 + static_cast<int>(std::count(good.begin(), good.end(), '\n'));
    auto checkDamaged = [&](const std::string& text) {
        const PoParseResult result = parse(text);
        if (!result.ok) {
            EXPECT_GE(result.errorLine, 1);
            EXPECT_LE(result.errorLine, lines);
            EXPECT_FALSE(result.error.empty());
        }
    };
    for (size_t cut = 0; cut <= good.size(); ++cut) checkDamaged(good.substr(0, cut));
    const char replacements[] = {'"', '\\', '\n', '#', '~', '[', '\0', '\xFF', ' '};
    for (size_t at = 0; at < good.size(); at += 3) {
        for (const char replacement : replacements) {
            std::string damaged = good;
            damaged[at] = replacement;
            checkDamaged(damaged);
        }
    }
}

}  // namespace
