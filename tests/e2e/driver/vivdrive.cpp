// vivdrive: drives the program's windows from outside, as a user would, for the
// end-to-end tests. It runs under the same Wine prefix and X display as the program,
// does one command per run, prints its results as UTF-8 lines on standard output
// (fields separated by tabs; tab, line break and backslash inside a field written as
// \t, \n, \r and \\) and exits 0 on success, 1 on failure, 2 on a usage error and 3 on
// a time-out, with the reason on standard error. Run it without arguments for the
// list of commands.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "probe_request.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitTimeout = 3;

// How long one message to the program may take before it counts as hung.
constexpr UINT kSendTimeoutMs = 5000;
// How long a thread the driver starts inside the program may run.
constexpr DWORD kRemoteThreadTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;

// The one exception type; caught in wmain, which prints it and exits with its code.
struct Failure {
    int exitCode;
    std::wstring message;
};

[[noreturn]] void Fail(std::wstring message) { throw Failure{kExitFailure, std::move(message)}; }
[[noreturn]] void FailUsage(std::wstring message) { throw Failure{kExitUsage, std::move(message)}; }
[[noreturn]] void FailTimeout(std::wstring message) {
    throw Failure{kExitTimeout, std::move(message)};
}

std::wstring WithLastError(std::wstring message) {
    return message + L" (error " + std::to_wstring(GetLastError()) + L")";
}

// ---------------------------------------------------------------------------------
// Resource owners

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Close(); }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    void Close() {
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
    }
    HANDLE handle_ = nullptr;
};

class LoadedLibrary {
public:
    explicit LoadedLibrary(HMODULE module) : module_(module) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

// Memory committed in another process, released when the owner goes.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t bytes)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE)),
          size_(bytes) {
        if (!address_) Fail(WithLastError(L"VirtualAllocEx failed"));
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

    void* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }

    void Write(std::size_t offset, const void* data, std::size_t bytes) const {
        SIZE_T done = 0;
        if (offset + bytes > size_ ||
            !WriteProcessMemory(process_, Address(offset), data, bytes, &done) || done != bytes)
            Fail(WithLastError(L"WriteProcessMemory failed"));
    }
    void Read(std::size_t offset, void* data, std::size_t bytes) const {
        SIZE_T done = 0;
        if (offset + bytes > size_ ||
            !ReadProcessMemory(process_, Address(offset), data, bytes, &done) || done != bytes)
            Fail(WithLastError(L"ReadProcessMemory failed"));
    }
    template <typename T>
    void WriteValue(std::size_t offset, const T& value) const {
        Write(offset, &value, sizeof value);
    }
    template <typename T>
    T ReadValue(std::size_t offset) const {
        T value{};
        Read(offset, &value, sizeof value);
        return value;
    }
    std::wstring ReadText(std::size_t offset, std::size_t maxChars) const {
        std::wstring text(maxChars, L'\0');
        Read(offset, text.data(), maxChars * sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        return text;
    }

private:
    HANDLE process_;
    void* address_;
    std::size_t size_;
};

// ---------------------------------------------------------------------------------
// Output

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// Pipes and files get UTF-8 bytes; a console gets the wide text.
void WriteTo(DWORD stdHandle, std::wstring_view text) {
    HANDLE out = GetStdHandle(stdHandle);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Utf8(text);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Collects the lines of a command and writes them at once.
class Output {
public:
    Output& Field(std::wstring_view text) {
        if (!lineEmpty_) text_ += L'\t';
        lineEmpty_ = false;
        for (wchar_t c : text) {
            switch (c) {
                case L'\t': text_ += L"\\t"; break;
                case L'\n': text_ += L"\\n"; break;
                case L'\r': text_ += L"\\r"; break;
                case L'\\': text_ += L"\\\\"; break;
                default: text_ += c;
            }
        }
        return *this;
    }
    Output& Field(long long number) { return Field(std::to_wstring(number)); }
    Output& Raw(std::wstring_view line) {
        text_ += line;
        return *this;
    }
    void EndLine() {
        text_ += L'\n';
        lineEmpty_ = true;
    }
    void Flush() {
        WriteTo(STD_OUTPUT_HANDLE, text_);
        text_.clear();
    }

private:
    std::wstring text_;
    bool lineEmpty_ = true;
};

std::wstring HandleText(HWND window) {
    wchar_t text[32];
    std::swprintf(text, 32, L"0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

// ---------------------------------------------------------------------------------
// Arguments: "vivdrive COMMAND POSITIONAL... --option value --flag"

struct KnownOption {
    const wchar_t* name;  // without the leading "--"
    bool takesValue;
};

class Arguments {
public:
    Arguments(std::vector<std::wstring> words, std::size_t positionalCount,
              const std::vector<KnownOption>& allowed) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::wstring& word = words[i];
            if (word.rfind(L"--", 0) != 0) {
                positional_.push_back(word);
                continue;
            }
            const std::wstring name = word.substr(2);
            const KnownOption* known = nullptr;
            for (const KnownOption& s : allowed)
                if (name == s.name) known = &s;
            if (!known) FailUsage(L"unknown option " + word);
            if (known->takesValue) {
                if (i + 1 >= words.size()) FailUsage(L"option " + word + L" needs a value");
                options_.emplace_back(name, words[++i]);
            } else {
                options_.emplace_back(name, L"");
            }
        }
        if (positional_.size() != positionalCount)
            FailUsage(L"expected " + std::to_wstring(positionalCount) + L" argument(s), got " +
                      std::to_wstring(positional_.size()));
    }

    const std::wstring& Positional(std::size_t i) const { return positional_[i]; }
    std::optional<std::wstring> Option(const wchar_t* name) const {
        for (const auto& [n, v] : options_)
            if (n == name) return v;
        return std::nullopt;
    }
    bool Flag(const wchar_t* name) const { return Option(name).has_value(); }
    std::wstring Required(const wchar_t* name) const {
        auto value = Option(name);
        if (!value) FailUsage(std::wstring(L"option --") + name + L" is required");
        return *value;
    }

private:
    std::vector<std::wstring> positional_;
    std::vector<std::pair<std::wstring, std::wstring>> options_;
};

unsigned long long ParseNumber(const std::wstring& text, const wchar_t* what) {
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long value = std::wcstoull(text.c_str(), &end, 0);
    if (text.empty() || *end != L'\0' || errno != 0 || text[0] == L'-')
        FailUsage(std::wstring(L"not a number for ") + what + L": " + text);
    return value;
}

HWND ParseWindow(const std::wstring& text) {
    const auto value = ParseNumber(text, L"window handle");
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    if (!IsWindow(window)) Fail(L"no such window: " + text);
    return window;
}

DWORD TimeoutOption(const Arguments& args, DWORD fallbackMs) {
    auto value = args.Option(L"timeout");
    return value ? static_cast<DWORD>(ParseNumber(*value, L"--timeout")) : fallbackMs;
}

DWORD PidOption(const Arguments& args) {
    return static_cast<DWORD>(ParseNumber(args.Required(L"pid"), L"--pid"));
}

// ---------------------------------------------------------------------------------
// Time

class Deadline {
public:
    explicit Deadline(DWORD ms) : start_(GetTickCount64()), ms_(ms) {}
    bool Passed() const { return GetTickCount64() - start_ >= ms_; }

private:
    ULONGLONG start_;
    ULONGLONG ms_;
};

// Calls probe until it gives a value or the time is up (then fails with what).
template <typename T>
T PollFor(DWORD timeoutMs, const std::wstring& what, const std::function<std::optional<T>()>& probe) {
    const Deadline deadline(timeoutMs);
    for (;;) {
        if (auto value = probe()) return *value;
        if (deadline.Passed())
            FailTimeout(L"timed out after " + std::to_wstring(timeoutMs) + L" ms waiting for " + what);
        Sleep(kPollMs);
    }
}

// ---------------------------------------------------------------------------------
// Windows of another process

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result))
        Fail(WithLastError(L"message " + std::to_wstring(message) + L" to window " +
                           HandleText(window) + L" got no answer"));
    return static_cast<LRESULT>(result);
}

void PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window, message, wParam, lParam))
        Fail(WithLastError(L"PostMessage to window " + HandleText(window) + L" failed"));
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    return name;
}

// The window's text as the window itself answers WM_GETTEXT; nothing when the window
// went away or does not answer.
std::optional<std::wstring> TryTextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored))
        return std::nullopt;
    text.resize(std::wcslen(text.c_str()));
    return text;
}

std::wstring TextOf(HWND window) {
    auto text = TryTextOf(window);
    if (!text) Fail(WithLastError(L"window " + HandleText(window) + L" does not tell its text"));
    return *text;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (ProcessOf(window) == s->pid) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The first descendant of parent of the given class (and control id, when given).
HWND FindDescendant(HWND parent, const wchar_t* className, std::optional<int> controlId) {
    struct Search {
        const wchar_t* className;
        std::optional<int> controlId;
        HWND found;
    } search{className, controlId, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (CompareStringOrdinal(ClassOf(window).c_str(), -1, s->className, -1, TRUE) !=
                CSTR_EQUAL)
                return TRUE;
            if (s->controlId && GetDlgCtrlID(window) != *s->controlId) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        Fail(std::wstring(L"window ") + HandleText(parent) + L" has no " + className + L" child");
    return search.found;
}

std::optional<int> ControlIdOption(const Arguments& args) {
    auto value = args.Option(L"ctrl");
    if (!value) return std::nullopt;
    return static_cast<int>(ParseNumber(*value, L"--ctrl"));
}

bool IsDialogBox(HWND window) { return ClassOf(window) == L"#32770"; }

// A button's text as the user reads it: without the "&" that marks the access key.
std::wstring WithoutAccessMark(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// ---------------------------------------------------------------------------------
// Processes

UniqueHandle OpenForDriving(DWORD pid) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                         PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_CREATE_THREAD,
                                     FALSE, pid));
    if (!process) Fail(WithLastError(L"cannot open process " + std::to_wstring(pid)));
    return process;
}

// Folder names compare without case and without a trailing backslash.
std::wstring FolderKey(std::wstring folder) {
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return folder;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(FolderKey(a).c_str(), -1, FolderKey(b).c_str(), -1, TRUE) ==
           CSTR_EQUAL;
}

// An exported routine looked up by name, or nullptr.
template <typename Routine>
Routine ExportOf(const wchar_t* module, const char* name) {
    return reinterpret_cast<Routine>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

// A Unix path ("/tmp/x") as Wine names it ("Z:\tmp\x"); other paths as given.
std::wstring WindowsPath(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    auto toDos = ExportOf<ToDos>(L"kernel32.dll", "wine_get_dos_file_name");
    if (!toDos) return path;
    WCHAR* dos = toDos(Utf8(path).c_str());
    if (!dos) return path;
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

// The current folder of another process, read from its process parameters.
std::optional<std::wstring> CurrentFolderOf(DWORD pid) {
    // 64-bit layout: PEB.ProcessParameters at 0x20, its CurrentDirectory.DosPath at 0x38.
    constexpr std::size_t kPebProcessParameters = 0x20;
    constexpr std::size_t kParametersCurrentDirectory = 0x38;
    struct RemoteUnicodeString {
        USHORT length;
        USHORT maximumLength;
        ULONG padding;
        ULONG64 buffer;
    };
    static_assert(sizeof(void*) == 8, "the offsets above are those of 64-bit processes");

    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return std::nullopt;
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = ExportOf<Query>(L"ntdll.dll", "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(process.Get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return std::nullopt;
    auto read = [&](ULONG64 address, void* data, std::size_t bytes) {
        SIZE_T done = 0;
        return ReadProcessMemory(process.Get(), reinterpret_cast<void*>(address), data, bytes,
                                 &done) &&
               done == bytes;
    };
    ULONG64 parameters = 0;
    RemoteUnicodeString folder = {};
    if (!read(reinterpret_cast<ULONG64>(basic.PebBaseAddress) + kPebProcessParameters, &parameters,
              sizeof parameters) ||
        !parameters || !read(parameters + kParametersCurrentDirectory, &folder, sizeof folder) ||
        !folder.buffer)
        return std::nullopt;
    std::wstring text(folder.length / sizeof(wchar_t), L'\0');
    if (!read(folder.buffer, text.data(), folder.length)) return std::nullopt;
    return text;
}

std::vector<std::pair<DWORD, std::wstring>> RunningProcesses() {
    std::vector<std::pair<DWORD, std::wstring>> list;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return list;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry))
        list.emplace_back(entry.th32ProcessID, entry.szExeFile);
    return list;
}

// The base at which a module of the given file name is loaded in another process.
std::optional<HMODULE> RemoteModuleBase(DWORD pid, const std::wstring& fileName) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
        if (!snapshot) {
            Sleep(kPollMs);  // ERROR_BAD_LENGTH while the module list changes
            continue;
        }
        MODULEENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more;
             more = Module32NextW(snapshot.Get(), &entry))
            if (CompareStringOrdinal(entry.szModule, -1, fileName.c_str(), -1, TRUE) == CSTR_EQUAL)
                return entry.hModule;
        return std::nullopt;
    }
    Fail(WithLastError(L"cannot list the modules of process " + std::to_wstring(pid)));
}

// Where a routine of this process lives in the other process: same module, same offset.
// (Exports may be forwarded, so the module is the one that holds the address.)
void* RemoteAddressOf(DWORD pid, const void* local) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(local), &module))
        Fail(WithLastError(L"GetModuleHandleEx failed"));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    auto remote = RemoteModuleBase(pid, name);
    if (!remote) Fail(L"module " + name + L" is not loaded in process " + std::to_wstring(pid));
    return reinterpret_cast<char*>(*remote) +
           (static_cast<const char*>(local) - reinterpret_cast<const char*>(module));
}

DWORD RunRemoteThread(HANDLE process, void* routine, void* parameter) {
    UniqueHandle thread(CreateRemoteThread(process, nullptr, 0,
                                           reinterpret_cast<LPTHREAD_START_ROUTINE>(routine),
                                           parameter, 0, nullptr));
    if (!thread) Fail(WithLastError(L"CreateRemoteThread failed"));
    if (WaitForSingleObject(thread.Get(), kRemoteThreadTimeoutMs) != WAIT_OBJECT_0)
        FailTimeout(L"a thread started in the program did not end");
    DWORD code = 0;
    GetExitCodeThread(thread.Get(), &code);
    return code;
}

std::wstring FolderOfThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

// vivprobe.dll loaded into another process for the life of this object.
class InjectedProbe {
public:
    InjectedProbe(HANDLE process, DWORD pid)
        : process_(process), pid_(pid), path_(FolderOfThisProgram() + L"\\vivprobe.dll"),
          local_(LoadLibraryW(path_.c_str())) {
        if (!local_.Get()) Fail(WithLastError(L"cannot load " + path_));
        const auto bytes = (path_.size() + 1) * sizeof(wchar_t);
        RemoteMemory remotePath(process, bytes);
        remotePath.Write(0, path_.c_str(), bytes);
        auto* loadLibrary = ExportOf<void*>(L"kernel32.dll", "LoadLibraryW");
        RunRemoteThread(process, RemoteAddressOf(pid, loadLibrary), remotePath.Address());
        remote_ = RemoteModuleBase(pid, L"vivprobe.dll");
        if (!remote_) Fail(L"the program could not load " + path_);
    }
    InjectedProbe(const InjectedProbe&) = delete;
    InjectedProbe& operator=(const InjectedProbe&) = delete;
    ~InjectedProbe() {
        if (remote_) {
            auto* freeLibrary = ExportOf<void*>(L"kernel32.dll", "FreeLibrary");
            try {
                RunRemoteThread(process_, RemoteAddressOf(pid_, freeLibrary), *remote_);
            } catch (const Failure&) {
                // The reading is done; a probe left loaded does the program no harm.
            }
        }
    }

    void* Routine(const char* name) const {
        auto* local = reinterpret_cast<void*>(GetProcAddress(local_.Get(), name));
        if (!local)
            Fail(L"vivprobe.dll has no routine " + std::wstring(name, name + std::strlen(name)));
        return reinterpret_cast<char*>(*remote_) +
               (static_cast<char*>(local) - reinterpret_cast<char*>(local_.Get()));
    }

private:
    HANDLE process_;
    DWORD pid_;
    std::wstring path_;
    LoadedLibrary local_;  // the same file, here, to learn the routines' offsets
    std::optional<HMODULE> remote_;
};

// ---------------------------------------------------------------------------------
// Commands

// process --image NAME [--cwd FOLDER] [--timeout MS]
int CommandProcess(const Arguments& args, Output& out) {
    const std::wstring image = args.Required(L"image");
    const auto folderOption = args.Option(L"cwd");
    const std::wstring folder = folderOption ? WindowsPath(*folderOption) : L"";
    const DWORD pid = PollFor<DWORD>(
        TimeoutOption(args, 15000), L"process " + image + (folderOption ? L" in " + folder : L""),
        [&]() -> std::optional<DWORD> {
            for (const auto& [id, exe] : RunningProcesses()) {
                if (CompareStringOrdinal(exe.c_str(), -1, image.c_str(), -1, TRUE) != CSTR_EQUAL)
                    continue;
                if (!folderOption) return id;
                auto current = CurrentFolderOf(id);
                if (current && SameFolder(*current, folder)) return id;
            }
            return std::nullopt;
        });
    out.Field(pid).EndLine();
    return 0;
}

// wait --pid PID [--class CLASS] [--title TITLE] [--owner HWND] [--hidden] [--timeout MS]
// Waits for a top-level window of the process (visible, unless --hidden) that matches.
int CommandWait(const Arguments& args, Output& out) {
    const DWORD pid = PidOption(args);
    const auto className = args.Option(L"class");
    const auto title = args.Option(L"title");
    const auto ownerOption = args.Option(L"owner");
    const HWND owner = ownerOption ? ParseWindow(*ownerOption) : nullptr;
    const bool hidden = args.Flag(L"hidden");
    std::wstring what = L"a window of process " + std::to_wstring(pid);
    if (className) what += L", class \"" + *className + L"\"";
    if (title) what += L", title \"" + *title + L"\"";
    if (owner) what += L", owned by " + HandleText(owner);
    const HWND window =
        PollFor<HWND>(TimeoutOption(args, 15000), what, [&]() -> std::optional<HWND> {
            for (HWND w : TopLevelWindows(pid)) {
                if (!hidden && !IsWindowVisible(w)) continue;
                if (className && ClassOf(w) != *className) continue;
                if (owner && GetWindow(w, GW_OWNER) != owner) continue;
                if (title && TryTextOf(w) != *title) continue;
                return w;
            }
            return std::nullopt;
        });
    out.Field(HandleText(window)).EndLine();
    return 0;
}

// gone HWND [--timeout MS]: waits until the window is destroyed or hidden.
int CommandGone(const Arguments& args, Output&) {
    const std::wstring text = args.Positional(0);
    const HWND window =
        reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ParseNumber(text, L"window handle")));
    PollFor<bool>(TimeoutOption(args, 10000), L"window " + text + L" to go",
                  [&]() -> std::optional<bool> {
                      if (!IsWindow(window) || !IsWindowVisible(window)) return true;
                      return std::nullopt;
                  });
    return 0;
}

// windows --pid PID [--all]: HWND, visible (1/0), class, title of each top-level window.
int CommandWindows(const Arguments& args, Output& out) {
    const bool all = args.Flag(L"all");
    for (HWND w : TopLevelWindows(PidOption(args))) {
        const bool visible = IsWindowVisible(w) != FALSE;
        if (!visible && !all) continue;
        const auto title = TryTextOf(w);
        if (!title) continue;  // went away meanwhile
        out.Field(HandleText(w)).Field(visible ? 1 : 0).Field(ClassOf(w)).Field(*title).EndLine();
    }
    return 0;
}

// title HWND
int CommandTitle(const Arguments& args, Output& out) {
    out.Field(TextOf(ParseWindow(args.Positional(0)))).EndLine();
    return 0;
}

// texts HWND: control id, class and text of each child window, in tab order.
int CommandTexts(const Arguments& args, Output& out) {
    for (HWND child : DirectChildren(ParseWindow(args.Positional(0))))
        out.Field(static_cast<unsigned>(GetDlgCtrlID(child)) & 0xFFFFu)
            .Field(ClassOf(child))
            .Field(TextOf(child))
            .EndLine();
    return 0;
}

// menu HWND: depth, kind (popup, item, separator), id ("-" but for items) and text of
// every entry of the window's menu bar, each popup followed by its entries.
int CommandMenu(const Arguments& args, Output& out) {
    const HWND window = ParseWindow(args.Positional(0));
    const DWORD pid = ProcessOf(window);
    const UniqueHandle process = OpenForDriving(pid);
    const InjectedProbe probe(process.Get(), pid);

    const std::size_t bytes = offsetof(ProbeRequest, text) + kProbeTextCapacity * sizeof(wchar_t);
    RemoteMemory block(process.Get(), bytes);
    block.WriteValue(offsetof(ProbeRequest, window),
                     static_cast<std::uint64_t>(reinterpret_cast<ULONG_PTR>(window)));
    block.WriteValue(offsetof(ProbeRequest, capacity), kProbeTextCapacity);
    block.WriteValue(offsetof(ProbeRequest, length), std::uint32_t{0});
    const DWORD result =
        RunRemoteThread(process.Get(), probe.Routine(kProbeMenuRoutine), block.Address());
    if (result == kProbeNoMenu) Fail(L"window " + HandleText(window) + L" has no menu");
    if (result != kProbeOk) Fail(L"reading the menu failed (" + std::to_wstring(result) + L")");
    const auto length = block.ReadValue<std::uint32_t>(offsetof(ProbeRequest, length));
    std::wstring lines(length, L'\0');
    block.Read(offsetof(ProbeRequest, text), lines.data(), length * sizeof(wchar_t));
    out.Raw(lines);  // already one escaped line per entry
    return 0;
}

// toolbar HWND [--ctrl ID]: command id, tooltip text and state ("on", or "grey" for a
// disabled button) of each button ("-" and two empty fields for separators). The tooltip is what the toolbar's own tooltip control
// gets when it asks for the text, the same request that hovering the button makes.
int CommandToolbar(const Arguments& args, Output& out) {
    const HWND toolbar = FindDescendant(ParseWindow(args.Positional(0)), TOOLBARCLASSNAMEW,
                                        ControlIdOption(args));
    const UniqueHandle process = OpenForDriving(ProcessOf(toolbar));
    const auto count = static_cast<int>(SendTo(toolbar, TB_BUTTONCOUNT, 0, 0));
    const HWND tips = reinterpret_cast<HWND>(SendTo(toolbar, TB_GETTOOLTIPS, 0, 0));

    constexpr std::size_t kTipChars = 1024;  // INFOTIPSIZE
    RemoteMemory button(process.Get(), sizeof(TBBUTTON));
    RemoteMemory tool(process.Get(), sizeof(TTTOOLINFOW) + (kTipChars + 1) * sizeof(wchar_t));
    for (int i = 0; i < count; ++i) {
        if (!SendTo(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i),
                    reinterpret_cast<LPARAM>(button.Address())))
            Fail(L"TB_GETBUTTON " + std::to_wstring(i) + L" failed");
        const auto info = button.ReadValue<TBBUTTON>(0);
        if (info.fsStyle & BTNS_SEP) {
            out.Field(L"-").Field(L"").Field(L"").EndLine();
            continue;
        }
        std::wstring tip;
        if (tips) {
            TTTOOLINFOW request = {};
            request.cbSize = sizeof request;
            request.hwnd = toolbar;
            request.uId = static_cast<UINT_PTR>(info.idCommand);
            request.lpszText = static_cast<LPWSTR>(tool.Address(sizeof(TTTOOLINFOW)));
            tool.WriteValue(0, request);
            tool.WriteValue(sizeof(TTTOOLINFOW), L'\0');
            SendTo(tips, TTM_GETTEXTW, kTipChars, reinterpret_cast<LPARAM>(tool.Address()));
            tip = tool.ReadText(sizeof(TTTOOLINFOW), kTipChars);
        }
        out.Field(info.idCommand).Field(tip).Field((info.fsState & TBSTATE_ENABLED) ? L"on" : L"grey").EndLine();
    }
    return 0;
}

// status HWND [--ctrl ID]: part index and text of each part of the status bar.
int CommandStatus(const Arguments& args, Output& out) {
    const HWND bar = FindDescendant(ParseWindow(args.Positional(0)), STATUSCLASSNAMEW,
                                    ControlIdOption(args));
    const UniqueHandle process = OpenForDriving(ProcessOf(bar));
    const auto parts = static_cast<int>(SendTo(bar, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
        const std::size_t length =
            LOWORD(SendTo(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0));
        RemoteMemory text(process.Get(), (length + 1) * sizeof(wchar_t));
        text.WriteValue(0, L'\0');
        SendTo(bar, SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.Address()));
        out.Field(i).Field(text.ReadText(0, length)).EndLine();
    }
    return 0;
}

// command HWND ID: posts WM_COMMAND as a menu choice; returns at once.
int CommandCommand(const Arguments& args, Output&) {
    const HWND window = ParseWindow(args.Positional(0));
    const auto id = ParseNumber(args.Positional(1), L"command id");
    if (id > 0xFFFF) FailUsage(L"command id out of range: " + args.Positional(1));
    PostTo(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
    return 0;
}

// key HWND VK [--shift]: brings the window to the front and types the virtual key there
// as the keyboard does (Shift held around it when asked); returns once the input is queued.
int CommandKey(const Arguments& args, Output&) {
    const HWND window = ParseWindow(args.Positional(0));
    const auto key = ParseNumber(args.Positional(1), L"virtual key");
    if (key < 1 || key > 254) FailUsage(L"virtual key out of range: " + args.Positional(1));
    SetForegroundWindow(window);
    Sleep(100);
    std::vector<INPUT> inputs;
    const auto press = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    const bool shift = args.Flag(L"shift");
    if (shift) press(VK_SHIFT, false);
    press(static_cast<WORD>(key), false);
    press(static_cast<WORD>(key), true);
    if (shift) press(VK_SHIFT, true);
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        Fail(L"the keys were not sent to " + HandleText(window));
    Sleep(100);
    return 0;
}

// The button of a dialog named by its control id (digits) or its text ("&" ignored).
HWND FindButton(HWND dialog, const std::wstring& name) {
    const bool byId = !name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return std::iswdigit(c) != 0;
    });
    for (HWND child : DirectChildren(dialog)) {
        if (CompareStringOrdinal(ClassOf(child).c_str(), -1, L"Button", -1, TRUE) != CSTR_EQUAL)
            continue;
        if (byId ? GetDlgCtrlID(child) == static_cast<int>(ParseNumber(name, L"button id"))
                 : WithoutAccessMark(TextOf(child)) == WithoutAccessMark(name))
            return child;
    }
    Fail(L"dialog " + HandleText(dialog) + L" has no button " + name);
}

// Clicks a button the way the keyboard or mouse would: BM_CLICK, posted so that a
// modal loop the click starts does not hold the driver.
void Click(HWND button) { PostTo(button, BM_CLICK, 0, 0); }

// click HWND BUTTON
int CommandClick(const Arguments& args, Output&) {
    Click(FindButton(ParseWindow(args.Positional(0)), args.Positional(1)));
    return 0;
}

// client HWND: left, top, width, height of the window's client area on the screen.
int CommandClient(const Arguments& args, Output& out) {
    const HWND window = ParseWindow(args.Positional(0));
    RECT client{};
    if (!GetClientRect(window, &client)) Fail(WithLastError(L"GetClientRect failed"));
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    out.Field(origin.x).Field(origin.y).Field(client.right).Field(client.bottom).EndLine();
    return 0;
}

// The control of a dialog with the given id.
HWND ControlOf(HWND dialog, const std::wstring& idText) {
    const auto id = ParseNumber(idText, L"control id");
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (!control) Fail(L"dialog " + HandleText(dialog) + L" has no control " + idText);
    return control;
}

// checked HWND ID: 1 when the dialog's button ID is checked, 0 when not, 2 when greyed.
int CommandChecked(const Arguments& args, Output& out) {
    out.Field(static_cast<unsigned>(SendTo(ControlOf(ParseWindow(args.Positional(0)), args.Positional(1)),
                                           BM_GETCHECK, 0, 0)))
        .EndLine();
    return 0;
}

// A combo box that can be typed into takes the text in its edit, as the keyboard gives it.
HWND TypingTarget(HWND control) {
    HWND combo = FindWindowExW(control, nullptr, L"ComboBox", nullptr);
    HWND edit = FindWindowExW(combo ? combo : control, nullptr, L"Edit", nullptr);
    return edit ? edit : control;
}

// settext HWND ID TEXT: replaces the text of a control as typing would (an edit tells
// its dialog of the change).

int CommandSetText(const Arguments& args, Output&) {
    const HWND control = TypingTarget(ControlOf(ParseWindow(args.Positional(0)), args.Positional(1)));
    const std::wstring& text = args.Positional(2);
    if (!SendTo(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        Fail(L"control " + args.Positional(1) + L" refused the text");
    return 0;
}

bool IsComboBox(HWND control) {
    return CompareStringOrdinal(ClassOf(control).c_str(), -1, L"ComboBox", -1, TRUE) == CSTR_EQUAL;
}

// The entries of a combo box or list box, in their order.
std::vector<std::wstring> EntriesOf(HWND control) {
    const bool combo = IsComboBox(control);
    const UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const auto count = static_cast<int>(SendTo(control, getCount, 0, 0));
    if (count < 0) Fail(L"window " + HandleText(control) + L" is no list");
    std::vector<std::wstring> entries;
    for (int i = 0; i < count; ++i) {
        const auto length =
            static_cast<int>(SendTo(control, getLength, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendTo(control, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::wcslen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

// items HWND ID: index and text of each entry of a combo box or list box.
int CommandItems(const Arguments& args, Output& out) {
    const auto entries = EntriesOf(ControlOf(ParseWindow(args.Positional(0)), args.Positional(1)));
    for (std::size_t i = 0; i < entries.size(); ++i)
        out.Field(static_cast<long long>(i)).Field(entries[i]).EndLine();
    return 0;
}

// select HWND ID TEXT: selects the entry of a combo box or list box whose text is TEXT
// and tells the dialog, as a user's choice does (CBN_SELCHANGE / LBN_SELCHANGE).
int CommandSelect(const Arguments& args, Output&) {
    const HWND dialog = ParseWindow(args.Positional(0));
    const HWND control = ControlOf(dialog, args.Positional(1));
    const std::wstring& wanted = args.Positional(2);
    const auto entries = EntriesOf(control);
    const auto found = std::find(entries.begin(), entries.end(), wanted);
    if (found == entries.end()) Fail(L"control " + args.Positional(1) + L" has no entry " + wanted);
    const auto index = static_cast<WPARAM>(found - entries.begin());
    const bool combo = IsComboBox(control);
    SendTo(control, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
    SendTo(dialog, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
           reinterpret_cast<LPARAM>(control));
    return 0;
}

// The text a message box shows: its static texts, joined by a line break.
std::wstring MessageOf(HWND dialog) {
    std::wstring message;
    for (HWND child : DirectChildren(dialog)) {
        if (CompareStringOrdinal(ClassOf(child).c_str(), -1, L"Static", -1, TRUE) != CSTR_EQUAL)
            continue;
        const std::wstring text = TextOf(child);
        if (text.empty()) continue;
        if (!message.empty()) message += L'\n';
        message += text;
    }
    return message;
}

// The button a user pressing Enter would press.
HWND DefaultButton(HWND dialog) {
    const LRESULT id = SendTo(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(id) == DC_HASDEFID) {
        if (HWND button = GetDlgItem(dialog, LOWORD(id))) return button;
    }
    for (int fallback : {IDOK, IDCANCEL})
        if (HWND button = GetDlgItem(dialog, fallback)) return button;
    Fail(L"dialog " + HandleText(dialog) + L" has no default button");
}

// answer --pid PID [--main CLASS] [--button BUTTON] [--quiet MS] [--timeout MS]
// Answers every dialog box of the process with its default button (or BUTTON) until
// none has shown for MS (default 1500) and, with --main, a visible window of that
// class answers messages. Prints caption, text and the button's text of each box.
int CommandAnswer(const Arguments& args, Output& out) {
    const DWORD pid = PidOption(args);
    const auto mainClass = args.Option(L"main");
    const auto buttonName = args.Option(L"button");
    const auto quietOption = args.Option(L"quiet");
    const DWORD quietMs =
        quietOption ? static_cast<DWORD>(ParseNumber(*quietOption, L"--quiet")) : 1500;
    const DWORD timeoutMs = TimeoutOption(args, 30000);
    const Deadline deadline(timeoutMs);
    ULONGLONG lastBox = GetTickCount64();
    for (;;) {
        bool sawBox = false;
        for (HWND w : TopLevelWindows(pid)) {
            if (!IsWindowVisible(w) || !IsDialogBox(w)) continue;
            const auto captionText = TryTextOf(w);
            if (!captionText) continue;  // closed meanwhile
            sawBox = true;
            const std::wstring& caption = *captionText;
            const std::wstring message = MessageOf(w);
            const HWND button = buttonName ? FindButton(w, *buttonName) : DefaultButton(w);
            const std::wstring buttonText = WithoutAccessMark(TextOf(button));
            Click(button);
            PollFor<bool>(5000, L"box \"" + caption + L"\" to close after " + buttonText,
                          [&]() -> std::optional<bool> {
                              if (!IsWindow(w) || !IsWindowVisible(w)) return true;
                              return std::nullopt;
                          });
            out.Field(caption).Field(message).Field(buttonText).EndLine();
            out.Flush();
        }
        if (sawBox) lastBox = GetTickCount64();
        bool mainReady = true;
        if (mainClass) {
            mainReady = false;
            for (HWND w : TopLevelWindows(pid)) {
                DWORD_PTR ignored = 0;
                if (IsWindowVisible(w) && ClassOf(w) == *mainClass &&
                    SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored))
                    mainReady = true;
            }
        }
        if (!sawBox && mainReady && GetTickCount64() - lastBox >= quietMs) return 0;
        if (deadline.Passed())
            FailTimeout(L"timed out after " + std::to_wstring(timeoutMs) +
                        L" ms: process " + std::to_wstring(pid) +
                        (mainReady ? L" kept showing boxes" : L" shows no ready main window"));
        Sleep(kPollMs);
    }
}

// A client coordinate of a mouse message: a signed 16-bit number, as the low and high
// words of the message carry it (points left of or above the window are negative).
WORD ParseCoordinate(const std::wstring& text, const wchar_t* what) {
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0' || errno != 0 || value < -32768 || value > 32767)
        FailUsage(std::wstring(L"not a coordinate for ") + what + L" (-32768..32767): " + text);
    return static_cast<WORD>(static_cast<SHORT>(value));
}

// The key-state parameter of a mouse message: a number, or names of keys and buttons
// joined by commas ("lbutton,shift"); "none" for no key at all.
WPARAM ParseKeyState(const std::wstring& text) {
    if (!text.empty() && std::iswdigit(text[0]) != 0)
        return static_cast<WPARAM>(ParseNumber(text, L"--keys"));
    static constexpr std::pair<const wchar_t*, WPARAM> kNames[] = {
        {L"none", 0},
        {L"lbutton", MK_LBUTTON},
        {L"rbutton", MK_RBUTTON},
        {L"shift", MK_SHIFT},
        {L"control", MK_CONTROL},
        {L"ctrl", MK_CONTROL},
        {L"mbutton", MK_MBUTTON},
        {L"xbutton1", MK_XBUTTON1},
        {L"xbutton2", MK_XBUTTON2},
    };
    WPARAM keys = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(L',', start);
        const std::wstring name =
            text.substr(start, comma == std::wstring::npos ? comma : comma - start);
        const auto* found =
            std::find_if(std::begin(kNames), std::end(kNames), [&](const auto& entry) {
                return CompareStringOrdinal(entry.first, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
            });
        if (found == std::end(kNames)) FailUsage(L"unknown key for --keys: " + name);
        keys |= found->second;
        if (comma == std::wstring::npos) return keys;
        start = comma + 1;
    }
}

// mouse HWND ACTION X Y [--keys K] [--post]: the mouse message of ACTION (down, move, up:
// left button; rdown, rup: right button) at client point (X, Y) of the window, with the
// key state a real message would carry: the left button for down and move, the right
// button for rdown, nothing for up and rup (--keys replaces it). The message is sent, so
// the window has handled it when the command returns; rdown, which may open a modal
// dialog, is posted instead, as any action is with --post.
int CommandMouse(const Arguments& args, Output&) {
    struct Action {
        const wchar_t* name;
        UINT message;
        WPARAM keys;
        bool post;
    };
    static constexpr Action kActions[] = {
        {L"down", WM_LBUTTONDOWN, MK_LBUTTON, false},
        {L"move", WM_MOUSEMOVE, MK_LBUTTON, false},
        {L"up", WM_LBUTTONUP, 0, false},
        {L"rdown", WM_RBUTTONDOWN, MK_RBUTTON, true},
        {L"rup", WM_RBUTTONUP, 0, false},
    };
    const HWND window = ParseWindow(args.Positional(0));
    const std::wstring& actionName = args.Positional(1);
    const auto* action = std::find_if(std::begin(kActions), std::end(kActions),
                                      [&](const Action& a) { return actionName == a.name; });
    if (action == std::end(kActions))
        FailUsage(L"unknown mouse action " + actionName + L" (down, move, up, rdown, rup)");
    const WORD x = ParseCoordinate(args.Positional(2), L"x");
    const WORD y = ParseCoordinate(args.Positional(3), L"y");
    const auto keysOption = args.Option(L"keys");
    const WPARAM keys = keysOption ? ParseKeyState(*keysOption) : action->keys;
    const LPARAM point = static_cast<LPARAM>(MAKELONG(x, y));
    if (action->post || args.Flag(L"post"))
        PostTo(window, action->message, keys, point);
    else
        SendTo(window, action->message, keys, point);
    return 0;
}

// printers: the name of each printer this Wine session knows, "default" beside the
// default one. The session reads the printers from the system when it starts.
int CommandPrinters(const Arguments&, Output& out) {
    HMODULE spooler = LoadLibraryW(L"winspool.drv");
    if (!spooler) Fail(WithLastError(L"cannot load winspool.drv"));
    const LoadedLibrary owner(spooler);
    using Enumerate = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
    using Default = BOOL(WINAPI*)(LPWSTR, LPDWORD);
    auto enumerate = reinterpret_cast<Enumerate>(
        reinterpret_cast<void*>(GetProcAddress(spooler, "EnumPrintersW")));
    auto defaultPrinter = reinterpret_cast<Default>(
        reinterpret_cast<void*>(GetProcAddress(spooler, "GetDefaultPrinterW")));
    if (!enumerate || !defaultPrinter) Fail(L"winspool.drv lacks the printer functions");
    wchar_t preferred[256] = {};
    DWORD preferredSize = ARRAYSIZE(preferred);
    if (!defaultPrinter(preferred, &preferredSize)) preferred[0] = L'\0';
    constexpr DWORD kLocalAndConnections = 0x2 | 0x4;  // PRINTER_ENUM_LOCAL | _CONNECTIONS
    DWORD needed = 0, count = 0;
    enumerate(kLocalAndConnections, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!enumerate(kLocalAndConnections, nullptr, 4, buffer.data(), needed, &needed, &count))
        return 0;  // no printer at all
    struct PrinterInfo4 {  // PRINTER_INFO_4W
        LPWSTR name;
        LPWSTR server;
        DWORD attributes;
    };
    const auto* info = reinterpret_cast<const PrinterInfo4*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        out.Field(info[i].name ? info[i].name : L"");
        if (info[i].name && std::wcscmp(info[i].name, preferred) == 0) out.Field(L"default");
        out.EndLine();
    }
    return 0;
}

struct Command {
    const wchar_t* name;
    const wchar_t* usage;
    std::size_t positionalCount;
    std::vector<KnownOption> options;
    int (*run)(const Arguments&, Output&);
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {L"process", L"process --image NAME [--cwd FOLDER] [--timeout MS]   -> process id", 0,
         {{L"image", true}, {L"cwd", true}, {L"timeout", true}}, CommandProcess},
        {L"wait",
         L"wait --pid PID [--class C] [--title T] [--owner HWND] [--hidden] [--timeout MS]   -> HWND",
         0,
         {{L"pid", true}, {L"class", true}, {L"title", true}, {L"owner", true}, {L"hidden", false},
          {L"timeout", true}},
         CommandWait},
        {L"gone", L"gone HWND [--timeout MS]   (waits until destroyed or hidden)", 1,
         {{L"timeout", true}}, CommandGone},
        {L"windows", L"windows --pid PID [--all]   -> HWND, visible, class, title", 0,
         {{L"pid", true}, {L"all", false}}, CommandWindows},
        {L"title", L"title HWND   -> text", 1, {}, CommandTitle},
        {L"texts", L"texts HWND   -> id, class, text of each child", 1, {}, CommandTexts},
        {L"menu", L"menu HWND   -> depth, popup|item|separator, id, text", 1, {}, CommandMenu},
        {L"toolbar", L"toolbar HWND [--ctrl ID]   -> id, tooltip, on/grey of each button", 1,
         {{L"ctrl", true}}, CommandToolbar},
        {L"status", L"status HWND [--ctrl ID]   -> part, text", 1, {{L"ctrl", true}},
         CommandStatus},
        {L"command", L"command HWND ID   (posts WM_COMMAND)", 2, {}, CommandCommand},
        {L"key", L"key HWND VK [--shift]   (the key typed into the window brought to the front)", 2,
         {{L"shift", false}}, CommandKey},
        {L"click", L"click HWND BUTTON   (id or text; posts BM_CLICK)", 2, {}, CommandClick},
        {L"checked", L"checked HWND ID   -> 1 checked, 0 not, 2 greyed", 2, {}, CommandChecked},
        {L"client", L"client HWND   -> left, top, width, height of the client area on screen", 1,
         {}, CommandClient},
        {L"settext", L"settext HWND ID TEXT   (WM_SETTEXT to the window's control ID)", 3, {}, CommandSetText},
        {L"items", L"items HWND ID   -> index, text of each entry of a combo or list box", 2, {},
         CommandItems},
        {L"select", L"select HWND ID TEXT   (selects the entry and notifies the dialog)", 3, {},
         CommandSelect},
        {L"mouse",
         L"mouse HWND down|move|up|rdown|rup X Y [--keys K] [--post]   (the mouse message at "
         L"client point X, Y, negative or beyond the window as under capture; keys: a number "
         L"or lbutton,rbutton,shift,control,none; sent, so handled on return, but rdown is "
         L"posted: it may open a modal dialog; --post posts any action)",
         4,
         {{L"keys", true}, {L"post", false}},
         CommandMouse},
        {L"printers", L"printers   -> name of each printer, \"default\" beside the default", 0, {},
         CommandPrinters},
        {L"answer",
         L"answer --pid PID [--main CLASS] [--button B] [--quiet MS] [--timeout MS]   -> caption, "
         L"text, button of each box answered",
         0,
         {{L"pid", true}, {L"main", true}, {L"button", true}, {L"quiet", true}, {L"timeout", true}},
         CommandAnswer},
    };
    return commands;
}

std::wstring UsageText() {
    std::wstring text = L"usage: vivdrive COMMAND ...\n";
    for (const Command& c : Commands()) text += L"  vivdrive " + std::wstring(c.usage) + L"\n";
    return text;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) FailUsage(L"no command\n" + UsageText());
    const std::wstring name = argv[1];
    for (const Command& c : Commands()) {
        if (name != c.name) continue;
        const Arguments args(std::vector<std::wstring>(argv + 2, argv + argc), c.positionalCount,
                             c.options);
        Output out;
        const int code = c.run(args, out);
        out.Flush();
        return code;
    }
    FailUsage(L"unknown command " + name + L"\n" + UsageText());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        WriteTo(STD_ERROR_HANDLE, L"vivdrive: " + failure.message + L"\n");
        return failure.exitCode;
    } catch (...) {
        WriteTo(STD_ERROR_HANDLE, L"vivdrive: unexpected failure\n");
        return kExitFailure;
    }
}
