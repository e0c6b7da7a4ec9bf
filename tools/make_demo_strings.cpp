// Writes the demo "Strings.dat" (made-up text, the editor's layout) to the path given.
#include <cstdio>

#include "demo_file.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Strings.dat";
    if (!writeFileBytes(path, buildFile(demoContent()))) {
        std::fprintf(stderr, "make-demo-strings: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
