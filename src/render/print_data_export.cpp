#include "render/print_data_export.h"

#include <wincodec.h>

#include <cstring>
#include <new>
#include <span>
#include <string>

#include "design/file_names.h"
#include "design/fixed_text.h"
#include "render/canvas_math.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "render/print_data_dialog.h"
#include "win/file_replace.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kNotSaved[] = L"ファイルが出来ませんでした。";
constexpr wchar_t kNotSavedCaption[] = L"保存";
constexpr wchar_t kTooLarge[] = L"名刺が大きすぎて、この解像度では保存できません。";
constexpr wchar_t kCaption[] = L"印刷用データ！";
constexpr wchar_t kNearTrim[] = L"文字や二次元コードが仕上がり線から3mm以内にあります。このまま保存しますか？";
constexpr wchar_t kTitle[] = L"印刷用データの保存";
constexpr wchar_t kPdfFilter[] = L"PDF(*.pdf)\0*.pdf\0AllFile(*.*)\0*.*\0";
constexpr wchar_t kPngFilter[] = L"PNG(*.png)\0*.png\0AllFile(*.*)\0*.*\0";

bool IsPdf(const PrintDataOptions& options) { return options.format == PrintDataFormat::kPdf; }

// The texts' extents as the preview draws them, measured in a memory context.
void MeasureTexts(const CardDesign& d, TextSizes& sizes) {
    MemoryDc memory(nullptr);
    if (!memory) return;
    const CardMapping mapping = PreviewMapping(d);
    for (int j = 0; j < kTextCount; ++j) {
        if (!d.str_data[j].on) continue;
        const SIZE extent = DrawTextItem(memory.Get(), d.str_data[j], d.lf[j], {0, 0}, mapping);
        sizes[j] = {static_cast<int>(extent.cx), static_cast<int>(extent.cy)};
    }
}

// The 24-bit rows of the picture, bottom byte first (B, G, R), for the encoder.
bool BgrRows(const PrintDataPicture& picture, std::vector<BYTE>& rows, UINT& stride) {
    stride = static_cast<UINT>(picture.width) * 3;
    try {
        rows.resize(static_cast<std::size_t>(stride) * picture.height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    BYTE* out = rows.data();
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = picture.pixels[i];
        *out++ = static_cast<BYTE>(p);
        *out++ = static_cast<BYTE>(p >> 8);
        *out++ = static_cast<BYTE>(p >> 16);
    }
    return true;
}

// The bytes written into a memory stream.
bool StreamBytes(IStream* stream, std::vector<std::uint8_t>& file) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(stream, &memory))) return false;
    GlobalLockGuard lock(memory);
    if (!lock.Get()) return false;
    try {
        const auto* bytes = static_cast<const std::uint8_t*>(lock.Get());
        file.assign(bytes, bytes + stat.cbSize.QuadPart);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The proposed name: the design's name with the file's extension, in the start folder
// when the design has no folder yet.
void ProposeName(const PrintDataOptions& options, wchar_t (&name)[kFileNameUnits]) {
    const std::u16string proposed =
        ForceExtension(TextOf(Design().main_filename), IsPdf(options) ? u".pdf" : u".png");
    const bool has_folder = proposed.find(u'\\') != std::u16string::npos || proposed.find(u':') != std::u16string::npos;
    if (has_folder ? SetWholeText(name, W(proposed.c_str()))
                   : SetWholeText(name, Process().start_folder + L"\\" + W(proposed.c_str())))
        return;
    // Rather than a cut name, the bare one, which the dialog shows in the start folder.
    const std::size_t slash = proposed.rfind(u'\\');
    if (!SetWholeText(name, W(proposed.c_str() + (slash == std::u16string::npos ? 0 : slash + 1))))
        SetText(name, IsPdf(options) ? L"無題.pdf" : L"無題.png");
}

bool ChoosePrintDataFile(HWND owner, const PrintDataOptions& options, std::wstring& path) {
    EnterStartFolder();
    wchar_t name[kFileNameUnits];
    ProposeName(options, name);
    OPENFILENAMEW request = FileDialogRequest(owner, name, kTitle, IsPdf(options) ? kPdfFilter : kPngFilter,
                                              OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR);
    request.lpstrDefExt = IsPdf(options) ? L"pdf" : L"png";
    if (!Ui().SaveFileDialog(&request)) return false;
    path = request.nFilterIndex == 1 ? W(ForceExtension(U16(name), IsPdf(options) ? u".pdf" : u".png").c_str())
                                     : std::wstring(name);
    return true;
}

// The name each side's file is written to.
std::wstring SidePath(const PrintDataOptions& options, const wchar_t* path, std::size_t side) {
    if (side == 0 || IsPdf(options)) return path;
    return W(BackPictureFileName(U16(path)).c_str());
}

// A back's PNG is not among the names the save dialog asked about: it asks here.
bool MayReplaceBackPicture(HWND owner, const std::wstring& back_path) {
    if (GetFileAttributesW(back_path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    const std::wstring question = back_path + L" は既にあります。\n置き換えますか？";
    return ShowMessage(owner, question.c_str(), kCaption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

}  // namespace

bool DrawPrintData(const CardDesign& d, const CardPictures& pictures, const PrintDataLayout& layout,
                   PrintDataPicture& picture, PaintReport& report) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = layout.image_w;
    format.bmiHeader.biHeight = -layout.image_h;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    picture.bitmap = BitmapHandle(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(nullptr);
    if (!picture.bitmap || !bits || !memory) {
        report.Add(kMemoryDcFailed, kMemoryDcCaption);
        return false;
    }
    picture.pixels = static_cast<const std::uint32_t*>(bits);
    picture.width = layout.image_w;
    picture.height = layout.image_h;
    SelectGuard select(memory.Get(), picture.bitmap.Get());
    PatBlt(memory.Get(), 0, 0, layout.image_w, layout.image_h, WHITENESS);
    CardPaint paint;
    paint.mapping = PrintDataMapping(d, layout);
    paint.opaque_pictures = true;
    paint.bleed_x = paint.bleed_y = layout.bleed;
    PaintCardPictures(memory.Get(), d, paint, pictures, report);
    PaintCardItems(memory.Get(), d, paint, report);
    GdiFlush();
    return true;
}

bool EncodePrintDataPng(const PrintDataPicture& picture, int dpi, std::vector<std::uint8_t>& file) {
    std::vector<BYTE> rows;
    UINT stride = 0;
    IWICImagingFactory* factory = ImagingFactory();
    if (!factory || !BgrRows(picture, rows, stride)) return false;
    ComRef<IStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID pixel_format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height))) ||
        FAILED(frame->SetResolution(dpi, dpi)) || FAILED(frame->SetPixelFormat(&pixel_format)) ||
        pixel_format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(static_cast<UINT>(picture.height), stride, static_cast<UINT>(rows.size()),
                                  rows.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    return StreamBytes(stream.Get(), file);
}

bool WritePrintData(HWND owner, std::span<const PrintDataSide> sides, const PrintDataOptions& options,
                    const wchar_t* path) {
    std::vector<PrintDataLayout> layouts(sides.size());
    for (std::size_t i = 0; i < sides.size(); ++i) {
        if (!MakePrintDataLayout(*sides[i].design, options, layouts[i])) {
            ShowMessage(owner, kTooLarge, kCaption);
            return false;
        }
    }
    PaintReport report;
    for (const PrintDataSide& side : sides) ReportMissingPictures(*side.design, side.pictures, report);
    std::vector<PrintDataPicture> pictures(sides.size());
    bool drawn = true;
    for (std::size_t i = 0; i < sides.size() && drawn; ++i)
        drawn = DrawPrintData(*sides[i].design, sides[i].pictures, layouts[i], pictures[i], report);
    PaintReport shown;
    ShowNewFailures(owner, report, shown);
    if (!drawn) return false;
    std::vector<std::vector<std::uint8_t>> files(IsPdf(options) ? 1 : sides.size());
    bool encoded = true;
    if (IsPdf(options)) {
        std::vector<PdfPictureSheet> sheets;
        for (std::size_t i = 0; i < sides.size(); ++i)
            sheets.push_back({PrintDataPage(layouts[i], options.trim_marks),
                              {pictures[i].width, pictures[i].height, pictures[i].pixels,
                               static_cast<std::size_t>(pictures[i].width)}});
        encoded = WritePdf(sheets, files[0]);
    } else {
        for (std::size_t i = 0; i < sides.size() && encoded; ++i)
            encoded = EncodePrintDataPng(pictures[i], options.dpi, files[i]);
    }
    bool written = encoded;
    for (std::size_t i = 0; i < files.size() && written; ++i)
        written = ReplaceFileContent(SidePath(options, path, i).c_str(), files[i]);
    if (!written) {
        ShowMessage(owner, kNotSaved, kNotSavedCaption);
        return false;
    }
    return true;
}

void SavePrintDataWith(HWND owner, const PrintDataOptions& options) {
    const CardDesign stored = StoredDesign();
    std::vector<CardDesign> views{stored};
    if (stored.back_on) views.push_back(SideView(stored, true));
    PrintDataLayout layout;
    for (const CardDesign& view : views) {
        if (!MakePrintDataLayout(view, options, layout)) {
            ShowMessage(owner, kTooLarge, kCaption);
            return;
        }
    }
    bool near_trim = false;
    for (const CardDesign& view : views) {
        TextSizes sizes{};
        MeasureTexts(view, sizes);
        near_trim = near_trim || ItemsNearTrim(view, sizes);
    }
    if (near_trim && ShowMessage(owner, kNearTrim, kCaption, MB_YESNO) != IDYES) return;
    std::wstring path;
    if (!ChoosePrintDataFile(owner, options, path)) return;
    if (views.size() > 1 && !IsPdf(options) && !MayReplaceBackPicture(owner, SidePath(options, path.c_str(), 1)))
        return;
    EnterStartFolder();
    std::vector<PrintDataSide> sides(views.size());
    std::vector<SidePictures> loaded(views.size());
    for (std::size_t i = 0; i < views.size(); ++i) {
        sides[i].design = &views[i];
        if ((i == 1) == BackShown()) {
            sides[i].pictures = HeldPictures();
        } else {
            loaded[i].Load(views[i]);
            sides[i].pictures = loaded[i].Paint();
        }
    }
    WritePrintData(owner, sides, options, path.c_str());
}

void SavePrintData(HWND owner) {
    PrintDataOptions options;
    if (ShowPrintDataDialog(owner, options)) SavePrintDataWith(owner, options);
}
