// The program's entry: checks the system, runs the editor dialog, then drains the message queue.
#include <windows.h>

#include "editor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // No window is ever made from this class: registering it is only the check of the system.
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(EditorDialogProc);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = EDITOR_CAPTION;
    if (!RegisterClassA(&windowClass)) {
        MessageBoxA(nullptr, "This program requires Windows98!", EDITOR_CAPTION, MB_ICONERROR);
        return 0;
    }

    // A dialog that could not even be created posts no quit message: end here, not in the loop.
    if (DialogBoxParamA(instance, "EDITOR", nullptr, EditorDialogProc, 0) == -1) return 0;

    // Every way out of the dialog posts the quit message, whose code is the exit status.
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
