// Waits for the editor's dialog to be on screen, or clicks its "Done": the demo's hands on a
// virtual display, where nobody else can close the editor.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "editor.h"

namespace {

const DWORD TIMEOUT_MS = 60000;  // the first start of Wine in a fresh prefix is slow

BOOL CALLBACK findEditor(HWND window, LPARAM found) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::strcmp(caption, EDITOR_CAPTION) == 0 &&
        GetDlgItem(window, IDC_TEXT)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForEditor() {
    const ULONGLONG deadline = GetTickCount64() + TIMEOUT_MS;
    HWND editor = nullptr;
    for (;;) {
        EnumWindows(findEditor, reinterpret_cast<LPARAM>(&editor));
        if (editor || GetTickCount64() > deadline) return editor;
        Sleep(20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool close = argc == 2 && std::strcmp(argv[1], "close") == 0;
    if (argc != 2 || (!close && std::strcmp(argv[1], "shown") != 0)) {
        std::fprintf(stderr, "usage: demo-window shown|close\n");
        return 2;
    }
    HWND editor = waitForEditor();
    if (!editor) {
        std::fprintf(stderr, "demo-window: the editor's dialog did not appear\n");
        return 1;
    }
    if (close) return PostMessageA(GetDlgItem(editor, IDC_DONE), BM_CLICK, 0, 0) ? 0 : 1;
    // Painted now, and every message before this one handled: what a screenshot then shows.
    RedrawWindow(editor, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(editor, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, TIMEOUT_MS, &result) ? 0 : 1;
}
