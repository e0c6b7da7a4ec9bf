// The editor dialog: steps through the 85 records of "Strings.dat" and writes a changed one back.
#include <windows.h>

#include "editor.h"
#include "strings_file.h"

namespace {

const char* const FILE_NAME = "Strings.dat";  // always in the current working directory

StringTable stringTable;  // the one table of the program, filled when the dialog starts
int currentRecord = 0;    // index of the shown record, 0 to RECORD_COUNT - 1
char recordNumber[12];    // the shown record's number as text, 1 to RECORD_COUNT

void showError(HWND dialog, const char* message) {
    MessageBoxA(dialog, message, EDITOR_CAPTION, MB_ICONERROR);
}

void showRecord(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TEXT, recordText(stringTable, currentRecord));
    wsprintfA(recordNumber, "%d", currentRecord + 1);
    SetDlgItemTextA(dialog, IDC_RECORD, recordNumber);
}

// A file that cannot be read as a strings file ends the program after its message; the
// quit message also ends the modal dialog, which is not shown yet.
void initialise(HWND dialog) {
    switch (load(stringTable, FILE_NAME)) {
        case FileResult::Ok:
            showRecord(dialog);
            return;
        case FileResult::BadFormat:
            showError(dialog, "Invalid file format!");
            break;
        default:
            showError(dialog, "Error opening file!");
            break;
    }
    PostQuitMessage(0);
}

void next(HWND dialog) {
    if (++currentRecord > RECORD_COUNT - 1) currentRecord = 0;
    showRecord(dialog);
}

void previous(HWND dialog) {
    if (--currentRecord < 0) currentRecord = RECORD_COUNT - 1;
    showRecord(dialog);
}

// Stores the first 39 characters of the text box as the shown record's text and rewrites
// the file. Neither box is refreshed: the text box keeps everything that was typed.
void write(HWND dialog) {
    if (MessageBoxA(dialog, "Modify Strings?", EDITOR_CAPTION, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    char text[TEXT_LIMIT] = "";
    GetDlgItemTextA(dialog, IDC_TEXT, text, TEXT_LIMIT);
    if (replaceText(stringTable, currentRecord, text) == ReplaceResult::DoesNotFit) {
        showError(dialog, "Text does not fit in the file!");
        return;
    }
    switch (save(stringTable, FILE_NAME)) {
        case FileResult::Ok:
            break;
        case FileResult::OpenFailed:
            showError(dialog, "Error opening file!");
            PostQuitMessage(0);
            break;
        case FileResult::WriteFailed:
            // The table keeps the new text, so the next Write rewrites the whole area.
            showError(dialog, "Error writing file!");
            break;
        case FileResult::BadFormat:
            showError(dialog, "Invalid file format!");
            break;
    }
}

void end(HWND dialog) {
    EndDialog(dialog, 0);
    PostQuitMessage(0);
}

}  // namespace

INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog);
            return TRUE;  // the focus goes to the first tab stop, "+"
        case WM_CLOSE:
            end(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_NEXT:
                    next(dialog);
                    break;
                case IDC_PREV:
                    previous(dialog);
                    break;
                case IDC_WRITE:
                    write(dialog);
                    break;
                case IDC_DONE:
                    end(dialog);
                    break;
                default:  // IDOK, IDCANCEL (Escape) and the edit boxes' notifications
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}
