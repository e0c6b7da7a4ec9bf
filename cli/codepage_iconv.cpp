// Code-page conversion with iconv (Linux and other POSIX systems).
#include <errno.h>
#include <iconv.h>

#include "codepage.h"

namespace {

// iconv_open returns (iconv_t)-1 on failure, as POSIX defines it.
bool opened(iconv_t converter) {
    return converter != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
}

std::string iconvName(unsigned codePage) {
    if (codePage == 65001) return "UTF-8";
    return "CP" + std::to_string(codePage);
}

// Converts the whole input or fails; no transliteration, no skipping.
bool convert(const std::string& input, const std::string& from, const std::string& to, std::string& output) {
    iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (!opened(converter)) return false;
    std::string result;
    char buffer[256];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    bool ok = true;
    // The last round, with no input, flushes any shift state of the target.
    for (bool flushing = false; ok;) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = flushing ? iconv(converter, nullptr, nullptr, &out, &outLeft)
                                     : iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, out - buffer);
        if (done == static_cast<size_t>(-1)) {
            if (errno != E2BIG) ok = false;  // EILSEQ or EINVAL: not convertible
        } else if (done != 0) {
            ok = false;  // glibc counts characters it converted irreversibly
        } else if (flushing) {
            break;
        } else {
            flushing = true;
        }
    }
    iconv_close(converter);
    if (ok) output = result;
    return ok;
}

}  // namespace

bool codePageAvailable(unsigned codePage) {
    iconv_t converter = iconv_open("UTF-8", iconvName(codePage).c_str());
    if (!opened(converter)) return false;
    iconv_close(converter);
    return true;
}

bool toUtf8(const std::string& text, unsigned codePage, std::string& utf8) {
    return convert(text, iconvName(codePage), "UTF-8", utf8);
}

bool fromUtf8(const std::string& utf8, unsigned codePage, std::string& text) {
    return convert(utf8, "UTF-8", iconvName(codePage), text);
}

std::string systemPath(const std::string& utf8) { return utf8; }
