// The entry of yox-strings: takes the arguments as UTF-8 and writes the output and messages.
#include <cstdio>
#include <string>
#include <vector>

#include "yox_strings.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int finish(int status, const std::string& out, const std::string& err) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("yox-strings: error writing the output\n", stderr);
        if (status == EXIT_DONE) status = EXIT_REFUSED;
    }
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over as UTF-16: every character arrives, whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(length > 0 ? length : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, &arg[0], length, nullptr, nullptr);
        arg.resize(arg.size() - 1);  // the zero at the end
        args.push_back(arg);
    }
    // A console shows the UTF-8 output as it is meant; a pipe or a file gets the bytes.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR) SetConsoleOutputCP(CP_UTF8);
    std::string out, err;
    const int status = runYoxStrings(args, out, err);
    return finish(status, out, err);
}
#else
int main(int argc, char** argv) {
    std::string out, err;
    const int status = runYoxStrings(std::vector<std::string>(argv + 1, argv + argc), out, err);
    return finish(status, out, err);
}
#endif
