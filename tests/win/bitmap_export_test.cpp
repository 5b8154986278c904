#include "render/bitmap_export.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "design/fixed_text.h"
#include "recording_seam.h"
#include "render/bitmap_file.h"
#include "test_files.h"
#include "win/picture_list.h"
#include "win/process.h"

namespace {

constexpr wchar_t kNotSaved[] = L"ファイルが出来ませんでした。";
constexpr wchar_t kEarlier[] = L"phot\\earlier.bmp";
constexpr int kWindowSize = 120;

// What the test window shows at client point (x, y). Red tells x and green tells y apart
// within the window, so a shifted, flipped or channel-swapped picture cannot match.
COLORREF Shown(int x, int y) { return RGB(x * 7 % 256, y * 11 % 256, (x * 3 + y * 5) % 256); }

LRESULT CALLBACK PatternWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    std::vector<std::uint32_t> pixels(kWindowSize * kWindowSize);
    for (int y = 0; y < kWindowSize; ++y)
        for (int x = 0; x < kWindowSize; ++x) {
            const COLORREF c = Shown(x, y);
            pixels[y * kWindowSize + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWindowSize;
    info.bmiHeader.biHeight = -kWindowSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetDIBitsToDevice(dc, 0, 0, kWindowSize, kWindowSize, 0, 0, 0, kWindowSize, pixels.data(),
                      &info, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}

// A visible top-level window showing the pattern, painted by the time it is made.
class PatternWindow {
public:
    PatternWindow() {
        WNDCLASSW type{};
        type.lpfnWndProc = PatternWindowProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = kClass;
        RegisterClassW(&type);
        window_ = CreateWindowW(kClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWindowSize, kWindowSize,
                                nullptr, nullptr, type.hInstance, nullptr);
        UpdateWindow(window_);
    }
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    ~PatternWindow() {
        DestroyWindow(window_);
        UnregisterClassW(kClass, GetModuleHandleW(nullptr));
    }
    HWND Get() const { return window_; }

private:
    static constexpr wchar_t kClass[] = L"BitmapExportTest";
    HWND window_;
};

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class BitmapExport : public ::testing::Test {
protected:
    // One window for the suite: under Wine each visible window takes seconds to make.
    static void SetUpTestSuite() { window_ = std::make_unique<PatternWindow>(); }
    static void TearDownTestSuite() { window_.reset(); }
    static HWND Window() { return window_->Get(); }

    RecordingSeam seam;
    ScratchFolder folder;
    void SetUp() override {
        Process().start_folder = folder.Path();
        SetText(LastSavedBitmapPath(), kEarlier);
    }
    void TearDown() override {
        ClearText(LastSavedBitmapPath());
        Process().start_folder.clear();
    }
    static std::wstring LastSaved() { return std::wstring(TextOf(LastSavedBitmapPath())); }
    // Exports a small rectangle of the pattern window to path (as the dialog answers).
    void ExportTo(const std::wstring& path) {
        seam.file_answers.push_back({true, path});
        ExportBitmap(Window(), 0, 0, 5, 3, kCardBitmap);
    }
    void ExpectNotSavedOnce() {
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text, kNotSaved);
        EXPECT_EQ(seam.messages[0].caption, L"保存");
        EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(LastSaved(), kEarlier);
    }

private:
    static inline std::unique_ptr<PatternWindow> window_;
};

TEST_F(BitmapExport, FileHoldsWhatTheWindowShowedBeforeTheDialog) {
    CreateDirectoryW(folder.File(L"phot").c_str(), nullptr);
    const std::wstring file = folder.File(L"phot\\card.bmp");
    ASSERT_TRUE(WriteBytes(file, "old", 3));  // replaced whole
    InvalidateRect(Window(), nullptr, FALSE);
    UpdateWindow(Window());
    // While the dialog is up the screen shows something else; the file must not.
    seam.on_file_dialog = [](const ShownFileDialog&) {
        HDC dc = GetDC(Window());
        const RECT all{0, 0, kWindowSize, kWindowSize};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(Window(), dc);
    };
    seam.file_answers.push_back({true, folder.File(L"phot\\card")});
    constexpr int kX = 10, kY = 50, kWidth = 37, kHeight = 23;  // rows of 111 bytes and 1 fill byte
    ExportBitmap(Window(), kX, kY, kWidth, kHeight, kFaceBitmap);

    EXPECT_EQ(seam.MessageTexts(), L"");
    EXPECT_EQ(LastSaved(), L"phot\\card.bmp");
    EXPECT_EQ(FileCount(folder.File(L"phot")), 1);  // no temporary file left
    const std::vector<uint8_t> bytes = ReadBytes(file);
    ASSERT_EQ(static_cast<std::int64_t>(bytes.size()), BitmapFileSize(kWidth, kHeight));
    const BitmapHeader header = *MakeBitmapHeader(kWidth, kHeight);
    // The image size at 34 is what the system's conversion left there: 0 or the pixel bytes.
    for (int i = 0; i < kBitmapHeaderSize; ++i)
        if (i < 34 || i >= 38) EXPECT_EQ(bytes[i], header[i]) << "header byte " << i;
    std::uint32_t image_size = 0;
    for (int i = 3; i >= 0; --i) image_size = image_size << 8 | bytes[34 + i];
    EXPECT_TRUE(image_size == 0 || image_size == 23 * 112) << image_size;
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* row = &bytes[kBitmapHeaderSize + (kHeight - 1 - y) * 112];
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* p = row + 3 * x;
            wrong += RGB(p[2], p[1], p[0]) != Shown(kX + x, kY + y);
        }
        EXPECT_EQ(row[111], 0) << "fill byte of row " << y;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(BitmapExport, SaveDialogProposesTheNameOfTheKind) {
    std::wstring path = L"untouched";
    const std::pair<int, const wchar_t*> kinds[] = {{kFaceBitmap, L"\\phot\\phot-.bmp"},
                                                    {kBaseBitmap, L"\\base\\base-.bmp"},
                                                    {kMarkBitmap, L"\\mark\\mark-.bmp"},
                                                    {kCardBitmap, L"\\無題.bmp"},
                                                    {7, L"\\無題.bmp"}};
    for (const auto& [kind, name] : kinds) {
        EXPECT_FALSE(ChooseBitmapFile(nullptr, kind, path));
        const ShownFileDialog& shown = seam.file_dialogs.back();
        EXPECT_TRUE(shown.save);
        EXPECT_EQ(shown.title, L"ファイルの保存");
        EXPECT_EQ(shown.filter, L"Bitmap(*.bmp)|*.bmp|AllFile(*.*)|*.*|");
        EXPECT_EQ(shown.initial_name, folder.Path() + name) << kind;
        EXPECT_EQ(shown.flags, static_cast<DWORD>(OFN_EXPLORER | OFN_OVERWRITEPROMPT));
    }
    EXPECT_EQ(path, L"untouched");  // cancelled each time

    // A start folder that makes the name longer than 255 units gives the bare name, not a
    // cut one; "\無題.bmp" is 7 units.
    Process().start_folder = L"C:\\" + std::wstring(245, L'a');
    ChooseBitmapFile(nullptr, kCardBitmap, path);
    EXPECT_EQ(seam.file_dialogs.back().initial_name, Process().start_folder + L"\\無題.bmp");
    Process().start_folder += L'a';
    ChooseBitmapFile(nullptr, kCardBitmap, path);
    EXPECT_EQ(seam.file_dialogs.back().initial_name, L"無題.bmp");
    ChooseBitmapFile(nullptr, kMarkBitmap, path);
    EXPECT_EQ(seam.file_dialogs.back().initial_name, L"mark\\mark-.bmp");
}

TEST_F(BitmapExport, LastSavedPathIsRelativeOnlyUnderTheStartFolder) {
    std::wstring upper = folder.File(L"card.bmp");
    CharUpperW(upper.data());
    ExportTo(upper);
    EXPECT_EQ(seam.MessageTexts(), L"");
    EXPECT_TRUE(Exists(folder.File(L"card.bmp")));
    EXPECT_EQ(LastSaved(), L"CARD.BMP");

    ScratchFolder elsewhere;
    ExportTo(elsewhere.File(L"card.bmp"));
    EXPECT_TRUE(Exists(elsewhere.File(L"card.bmp")));
    EXPECT_EQ(LastSaved(), elsewhere.File(L"card.bmp"));
}

TEST_F(BitmapExport, CancelWritesAndChangesNothing) {
    ExportBitmap(Window(), 0, 0, 10, 10, kMarkBitmap);
    EXPECT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(FileCount(folder.Path()), 0);
    EXPECT_EQ(LastSaved(), kEarlier);
}

TEST_F(BitmapExport, RefusedSizesAskForNoFile) {
    const int sizes[][2] = {{0, 0}, {0, 5}, {5, 0}, {-3, 5}, {4, 178956967}, {INT_MAX, 1}};
    for (const auto& [width, height] : sizes) {
        seam.messages.clear();
        ExportBitmap(Window(), 0, 0, width, height, kCardBitmap);
        ExpectNotSavedOnce();
    }
    EXPECT_TRUE(seam.file_dialogs.empty());
    EXPECT_EQ(FileCount(folder.Path()), 0);
}

TEST_F(BitmapExport, FileThatCannotBeWrittenLeavesEverythingAsItWas) {
    ExportTo(folder.File(L"no such folder\\card.bmp"));
    ExpectNotSavedOnce();
    EXPECT_EQ(FileCount(folder.Path()), 0);

    // A target held open without sharing keeps its content; the temporary file is gone.
    const std::wstring held_file = folder.File(L"held.bmp");
    ASSERT_TRUE(WriteBytes(held_file, "old", 3));
    HANDLE held =
        CreateFileW(held_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    seam.messages.clear();
    ExportTo(held_file);
    CloseHandle(held);
    ExpectNotSavedOnce();
    EXPECT_EQ(ReadBytes(held_file), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(FileCount(folder.Path()), 1);
}

TEST_F(BitmapExport, PathTooLongToRememberWholeIsNotWritten) {
    // 255 units fit the dialog's buffer; with ".bmp" the path no longer fits the 256-unit
    // last saved path, and it lies outside the start folder, so it stays whole.
    ScratchFolder elsewhere;
    const std::wstring typed =
        elsewhere.File(std::wstring(255 - elsewhere.Path().size() - 1, L'n'));
    ASSERT_EQ(typed.size(), 255u);
    ExportTo(typed);
    ExpectNotSavedOnce();
    EXPECT_FALSE(Exists(typed + L".bmp"));
    EXPECT_EQ(FileCount(elsewhere.Path()), 0);
}

}  // namespace
