// Test program of the Windows code: the program's instance is this module, so the
// resources linked into it are found as in the real program.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/process.h"

int main(int argc, char** argv) {
    Process().instance = GetModuleHandleW(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
