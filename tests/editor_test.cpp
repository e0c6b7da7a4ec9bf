// The real editor program under Wine, driven as a user would: it is started in a scratch
// folder holding a generated "Strings.dat", its dialog is found by caption and process,
// its buttons are clicked, keys are pressed, its message boxes are answered, and the
// file's bytes and the exit status are checked.
#include "editor.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "strings_file.h"
#include "test_files.h"

namespace {

const DWORD TIMEOUT_MS = 10000;      // for each awaited condition; a healthy run needs far less
const int MESSAGE_TEXT_ID = 0xFFFF;  // a message box's text (and, in the editor, "Record:")

// Polls the condition until it holds or the timeout passes.
template <typename Condition>
bool waitFor(Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + TIMEOUT_MS;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(2);
    }
    return true;
}

// CMake gives Linux paths; Wine shows the Linux root as drive Z:.
std::string windowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a window of the editor's process, as that process holds it.
std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, TIMEOUT_MS, &length))
        return "<no answer>";
    std::vector<char> text(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, TIMEOUT_MS, &copied);
    return std::string(text.data(), copied);
}

BOOL CALLBACK collectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The first visible dialog-class top-level window of the process that holds a control
// with the id wanted and none with the id unwanted.
HWND findDialog(DWORD processId, int wanted, int unwanted) {
    std::vector<HWND> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && className(window) == "#32770" &&
            GetDlgItem(window, wanted) && !GetDlgItem(window, unwanted))
            return window;
    }
    return nullptr;
}

int controlId(HWND control) { return control ? GetDlgCtrlID(control) : 0; }

// Screen pixels of the window, saved as a 24-bit BMP file.
bool saveScreenshot(HWND window, const std::string& path) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return false;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD rowSize = static_cast<DWORD>(width * 3 + 3) / 4 * 4;  // rows end on 4-byte boundaries
    const DWORD imageSize = rowSize * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    bool written = false;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                  std::fwrite(pixels, 1, imageSize, file) == imageSize;
        written = std::fclose(file) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied && written;
}

// Where the first difference between two files lies, for readable failures.
std::string firstDifference(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return "none";
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return "at byte " + std::to_string(at) + " of " + std::to_string(actual.size()) + " (expected " +
           std::to_string(expected.size()) + " bytes)";
}

struct MessageBoxSeen {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string caption, text;
    bool hasOk = false, hasYesNo = false;
};

// One run of the editor in a scratch folder, and the user's actions on it.
struct EditorRun {
    ScratchFolder folder;
    const std::string path = folder.file("Strings.dat");
    DemoContent content = demoContent();
    Bytes original;
    PROCESS_INFORMATION process = {};
    HWND dialog = nullptr;
    int shownRecord = 0;  // 1 to 85, as the number box shows it

    EditorRun() = default;
    EditorRun(const EditorRun&) = delete;
    EditorRun& operator=(const EditorRun&) = delete;
    ~EditorRun() {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                ADD_FAILURE() << "the editor was still running";
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, TIMEOUT_MS);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }

    void writeFile(const DemoContent& chosen) {
        content = chosen;
        original = buildFile(content);
        ASSERT_TRUE(writeFileBytes(path, original));
    }

    // Starts the editor in the scratch folder without waiting for its dialog.
    void launch(const std::string& arguments = "") {
        std::string commandLine = "\"" + windowsPath(EDITOR_EXE) + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.path.string().c_str(), &startup, &process))
            << "cannot start " << commandLine;
    }

    // Starts the editor on the demo file and waits for its dialog.
    void start(const std::string& arguments = "") {
        if (original.empty()) writeFile(content);
        launch(arguments);
        ASSERT_TRUE(waitFor([&] {
            return (dialog = findDialog(process.dwProcessId, IDC_TEXT, 0)) != nullptr;
        })) << "no editor dialog appeared";
        EXPECT_EQ(className(dialog), "#32770");
        EXPECT_EQ(windowText(dialog), "YOX Strings Editor");
        shownRecord = 1;
        expectShows(1);
    }

    std::string text(int id) { return windowText(GetDlgItem(dialog, id)); }
    void setText(int id, const std::string& value) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                                        reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG, TIMEOUT_MS,
                                        &result));
    }

    // Posted, as a click is: a button that opens a message box does not return until it closes.
    void click(int id) { ASSERT_TRUE(PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0)); }

    // Returns once the editor has handled everything sent or posted to it before.
    void sync() {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, TIMEOUT_MS, &result));
    }

    HWND focus() {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(process.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }

    // A key pressed and released while the keyboard focus is where it is.
    void press(UINT key) {
        HWND target = focus();
        ASSERT_TRUE(target) << "no keyboard focus in the editor";
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    }

    void expectFocusOn(int id) {
        EXPECT_TRUE(waitFor([&] { return controlId(focus()) == id; }))
            << "focus on control " << controlId(focus()) << ", expected " << id;
    }

    void expectShows(int number) {
        const std::string wanted = std::to_string(number);
        ASSERT_TRUE(waitFor([&] { return text(IDC_RECORD) == wanted; }))
            << "record box shows " << text(IDC_RECORD) << ", expected " << wanted;
        EXPECT_EQ(text(IDC_TEXT), content.texts[number - 1]) << "record " << number;
        shownRecord = number;
    }

    // Steps with "+" or "-", whichever is shorter, to the record numbered 1 to 85.
    void goTo(int number) {
        while (shownRecord != number) {
            const bool forward = (number - shownRecord + RECORD_COUNT) % RECORD_COUNT <= RECORD_COUNT / 2;
            click(forward ? IDC_NEXT : IDC_PREV);
            const int next = forward ? shownRecord % RECORD_COUNT + 1
                                     : (shownRecord + RECORD_COUNT - 2) % RECORD_COUNT + 1;
            ASSERT_NO_FATAL_FAILURE(expectShows(next));
        }
    }

    MessageBoxSeen waitForMessageBox() {
        MessageBoxSeen seen;
        EXPECT_TRUE(waitFor([&] {
            return (seen.box = findDialog(process.dwProcessId, MESSAGE_TEXT_ID, IDC_TEXT)) != nullptr;
        })) << "no message box appeared";
        if (!seen.box) return seen;
        seen.owner = GetWindow(seen.box, GW_OWNER);
        seen.caption = windowText(seen.box);
        seen.text = windowText(GetDlgItem(seen.box, MESSAGE_TEXT_ID));
        seen.hasOk = GetDlgItem(seen.box, IDOK) != nullptr;
        seen.hasYesNo = GetDlgItem(seen.box, IDYES) && GetDlgItem(seen.box, IDNO);
        return seen;
    }

    void answer(const MessageBoxSeen& seen, int button) {
        ASSERT_TRUE(PostMessageA(GetDlgItem(seen.box, button), BM_CLICK, 0, 0));
        EXPECT_TRUE(waitFor([&] { return !IsWindow(seen.box); })) << "the message box stayed";
    }

    // An error box over the editor: its text, the caption and a lone OK, which is clicked.
    void expectError(const char* message) {
        const MessageBoxSeen seen = waitForMessageBox();
        ASSERT_TRUE(seen.box);
        EXPECT_EQ(seen.text, message);
        EXPECT_EQ(seen.caption, "YOX Strings Editor");
        EXPECT_TRUE(seen.hasOk && !seen.hasYesNo);
        if (dialog) {
            EXPECT_EQ(seen.owner, dialog);
        }
        answer(seen, IDOK);
    }

    // Types the text into the box, clicks "Write" and answers the question.
    void write(const std::string& typed, int answerButton) {
        setText(IDC_TEXT, typed);
        click(IDC_WRITE);
        const MessageBoxSeen seen = waitForMessageBox();
        ASSERT_TRUE(seen.box);
        EXPECT_EQ(seen.text, "Modify Strings?");
        EXPECT_EQ(seen.caption, "YOX Strings Editor");
        EXPECT_EQ(seen.owner, dialog);
        EXPECT_TRUE(seen.hasYesNo);
        answer(seen, answerButton);
    }

    // Waits for the editor to end, which it must do with status 0.
    void expectExitStatusZero() {
        ASSERT_EQ(WaitForSingleObject(process.hProcess, TIMEOUT_MS), WAIT_OBJECT_0)
            << "the editor did not end";
        DWORD status = 1;
        GetExitCodeProcess(process.hProcess, &status);
        EXPECT_EQ(status, 0u);
    }

    void done() {
        click(IDC_DONE);
        expectExitStatusZero();
    }

    void expectFile(const Bytes& wanted) {
        const Bytes actual = readFileBytes(path);
        EXPECT_TRUE(actual == wanted) << "the file differs " << firstDifference(actual, wanted);
    }

    // Records that the record numbered 1 to 85 now holds the text, as the file must show it.
    Bytes expected;  // what the file must hold; empty until a write
    void nowHolds(int number, const std::string& stored) {
        if (expected.empty()) expected = original;
        content.texts[number - 1] = stored;
        layOut(expected, content);
    }
};

TEST(Editor, StartsOnRecordOneWithTheFocusOnPlusWhateverTheArguments) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start("Other.dat /write 7"));
    run.expectFocusOn(IDC_NEXT);
    // The screen as a user sees it: the dialog laid out by its template.
    RedrawWindow(run.dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    run.sync();
    EXPECT_TRUE(saveScreenshot(run.dialog, windowsPath(SCREENSHOT_FILE)));
    run.done();
    run.expectFile(run.original);
}

TEST(Editor, PlusAndMinusStepThroughEveryRecordWithWrapAround) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start());
    run.click(IDC_PREV);
    run.expectShows(85);
    run.click(IDC_NEXT);
    run.expectShows(1);
    for (int number = 2; number <= RECORD_COUNT; ++number) {
        run.click(IDC_NEXT);
        ASSERT_NO_FATAL_FAILURE(run.expectShows(number));
    }
    run.click(IDC_NEXT);
    run.expectShows(1);
    // Text typed and not written is dropped by a step, without a question.
    run.setText(IDC_TEXT, "Typed but never written");
    run.click(IDC_NEXT);
    run.expectShows(2);
    run.click(IDC_PREV);
    run.expectShows(1);
    run.done();
    run.expectFile(run.original);
}

TEST(Editor, WriteWithYesRewritesTheFileWithTheFirst39CharactersOfTheBox) {
    const std::string tooLong = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJ";  // 46 characters
    struct Write {
        std::string typed, stored;
    };
    struct Case {
        const char* what;
        int record;  // 1 to 85
        std::vector<Write> writes;
    };
    const std::vector<Case> cases = {
        {"a shorter text, first record", 1, {{"Hi", "Hi"}}},
        {"a longer text, middle record",
         42,
         {{"Hints left in this round: %d", "Hints left in this round: %d"}}},
        {"more than 39 characters", 12, {{tooLong, tooLong.substr(0, MAX_TEXT_LENGTH)}}},
        {"an empty text", 11, {{"", ""}}},
        {"the last record: only the tail moves",
         85,
         {{"\xA1Otra vez, por favor!", "\xA1Otra vez, por favor!"}}},
        {"one record written twice",
         2,
         {{"A much longer text than before!", "A much longer text than before!"}, {"Brief", "Brief"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRun run;
        ASSERT_NO_FATAL_FAILURE(run.start());
        ASSERT_NO_FATAL_FAILURE(run.goTo(c.record));
        for (const Write& write : c.writes) {
            run.write(write.typed, IDYES);
            run.sync();
            EXPECT_EQ(run.text(IDC_TEXT), write.typed);  // the box keeps all that was typed
            EXPECT_EQ(run.text(IDC_RECORD), std::to_string(c.record));
            run.nowHolds(c.record, write.stored);
            run.expectFile(run.expected);
        }
        // Leaving the record and coming back shows what it now holds.
        run.click(IDC_NEXT);
        run.expectShows(c.record % RECORD_COUNT + 1);
        run.click(IDC_PREV);
        run.expectShows(c.record);
        run.done();
        run.expectFile(run.expected);
    }
}

TEST(Editor, WriteWithNoChangesNeitherTheRecordNorTheFile) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start());
    run.goTo(3);
    run.write("Not wanted after all", IDNO);
    run.sync();
    EXPECT_EQ(run.text(IDC_TEXT), "Not wanted after all");
    run.expectFile(run.original);
    run.click(IDC_NEXT);
    run.expectShows(4);
    run.click(IDC_PREV);
    run.expectShows(3);
    run.done();
    run.expectFile(run.original);
}

TEST(Editor, KeyboardTabsInTemplateOrderEnterStepsAndEscapeDoesNothing) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start());
    run.expectFocusOn(IDC_NEXT);
    for (int id : {IDC_PREV, IDC_TEXT, IDC_WRITE, IDC_DONE, IDC_NEXT}) {
        run.press(VK_TAB);
        run.expectFocusOn(id);
    }
    // Escape is handled before the click that follows it; the dialog stays.
    run.press(VK_ESCAPE);
    run.click(IDC_NEXT);
    run.expectShows(2);
    EXPECT_TRUE(IsWindowVisible(run.dialog));
    // Enter in the text box acts as "+" and drops the typed text.
    run.press(VK_TAB);
    run.press(VK_TAB);
    run.expectFocusOn(IDC_TEXT);
    run.setText(IDC_TEXT, "Typed, then Enter");
    run.press(VK_RETURN);
    run.expectShows(3);
    run.click(IDC_PREV);
    run.expectShows(2);
    run.done();
    run.expectFile(run.original);
}

TEST(Editor, DoneAndTheCloseBoxEndWithStatusZero) {
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool toDoneButton;
    };
    const Case cases[] = {
        {"Done", BM_CLICK, 0, 0, true},
        {"the close box", WM_SYSCOMMAND, SC_CLOSE, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRun run;
        ASSERT_NO_FATAL_FAILURE(run.start());
        run.click(IDC_NEXT);
        run.expectShows(2);
        PostMessageA(c.toDoneButton ? GetDlgItem(run.dialog, IDC_DONE) : run.dialog, c.message, c.wParam,
                     c.lParam);
        run.expectExitStatusZero();
        run.expectFile(run.original);
    }
}

TEST(Editor, AFileThatCannotBeReadEndsTheProgramAfterItsMessage) {
    const Bytes good = buildFile(demoContent());
    struct Case {
        const char* what;
        bool present;
        Bytes file;
        const char* message;
    };
    Bytes backToBackBroken = good;
    backToBackBroken[TABLE_OFFSET + 4 * 30] ^= 1;  // record 30 starts one byte off
    const std::vector<Case> cases = {
        {"no file", false, {}, "Error opening file!"},
        {"a file that ends inside the offset table", true, Bytes(good.begin(), good.begin() + TABLE_END - 1),
         "Invalid file format!"},
        {"strings not back to back", true, backToBackBroken, "Invalid file format!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRun run;
        if (c.present) {
            ASSERT_TRUE(writeFileBytes(run.path, c.file));
        }
        ASSERT_NO_FATAL_FAILURE(run.launch());
        // The box comes before the dialog is shown, and is owned by it.
        const MessageBoxSeen seen = run.waitForMessageBox();
        ASSERT_TRUE(seen.box);
        EXPECT_EQ(seen.text, c.message);
        EXPECT_EQ(seen.caption, "YOX Strings Editor");
        EXPECT_TRUE(seen.hasOk && !seen.hasYesNo);
        EXPECT_TRUE(seen.owner && !IsWindowVisible(seen.owner));
        run.answer(seen, IDOK);
        run.expectExitStatusZero();
        if (c.present) {
            run.expectFile(c.file);
        } else {
            EXPECT_EQ(GetFileAttributesA(run.path.c_str()), INVALID_FILE_ATTRIBUTES)
                << "the file was created";
        }
    }
}

TEST(Editor, AFileRemovedBeforeAWriteEndsTheProgramAfterItsMessage) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start());
    ASSERT_TRUE(DeleteFileA(run.path.c_str()));
    run.write("Where did it go?", IDYES);
    run.expectError("Error opening file!");
    run.expectExitStatusZero();
    EXPECT_EQ(GetFileAttributesA(run.path.c_str()), INVALID_FILE_ATTRIBUTES) << "the file was created";
}

TEST(Editor, TextThatWouldPushAnOffsetPast65535IsRefusedAndChangesNothing) {
    EditorRun run;
    run.writeFile(contentNearTheOffsetLimit(5));
    ASSERT_NO_FATAL_FAILURE(run.start());
    run.write(run.content.texts[0] + "123456", IDYES);  // 6 bytes longer: 1 too many
    run.expectError("Text does not fit in the file!");
    run.sync();
    run.expectFile(run.original);
    EXPECT_TRUE(IsWindowVisible(run.dialog));
    // The table kept its offsets: a write that fits lays the file out from them.
    run.write("Hello", IDYES);
    run.sync();
    run.nowHolds(1, "Hello");
    run.expectFile(run.expected);
    run.done();
}

// Wine shows a Windows path's Linux name; the test links and unlinks there.
std::string linuxPath(const std::string& windows) {
    using ToLinux = char*(CDECL*)(const wchar_t*);
    auto toLinux = reinterpret_cast<ToLinux>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toLinux) return "";
    const std::wstring wide(windows.begin(), windows.end());
    char* name = toLinux(wide.c_str());
    if (!name) return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs shell commands in the folder as a Linux process, which Wine starts as it starts
// Windows programs, and waits until they have finished (a file they make at the end shows it).
bool runLinuxCommands(const ScratchFolder& folder, const std::string& commands) {
    const std::string directory = linuxPath(folder.path.string());
    const std::string finished = folder.file("commands-finished");
    if (directory.empty()) return false;
    std::string commandLine =
        "/bin/sh -c \"cd '" + directory + "' && " + commands + " && touch commands-finished\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION shell = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &shell))
        return false;
    CloseHandle(shell.hThread);
    CloseHandle(shell.hProcess);
    const bool done =
        waitFor([&] { return GetFileAttributesA(finished.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileA(finished.c_str());
    return done;
}

TEST(Editor, AFailedWriteIsReportedAndALaterWriteRepairsTheFile) {
    EditorRun run;
    ASSERT_NO_FATAL_FAILURE(run.start());
    run.goTo(40);
    // The file is swapped, after loading, for a link to the device that refuses every write.
    ASSERT_TRUE(runLinuxCommands(run.folder, "mv Strings.dat Strings.real && ln -s /dev/full Strings.dat"));
    run.write("Shuffle the letters", IDYES);
    run.expectError("Error writing file!");
    run.sync();
    EXPECT_TRUE(IsWindowVisible(run.dialog));
    EXPECT_EQ(readFileBytes(run.folder.file("Strings.real")), run.original);

    ASSERT_TRUE(runLinuxCommands(run.folder, "rm Strings.dat && mv Strings.real Strings.dat"));
    run.write("Shuffle the letters", IDYES);
    run.sync();
    run.nowHolds(40, "Shuffle the letters");
    run.expectFile(run.expected);
    run.done();
}

// The "EDITOR" dialog template, read from the program file as Windows reads it.
struct TemplateReader {
    const unsigned char* at;
    WORD word() {
        WORD value;
        std::memcpy(&value, at, 2);
        at += 2;
        return value;
    }
    DWORD dword() {
        const DWORD low = word();
        return low | static_cast<DWORD>(word()) << 16;
    }
    short number() { return static_cast<short>(word()); }
    // A name or ordinal: 0 for none, 0xFFFF then an ordinal, else a zero-terminated UTF-16
    // text. The predefined control classes come as names or as their ordinals.
    std::string nameOrOrdinal() {
        const WORD first = word();
        if (first == 0) return "";
        if (first == 0xFFFF) {
            const WORD ordinal = word();
            const char* const classes[] = {"BUTTON", "EDIT", "STATIC"};
            return ordinal >= 0x80 && ordinal <= 0x82 ? classes[ordinal - 0x80]
                                                      : "#" + std::to_string(ordinal);
        }
        std::string text(1, static_cast<char>(first));
        for (WORD c = word(); c != 0; c = word()) text += static_cast<char>(c);
        return text;
    }
    void alignToDword(const unsigned char* start) {
        while ((at - start) % 4) ++at;
    }
};

TEST(EditorProgramFile, HoldsTheDialogTemplateIconManifestAndVersion) {
    HMODULE program = LoadLibraryExA(windowsPath(EDITOR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    HRSRC found = FindResourceA(program, "EDITOR", MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_TRUE(found);
    const auto* start = static_cast<const unsigned char*>(LockResource(LoadResource(program, found)));
    TemplateReader reader{start};
    EXPECT_EQ(reader.dword(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                                 DS_CENTER | DS_SETFONT));  // standard template: no signature
    EXPECT_EQ(reader.dword(), 0u);                                          // extended styles
    const WORD count = reader.word();
    const short frame[4] = {reader.number(), reader.number(), reader.number(), reader.number()};
    EXPECT_EQ(std::vector<short>(frame, frame + 4), (std::vector<short>{0, 0, 161, 94}));
    EXPECT_EQ(reader.nameOrOrdinal(), "");  // no menu
    EXPECT_EQ(reader.nameOrOrdinal(), "");  // the system's dialog class
    EXPECT_EQ(reader.nameOrOrdinal(), "YOX Strings Editor");
    EXPECT_EQ(reader.word(), 8);
    EXPECT_EQ(reader.nameOrOrdinal(), "MS Sans Serif");

    struct Control {
        int id;
        std::string windowClass, text;
        short x, y, width, height;
        DWORD style;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const std::vector<Control> expected = {
        {IDC_NEXT, "BUTTON", "+", 133, 50, 20, 14, child | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDC_PREV, "BUTTON", "-", 5, 50, 20, 14, child | BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_TEXT, "EDIT", "", 5, 29, 147, 15, child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_WRITE, "BUTTON", "Write", 53, 50, 55, 15, child | BS_PUSHBUTTON | WS_TABSTOP},
        {0xFFFF, "STATIC", "Record:", 89, 9, 27, 10, child | SS_LEFT | WS_GROUP},
        {IDC_RECORD, "EDIT", "", 123, 7, 24, 12, child | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
        {IDC_DONE, "BUTTON", "Done", 115, 75, 40, 15, child | BS_PUSHBUTTON | WS_TABSTOP},
    };
    ASSERT_EQ(count, expected.size());
    for (const Control& control : expected) {
        SCOPED_TRACE("control " + std::to_string(control.id));
        reader.alignToDword(start);
        EXPECT_EQ(reader.dword(), control.style);
        EXPECT_EQ(reader.dword(), 0u);
        const short place[4] = {reader.number(), reader.number(), reader.number(), reader.number()};
        EXPECT_EQ(std::vector<short>(place, place + 4),
                  (std::vector<short>{control.x, control.y, control.width, control.height}));
        EXPECT_EQ(reader.word(), control.id);
        EXPECT_EQ(reader.nameOrOrdinal(), control.windowClass);
        EXPECT_EQ(reader.nameOrOrdinal(), control.text);
        EXPECT_EQ(reader.word(), 0);  // no creation data
    }

    // Icon group 105: one 32 x 32 image in 16 colours; its bitmap counts the mask's rows too.
    found = FindResourceA(program, MAKEINTRESOURCEA(IDI_APP), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_TRUE(found);
    TemplateReader group{static_cast<const unsigned char*>(LockResource(LoadResource(program, found)))};
    EXPECT_EQ(group.word(), 0);
    EXPECT_EQ(group.word(), 1);
    ASSERT_EQ(group.word(), 1);
    const WORD size = group.word(), colours = group.word();
    EXPECT_EQ(size, 32 | 32 << 8);
    EXPECT_EQ(colours, 16);
    group.dword();  // planes and bits per pixel, as the image header gives them
    group.dword();  // bytes in the image
    const WORD image = group.word();
    found = FindResourceA(program, MAKEINTRESOURCEA(image), MAKEINTRESOURCEA(3));  // RT_ICON
    ASSERT_TRUE(found);
    BITMAPINFOHEADER header;
    std::memcpy(&header, LockResource(LoadResource(program, found)), sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);
    EXPECT_EQ(header.biBitCount, 4);

    found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_TRUE(found);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
    EXPECT_TRUE(FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)));  // RT_VERSION
    FreeLibrary(program);
}

}  // namespace
