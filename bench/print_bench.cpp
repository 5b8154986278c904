// Time to render one printed A4 sheet of 10 cards (2 x 5) into a memory device context
// at 300 and 600 dpi: the full card (base picture, face, two marks, fifteen texts, one
// QR code) against the same card with its pictures only, the floor that reading and
// sending pixels sets. A Windows program; run it under Wine:
//
//     wine build/<win>/bench/print_bench.exe [ROUNDS]
//
// Each figure is the median of ROUNDS renderings (default 5) after one warm-up.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "win/ui_seam.h"
#include "win/wide.h"
#include "design/card_design.h"
#include "design/fixed_text.h"
#include "print/print_renderer.h"

namespace {

// Counts what would be shown instead of showing it: a benchmark must not stop for a box.
class QuietSeam final : public UiSeam {
public:
    int messages = 0;
    int ShowMessageBox(HWND, const wchar_t* text, const wchar_t* caption, UINT) override {
        ++messages;
        std::fwprintf(stderr, L"message \"%ls\": %ls\n", caption, text);
        return IDOK;
    }
    BOOL OpenFileDialog(OPENFILENAMEW*) override { return FALSE; }
    BOOL SaveFileDialog(OPENFILENAMEW*) override { return FALSE; }
    BOOL ColorDialog(CHOOSECOLORW*) override { return FALSE; }
    BOOL FontDialog(CHOOSEFONTW*) override { return FALSE; }
    BOOL PrintDialog(PRINTDLGW*) override { return FALSE; }
    void OpenDocument(HWND, const wchar_t*) override {}
};

// A 24-bit bitmap file of a smooth colour field, as photographs and logos give.
bool WritePicture(const std::wstring& path, int w, int h, int seed) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> file(54 + static_cast<size_t>(stride) * h, 0);
    auto put32 = [&](size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(w));
    put32(22, static_cast<unsigned>(h));
    file[26] = 1, file[28] = 24;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &file[54 + static_cast<size_t>(y) * stride + x * 3];
            p[0] = static_cast<unsigned char>(x * 255 / w);
            p[1] = static_cast<unsigned char>(y * 255 / h);
            p[2] = static_cast<unsigned char>((x + y + seed * 50) & 0xFF);
        }
    }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(out);
    return ok && written == file.size();
}

struct Folder {
    std::wstring path;
    Folder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"vivi-print-bench-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~Folder() {
        for (const wchar_t* name : {L"base.bmp", L"face.bmp", L"mark1.bmp", L"mark2.bmp"})
            DeleteFileW((path + L"\\" + name).c_str());
        RemoveDirectoryW(path.c_str());
    }
    std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
};

std::unique_ptr<CardDesign> FullCard(const Folder& folder) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    SetText(d->base_filepass, U16(folder.File(L"base.bmp").c_str()));
    d->base_pl_mode = 1;
    d->p_outline = 1;
    d->phot_data = {1, 352, 96, 80, 100, {}};
    SetText(d->phot_data.fm, U16(folder.File(L"face.bmp").c_str()));
    d->mark_data[0] = {1, 18, 16, 44, 44, 0, {}};
    SetText(d->mark_data[0].fm, U16(folder.File(L"mark1.bmp").c_str()));
    d->mark_data[1] = {1, 300, 16, 60, 30, 0, {}};
    SetText(d->mark_data[1].fm, U16(folder.File(L"mark2.bmp").c_str()));
    for (int j = 0; j < kTextCount; ++j) {
        StrData& t = d->str_data[j];
        t.on = 1;
        t.x = 10 + (j % 3) * 140;
        t.y = 10 + (j / 3) * 50;
        t.bk = j % 4 == 0;
    }
    QrcodeData& qr = d->qrcode_data[0];
    qr.on = 1;
    SetText(qr.s, u"MEMORY:会社名\r\nNAME1:山田太郎\r\nTEL1:03-1234-5678\r\nMAIL1:taro@example.jp\r\n");
    qr.Lv = 1;
    qr.Sell = 2;
    qr.x = 272, qr.y = 186;
    qr.br = qr.bg = qr.bb = 255;
    // Ten cards on A4: two across, five down.
    d->base_cntx = 2, d->base_cnty = 5;
    d->base_px = 140, d->base_py = 70;
    d->base_spx = 0, d->base_spy = 0;
    return d;
}

std::unique_ptr<CardDesign> PicturesOnly(const CardDesign& full) {
    auto d = std::make_unique<CardDesign>(full);
    for (StrData& t : d->str_data) t.on = 0;
    for (QrcodeData& qr : d->qrcode_data) qr.on = 0;
    d->p_outline = 0;
    return d;
}

// An A4 page at dpi, 32 bits per pixel, selected into a memory context.
class PageDc {
public:
    explicit PageDc(int dpi) {
        width_ = 2100 * dpi / 254, height_ = 2970 * dpi / 254;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_) previous_ = SelectObject(dc_, bitmap_);
    }
    PageDc(const PageDc&) = delete;
    PageDc& operator=(const PageDc&) = delete;
    ~PageDc() {
        if (bitmap_) {
            SelectObject(dc_, previous_);
            DeleteObject(bitmap_);
        }
        DeleteDC(dc_);
    }
    bool Ready() const { return bitmap_ != nullptr; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Clear() {
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// Median milliseconds of rounds renderings of design on page, after one warm-up.
double MedianMs(PageDc& page, const CardDesign& design, int dpi, int rounds) {
    const PrintPage printer{dpi, dpi, 0, 0};
    std::vector<double> times;
    for (int i = 0; i <= rounds; ++i) {
        page.Clear();
        GdiFlush();
        const auto start = std::chrono::steady_clock::now();
        PaintReport failures;
        RenderDesignSheet(page.Dc(), design, printer, failures);
        GdiFlush();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i > 0) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QuietSeam seam;
    InstallUiSeam(&seam);
    Folder folder;
    if (!WritePicture(folder.File(L"base.bmp"), 1000, 605, 0) ||
        !WritePicture(folder.File(L"face.bmp"), 160, 200, 1) ||
        !WritePicture(folder.File(L"mark1.bmp"), 96, 96, 2) ||
        !WritePicture(folder.File(L"mark2.bmp"), 120, 60, 3)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }
    const auto full = FullCard(folder);
    const auto pictures = PicturesOnly(*full);
    std::printf("A4 sheet of 10 cards, median of %d renderings into a memory device context\n",
                rounds);
    std::printf("%5s %11s %10s %15s %7s\n", "dpi", "page px", "full ms", "pictures ms", "ratio");
    for (int dpi : {300, 600}) {
        PageDc page(dpi);
        if (!page.Ready()) {
            std::fprintf(stderr, "no %d dpi page bitmap\n", dpi);
            return 2;
        }
        const double full_ms = MedianMs(page, *full, dpi, rounds);
        const double pictures_ms = MedianMs(page, *pictures, dpi, rounds);
        std::printf("%5d %5dx%-5d %10.1f %15.1f %7.2f\n", dpi, page.Width(), page.Height(), full_ms,
                    pictures_ms, full_ms / pictures_ms);
    }
    InstallUiSeam(nullptr);
    if (seam.messages) {
        std::fprintf(stderr, "%d messages were reported\n", seam.messages);
        return 1;
    }
    return 0;
}
