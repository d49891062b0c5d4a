// The end-to-end driver: GoogleTest's runner, told where the programs under test are.
#include <cstdio>

#include "Harness.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!ReadProgramPaths(argc, argv)) {
        std::printf("usage: lumetta_e2e [GoogleTest options] --lumetta=<lumetta.exe>"
                    " [--instrumented=<lumetta.exe>] [--packaged=<lumetta.exe>]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
