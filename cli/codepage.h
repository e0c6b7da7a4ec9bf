// Converting texts between UTF-8 and a code page with the platform's own converter.
//
// Code pages are named by their Windows numbers (1252, 1251, 437, 932, ...; 65001 is
// UTF-8). On Windows the conversion is MultiByteToWideChar and WideCharToMultiByte;
// elsewhere it is iconv with the code page's "CP" name. A conversion never guesses:
// bytes that are no character of the code page, malformed UTF-8 and characters the
// code page cannot hold (no best-fit substitutes) make it fail.
#pragma once

#include <string>

// Whether the platform can convert to and from the code page.
bool codePageAvailable(unsigned codePage);

// The text, in the code page, as UTF-8. False when a byte sequence is no character.
bool toUtf8(const std::string& text, unsigned codePage, std::string& utf8);

// The UTF-8 text in the code page. False when the text is not well-formed UTF-8 or
// holds a character the code page cannot hold.
bool fromUtf8(const std::string& utf8, unsigned codePage, std::string& text);

// A path given as UTF-8 in the form the C library's fopen takes on this platform
// (the ANSI code page on Windows; unchanged elsewhere).
std::string systemPath(const std::string& utf8);
