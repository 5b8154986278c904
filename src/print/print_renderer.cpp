#include "print/print_renderer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/ui_seam.h"
#include "app/wide.h"
#include "app/win_guards.h"
#include "design/fixed_text.h"
#include "print/mark_capture.h"
#include "print/printer.h"
#include "qr/draw_qr.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "render/win_text.h"

namespace {

constexpr wchar_t kLoadCaption[] = L"PaintBMP Load";

// A picture read once for a page: the bitmap's pixels as a bottom-up 32-bit DIB, sent
// to every card from the same buffer.
struct PagePicture {
    int width = 0, height = 0;
    BITMAPINFO info{};
    std::vector<std::uint32_t> pixels;
    bool Ready() const { return !pixels.empty(); }
};

struct PagePictures {
    PagePicture base;
    PagePicture mark[kMarkCount];
    PagePicture face;
};

// The start folder as recorded, or the current directory before it is.
std::wstring CaptureFolder() {
    if (App().start_folder[0]) return App().start_folder;
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

std::wstring CaptureFile(int mark) {
    const std::u16string name = MarkCaptureName(U16(CaptureFolder().c_str()), mark);
    return W(name.c_str());
}

// Reads the pixels of bitmap (which the caller keeps and deletes). A picture whose pixels
// cannot be read stays not ready.
PagePicture ReadPicture(HWND owner, HBITMAP bitmap) {
    PagePicture picture;
    if (!bitmap) return picture;
    MemoryDc memory(nullptr);
    if (!memory) {
        ShowMessage(owner, L"失敗しました。", L"CreateCompatibleDC");
        return picture;
    }
    BITMAP size{};
    GetObjectW(bitmap, sizeof(size), &size);
    if (size.bmWidth <= 0 || size.bmHeight <= 0) return picture;
    picture.width = size.bmWidth;
    picture.height = size.bmHeight;
    BITMAPINFOHEADER& header = picture.info.bmiHeader;
    header.biSize = sizeof(header);
    header.biWidth = picture.width;
    header.biHeight = picture.height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
    if (!GetDIBits(memory.Get(), bitmap, 0, picture.height, picture.pixels.data(), &picture.info,
                   DIB_RGB_COLORS))
        picture.pixels.clear();
    return picture;
}

// Loads a picture file of the design and reads its pixels; a file that cannot be loaded
// is reported with text.
PagePicture LoadPagePicture(HWND owner, const char16_t* path, int load_mode, const wchar_t* text) {
    BitmapHandle bitmap(LoadDialogPicture(W(path), load_mode));
    if (!bitmap) {
        ShowMessage(owner, text, kLoadCaption);
        return {};
    }
    return ReadPicture(owner, bitmap.Get());
}

PagePicture LoadCapture(HWND owner, int mark) {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, CaptureFile(mark).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    return ReadPicture(owner, bitmap.Get());
}

void LoadPage(HWND owner, const CardDesign& d, PagePictures& page) {
    page.base = LoadPagePicture(owner, d.base_filepass, d.base_load_mode,
                                L"ベース画像が読み込み出来ません。");
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (!mark.on) continue;
        page.mark[i] = mark.m ? LoadCapture(owner, i)
                              : LoadPagePicture(owner, mark.fm, d.mark_load_mode,
                                                L"マーク画像が読み込み出来ません。");
    }
    if (d.phot_data.on)
        page.face = LoadPagePicture(owner, d.phot_data.fm, d.phot_load_mode,
                                    L"顔の画像が読み込み出来ません。");
}

void SendPicture(HDC dc, const PagePicture& picture, const DeviceRect& to, const SourceRect& from) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, to.x, to.y, to.w, to.h, from.x, BottomUpSourceY(picture.height, from), from.w,
                  from.h, picture.pixels.data(), &picture.info, DIB_RGB_COLORS, SRCCOPY);
}

void SendWholePicture(HDC dc, const PagePicture& picture, const DeviceRect& to) {
    SendPicture(dc, picture, to, SourceRect{0, 0, picture.width, picture.height});
}

// Corner marks with the context's current pen.
void DrawCutMarks(HDC dc, const PrintScale& s, CardOrigin origin, const CardDesign& d) {
    for (const CutMark& mark : CutMarks(s, origin, d.p_outline_len, d.p_outline_size)) {
        MoveToEx(dc, mark[0].x, mark[0].y, nullptr);
        LineTo(dc, mark[1].x, mark[1].y);
        LineTo(dc, mark[2].x, mark[2].y);
    }
}

void DrawTextItem(HDC dc, const PrintScale& s, CardOrigin origin, const CardDesign& d, int j) {
    const StrData& item = d.str_data[j];
    LogFont font = d.lf[j];
    font.lfHeight = PrintedFontHeight(font.lfHeight, s);
    FontHandle handle(CreateDesignFont(font));
    SelectGuard select(dc, handle.Get());
    SetBkMode(dc, item.bk ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, DesignColour(item.r, item.g, item.b));
    SetBkColor(dc, DesignColour(item.br, item.bg, item.bb));
    const DevicePoint at = MapCardPoint(s, origin, item.x, item.y);
    TextOutW(dc, at.x, at.y, W(item.s64), static_cast<int>(TextLength(item.s64)));
}

void DrawQrCode(HWND owner, HDC dc, const PrintScale& s, CardOrigin origin, const QrcodeData& qr) {
    char bytes[288] = {};
    const int length = QrTextToAnsi(qr.s, bytes, sizeof(bytes));
    const DevicePoint at = MapCardPoint(s, origin, qr.x, qr.y);
    DrawQrUnclamped(owner, dc, qr.Lv, PrintedModuleSize(qr.Sell, s), at.x, at.y,
                    reinterpret_cast<const unsigned char*>(bytes), length, qr.r, qr.g, qr.b, qr.br,
                    qr.bg, qr.bb);
}

void DrawCard(HWND owner, HDC dc, const PrintScale& s, CardOrigin origin, const CardDesign& d,
              const PagePictures& page) {
    if (page.base.Ready()) {
        const PagePicture& base = page.base;
        SendPicture(dc, base, PrintedCardRect(s, origin),
                    PrintedBaseCrop(base.width, base.height, s.cw, s.ch, d.base_pl_mode));
        if (d.p_outline) DrawCutMarks(dc, s, origin, d);
    }
    const PhotData& face = d.phot_data;
    if (face.on && page.face.Ready())
        SendWholePicture(dc, page.face, MapCardRect(s, origin, face.x, face.y, face.w, face.h));
    for (int i = 0; i < kMarkCount; ++i) {
        const MarkData& mark = d.mark_data[i];
        if (mark.on && page.mark[i].Ready())
            SendWholePicture(dc, page.mark[i], MapCardRect(s, origin, mark.x, mark.y, mark.w, mark.h));
    }
    for (int j = 0; j < kTextCount; ++j) {
        if (d.str_data[j].on) DrawTextItem(dc, s, origin, d, j);
    }
    for (const QrcodeData& qr : d.qrcode_data) {
        if (qr.on) DrawQrCode(owner, dc, s, origin, qr);
    }
}

}  // namespace

PrintPage CurrentPrintPage() {
    const PrinterMetrics& m = Metrics();
    return {m.dpi_x, m.dpi_y, m.offset_x, m.offset_y};
}

void RenderDesignSheet(HWND owner, HDC dc, const CardDesign& d, const PrintPage& page) {
    EnterStartFolder();
    const PrintScale scale = ComputePrintScale(d, page);
    PagePictures pictures;
    LoadPage(owner, d, pictures);
    for (int row = 0; row < d.base_cnty; ++row) {
        for (int column = 0; column < d.base_cntx; ++column)
            DrawCard(owner, dc, scale, CardOriginAt(scale, column, row), d, pictures);
    }
}

void RenderSheet(HWND main_window, HDC printer_dc) {
    RenderDesignSheet(main_window, printer_dc, Design(), CurrentPrintPage());
}

void WriteMarkCapture(HWND main_window, int mark) {
    if (mark < 0 || mark >= kMarkCount) return;
    const MarkData& m = Design().mark_data[mark];
    if (m.w <= 0 || m.h <= 0) return;
    const std::wstring file = CaptureFile(mark);
    std::vector<std::uint8_t> block(static_cast<size_t>(CaptureFileSize(m.w, m.h)), 0);
    const auto header = CaptureHeader(m.w, m.h);
    std::copy(header.begin(), header.end(), block.begin());

    UpdateWindow(main_window);
    {
        WindowDc window(main_window);
        BitmapHandle bitmap(CreateCompatibleBitmap(window.Get(), m.w, m.h));
        MemoryDc memory(window.Get());
        if (!memory || !bitmap) {
            ShowMessage(main_window, L"失敗しました。", L"CreateCompatibleDC");
            // An older capture would print a stale picture; without one the mark is left out.
            DeleteFileW(file.c_str());
            return;
        }
        {
            SelectGuard select(memory.Get(), bitmap.Get());
            BitBlt(memory.Get(), 0, 0, m.w, m.h, window.Get(), m.x + kCardLeft, m.y + kCardTop,
                   SRCCOPY);
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m.w;
        info.bmiHeader.biHeight = m.h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        GetDIBits(memory.Get(), bitmap.Get(), 0, m.h, block.data() + header.size(), &info,
                  DIB_RGB_COLORS);
    }
    KernelHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Valid()) {
        ShowMessage(main_window, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
        return;
    }
    DWORD written = 0;
    WriteFile(out.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
}
