// Code-page conversion with the Windows code-page API.
#include <windows.h>

#include "codepage.h"

namespace {

// The text as UTF-16; false when a byte sequence is no character of the code page.
bool toWide(const std::string& text, unsigned codePage, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(length);
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], length) == length;
}

// The UTF-16 text in the code page; false when a character has no exact equivalent.
bool fromWide(const std::wstring& wide, unsigned codePage, std::string& text) {
    text.clear();
    if (wide.empty()) return true;
    // UTF-8 takes neither the flag nor the used-default check; it holds every character.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultCheck = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultCheck);
    if (length <= 0 || usedDefault) return false;
    text.resize(length);
    return WideCharToMultiByte(codePage, flags, wide.data(), size, &text[0], length, nullptr,
                               usedDefaultCheck) == length &&
           !usedDefault;
}

}  // namespace

bool codePageAvailable(unsigned codePage) { return IsValidCodePage(codePage) != 0; }

bool toUtf8(const std::string& text, unsigned codePage, std::string& utf8) {
    std::wstring wide;
    std::string result;
    if (!toWide(text, codePage, wide) || !fromWide(wide, CP_UTF8, result)) return false;
    utf8 = result;
    return true;
}

bool fromUtf8(const std::string& utf8, unsigned codePage, std::string& text) {
    std::wstring wide;
    std::string result;
    if (!toWide(utf8, CP_UTF8, wide) || !fromWide(wide, codePage, result)) return false;
    text = result;
    return true;
}

std::string systemPath(const std::string& utf8) {
    std::wstring wide;
    std::string path;
    if (!toWide(utf8, CP_UTF8, wide)) return utf8;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return utf8;
    path.resize(length);
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &path[0], length, nullptr, nullptr);
    return path;
}
