#include "render/bitmap_export.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "design/fixed_text.h"
#include "render/bitmap_file.h"
#include "win/file_replace.h"
#include "win/guards.h"
#include "win/picture_list.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

static_assert(sizeof(BITMAPINFOHEADER) == kBitmapInfoHeaderSize);

constexpr wchar_t kNotSaved[] = L"ファイルが出来ませんでした。";
constexpr wchar_t kNotSavedCaption[] = L"保存";
constexpr wchar_t kTitle[] = L"ファイルの保存";
// Pairs of display text and pattern, ended by an extra terminator.
constexpr wchar_t kFilter[] = L"Bitmap(*.bmp)\0*.bmp\0AllFile(*.*)\0*.*\0";

void ReportNotSaved(HWND owner) { ShowMessage(owner, kNotSaved, kNotSavedCaption); }

// The proposed name under the start folder, with its leading separator.
const wchar_t* ProposedSuffix(int kind) {
    switch (kind) {
        case kFaceBitmap: return L"\\phot\\phot-.bmp";
        case kBaseBitmap: return L"\\base\\base-.bmp";
        case kMarkBitmap: return L"\\mark\\mark-.bmp";
        default: return L"\\無題.bmp";
    }
}

// A zero-filled block for the whole file. A block too large for memory is a failure to
// report here; thrown on, it would be dropped without a word by the window procedure.
bool AllocateFile(std::int64_t size, std::vector<std::uint8_t>& file) {
    try {
        file.assign(static_cast<std::size_t>(size), 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

WindowCapture CaptureWindowBitmap(HWND window, int x, int y, int width, int height,
                                  std::vector<std::uint8_t>& file) {
    const std::optional<BitmapHeader> header = MakeBitmapHeader(width, height);
    if (!header || !AllocateFile(BitmapFileSize(width, height), file)) return WindowCapture::kRefused;
    std::copy(header->begin(), header->end(), file.begin());
    BITMAPINFO format{};
    std::memcpy(&format.bmiHeader, file.data() + kBitmapFileHeaderSize, kBitmapInfoHeaderSize);
    WindowDc screen(window);
    if (!screen.Get()) return WindowCapture::kDrawingFailed;
    MemoryDc memory(screen.Get());
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!memory || !bitmap) return WindowCapture::kDrawingFailed;
    {
        SelectGuard select(memory.Get(), bitmap.Get());
        if (!select || !BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), x, y, SRCCOPY))
            return WindowCapture::kDrawingFailed;
    }
    // Out of the memory context now, as GetDIBits requires of the bitmap it reads.
    if (GetDIBits(memory.Get(), bitmap.Get(), 0, height, file.data() + kBitmapHeaderSize, &format,
                  DIB_RGB_COLORS) != height)
        return WindowCapture::kDrawingFailed;
    return WindowCapture::kCaptured;
}

WindowCapture CaptureBitmapPixels(HBITMAP bitmap, int width, int height, std::vector<std::uint8_t>& file) {
    const std::optional<BitmapHeader> header = MakeBitmapHeader(width, height);
    if (!bitmap || !header || !AllocateFile(BitmapFileSize(width, height), file)) return WindowCapture::kRefused;
    std::copy(header->begin(), header->end(), file.begin());
    BITMAPINFO format{};
    std::memcpy(&format.bmiHeader, file.data() + kBitmapFileHeaderSize, kBitmapInfoHeaderSize);
    WindowDc screen(nullptr);
    if (!screen.Get()) return WindowCapture::kDrawingFailed;
    if (GetDIBits(screen.Get(), bitmap, 0, height, file.data() + kBitmapHeaderSize, &format, DIB_RGB_COLORS) != height)
        return WindowCapture::kDrawingFailed;
    return WindowCapture::kCaptured;
}

namespace {

// Asks for a file and writes the captured picture there (the last steps of the exports).
void SaveCapture(HWND window, WindowCapture capture, const std::vector<std::uint8_t>& file, int kind) {
    switch (capture) {
        case WindowCapture::kRefused: ReportNotSaved(window); return;
        case WindowCapture::kDrawingFailed: ShowMessage(window, kMemoryDcFailed, kMemoryDcCaption); return;
        case WindowCapture::kCaptured: break;
    }
    std::wstring path;
    if (!ChooseBitmapFile(window, kind, path)) return;
    // Decided before writing: a file written but not remembered would be a save reported
    // as failed.
    wchar_t remembered[kPictureNameCapacity];
    if (!SetWholeText(remembered,
                      W(PathUnderFolder(U16(path.c_str()), U16(Process().start_folder.c_str()))))) {
        ReportNotSaved(window);
        return;
    }
    EnterStartFolder();
    if (!ReplaceFileContent(path.c_str(), file)) {
        ReportNotSaved(window);
        return;
    }
    SetText(LastSavedBitmapPath(), TextOf(remembered));
}

}  // namespace

void ExportBitmap(HWND window, int x, int y, int width, int height, int kind) {
    std::vector<std::uint8_t> file;
    const WindowCapture capture = CaptureWindowBitmap(window, x, y, width, height, file);
    SaveCapture(window, capture, file, kind);
}

void ExportPicture(HWND owner, HBITMAP bitmap, int width, int height, int kind) {
    std::vector<std::uint8_t> file;
    const WindowCapture capture = CaptureBitmapPixels(bitmap, width, height, file);
    SaveCapture(owner, capture, file, kind);
}

bool ChooseBitmapFile(HWND owner, int kind, std::wstring& path) {
    EnterStartFolder();
    const wchar_t* suffix = ProposedSuffix(kind);
    wchar_t name[kFileNameUnits];
    // Rather than a cut name, the bare relative one, which the dialog shows in the start
    // folder, its current directory.
    if (!SetWholeText(name, Process().start_folder + suffix)) SetText(name, suffix + 1);
    // The file replaced may be a picture the design uses, so replacing one is asked first.
    OPENFILENAMEW request = FileDialogRequest(owner, name, kTitle, kFilter, OFN_EXPLORER | OFN_OVERWRITEPROMPT);
    request.lpstrDefExt = L"bmp";
    if (!Ui().SaveFileDialog(&request)) return false;
    path.assign(W(WithBitmapExtension(U16(name))));
    return true;
}
