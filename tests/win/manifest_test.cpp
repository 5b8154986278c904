// The program's manifest, read from the program's own file by the system's activation
// context machinery: visual styles through common controls 6, DPI awareness, and the
// systems the program says it supports.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kProgram[] = VIVI_PROGRAM_EXE_W;
constexpr wchar_t kWindowsSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr wchar_t kWindowsSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string ManifestText() {
    HMODULE program = LoadLibraryExW(kProgram, nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!program) return {};
    std::string text;
    if (HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        const void* bytes = LockResource(LoadResource(program, found));
        if (bytes) text.assign(static_cast<const char*>(bytes), SizeofResource(program, found));
    }
    FreeLibrary(program);
    return text;
}

class ProgramContext {
public:
    ProgramContext() {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = kProgram;
        request.lpResourceName = MAKEINTRESOURCEW(1);
        context_ = CreateActCtxW(&request);
    }
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;
    ~ProgramContext() {
        if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    }
    HANDLE Get() const { return context_; }

    std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
        wchar_t value[128] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_, space, name, value, 128, &written)) return {};
        return value;
    }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST(ProgramManifest, IsInTheProgramsResources) {
    const std::string text = ManifestText();
    ASSERT_FALSE(text.empty()) << "no manifest resource 1 in the program";
    // The one supported-OS entry for Windows 10 and 11.
    EXPECT_NE(text.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"),
              std::string::npos);
}

TEST(ProgramManifest, DeclaresPerMonitorAwarenessWithSystemAwareAsFallback) {
    ProgramContext context;
    ASSERT_NE(context.Get(), INVALID_HANDLE_VALUE) << "the system refuses the manifest";
    EXPECT_EQ(context.Setting(kWindowsSettings2016, L"dpiAwareness"), L"PerMonitorV2, System");
    EXPECT_EQ(context.Setting(kWindowsSettings2005, L"dpiAware"), L"true");
}

// The dependency resolves to an installed common controls assembly of version 6.
TEST(ProgramManifest, BindsCommonControlsSix) {
    ProgramContext context;
    ASSERT_NE(context.Get(), INVALID_HANDLE_VALUE);
    alignas(8) unsigned char whole[4096] = {};
    SIZE_T needed = 0;
    ASSERT_TRUE(QueryActCtxW(0, context.Get(), nullptr, ActivationContextDetailedInformation, whole,
                             sizeof(whole), &needed));
    const auto* detail = reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(whole);
    std::wstring controls;
    for (DWORD index = 1; index <= detail->ulAssemblyCount; ++index) {
        alignas(8) unsigned char buffer[4096] = {};
        if (!QueryActCtxW(0, context.Get(), &index, AssemblyDetailedInformationInActivationContext,
                          buffer, sizeof(buffer), &needed))
            continue;
        const auto* assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer);
        const std::wstring identity = assembly->lpAssemblyEncodedAssemblyIdentity
                                          ? assembly->lpAssemblyEncodedAssemblyIdentity : L"";
        if (identity.find(L"Microsoft.Windows.Common-Controls") != std::wstring::npos) controls = identity;
    }
    ASSERT_FALSE(controls.empty()) << "common controls are not among the program's assemblies";
    EXPECT_NE(controls.find(L"version=\"6."), std::wstring::npos) << Narrow(controls);
}

}  // namespace
