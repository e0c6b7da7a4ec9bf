// The editor's resource and control ids, shared with the resource script, and its dialog procedure.
#pragma once

#define IDI_APP 105  // the program icon group

// Controls of the "EDITOR" dialog.
#define IDC_TEXT 1000    // the text of the shown record
#define IDC_NEXT 1001    // "+"
#define IDC_PREV 1002    // "-"
#define IDC_WRITE 1003   // "Write"
#define IDC_RECORD 1004  // the shown record's number, 1 to 85
#define IDC_DONE 1006    // "Done"

#ifndef RC_INVOKED
#include <windows.h>

// Every message box of the program carries this caption; the window class has this name.
#define EDITOR_CAPTION "YOX Strings Editor"

// The procedure of the "EDITOR" dialog: shows one record of "Strings.dat" at a time and
// writes a changed one back to the file.
INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
#endif
