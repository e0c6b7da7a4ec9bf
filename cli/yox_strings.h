// The commands of yox-strings, the command-line companion of the editor.
#pragma once

#include <string>
#include <vector>

// Exit statuses.
constexpr int EXIT_DONE = 0;
constexpr int EXIT_REFUSED = 1;  // the file or the input was refused
constexpr int EXIT_USAGE = 2;    // the command line is wrong

// Runs yox-strings with the arguments that follow the program's name, in UTF-8.
// Normal output is appended to out, messages ("yox-strings: ...") to err. Returns
// the exit status.
int runYoxStrings(const std::vector<std::string>& args, std::string& out, std::string& err);
