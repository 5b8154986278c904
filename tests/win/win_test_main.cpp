// Test program of the Windows code: the program's instance is this module, so the
// resources linked into it are found as in the real program.
#include <windows.h>

#include <gtest/gtest.h>

#include "win/process.h"

namespace {

// The program's manifest makes it aware of each monitor's DPI; the tests run the same way
// (the test program carries no manifest, so it asks at run time).
void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto set_context = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    const auto per_monitor_v2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (!set_context || !set_context(per_monitor_v2)) SetProcessDPIAware();
}

}  // namespace

int main(int argc, char** argv) {
    BecomeDpiAware();
    Process().instance = GetModuleHandleW(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
