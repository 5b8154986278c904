#include "render/picture_loading.h"

#include <wincodec.h>

#include <new>
#include <vector>

#include "render/picture_header.h"
#include "render/pictures.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/whole_file.h"
#include "win/wide.h"

namespace {

// Files larger than this are not read into memory: no picture the program takes needs it.
constexpr std::size_t kMaxPictureFileBytes = std::size_t{1} << 30;

// The whole file, when it holds something and no more than any picture needs.
bool ReadPictureFile(const wchar_t* path, std::vector<std::uint8_t>& bytes) {
    return ReadWholeFile(path, kMaxPictureFileBytes, bytes) == WholeFile::Read && !bytes.empty();
}

bool AllocatePixels(PixelImage& image, UINT w, UINT h) {
    image.width = static_cast<int>(w);
    image.height = static_cast<int>(h);
    try {
        image.pixels.assign(static_cast<std::size_t>(w) * h, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The frame's pixels as premultiplied BGRA. 32-bit bitmap files are copied as stored and
// their fourth byte judged by AdoptBitmapAlpha, since the system reads it as padding.
bool CopyFramePixels(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, bool bitmap_file,
                     PixelImage& image) {
    const UINT stride = static_cast<UINT>(image.width) * 4;
    const UINT bytes = stride * static_cast<UINT>(image.height);
    auto* buffer = reinterpret_cast<BYTE*>(image.pixels.data());
    WICPixelFormatGUID format{};
    frame->GetPixelFormat(&format);
    if (bitmap_file && (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA)) {
        if (FAILED(frame->CopyPixels(nullptr, stride, bytes, buffer))) return false;
        AdoptBitmapAlpha(image);
        return true;
    }
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, stride, bytes, buffer)))
        return false;
    UpdateOpacity(image);
    return true;
}

PicturePtr DecodePicture(const std::vector<std::uint8_t>& bytes) {
    const PictureHeader header = ReadPictureHeader(bytes.data(), bytes.size());
    if (!PlausiblePicture(header, bytes.size())) return nullptr;
    IWICImagingFactory* factory = ImagingFactory();
    if (!factory) return nullptr;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())))
        return nullptr;
    UINT w = 0, h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || !AcceptablePictureSize(w, h)) return nullptr;
    GUID container{};
    decoder->GetContainerFormat(&container);
    auto image = std::make_shared<PixelImage>();
    if (!AllocatePixels(*image, w, h) ||
        !CopyFramePixels(factory, frame.Get(), container == GUID_ContainerFormatBmp, *image))
        return nullptr;
    double dpi_x = 0, dpi_y = 0;
    if (SUCCEEDED(frame->GetResolution(&dpi_x, &dpi_y))) {
        image->per_metre_x = dpi_x / 0.0254;
        image->per_metre_y = dpi_y / 0.0254;
    }
    if (header.orientation != 1) return std::make_shared<PixelImage>(OrientImage(*image, header.orientation));
    return image;
}

// Mode 0's road for bitmap files: the system's bitmap-file loader, pixels read back.
PicturePtr LoadBitmapFile(const wchar_t* path) {
    BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof(size), &size) || !AcceptablePictureSize(size.bmWidth, size.bmHeight))
        return nullptr;
    auto image = std::make_shared<PixelImage>();
    if (!AllocatePixels(*image, size.bmWidth, size.bmHeight)) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    MemoryDc memory(nullptr);
    if (!memory || !GetDIBits(memory.Get(), bitmap.Get(), 0, size.bmHeight, image->pixels.data(), &info, DIB_RGB_COLORS))
        return nullptr;
    for (std::uint32_t& p : image->pixels) p |= 0xFF000000u;
    return image;
}

}  // namespace

IWICImagingFactory* ImagingFactory() {
    static ComRef<IWICImagingFactory> factory;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // S_FALSE (already initialised) and RPC_E_CHANGED_MODE both leave COM usable here.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(factory.Out()));
    }
    return factory.Get();
}


PicturePtr LoadPicture(const wchar_t* path) {
    if (!path || !path[0]) return nullptr;
    std::vector<std::uint8_t> bytes;
    if (!ReadPictureFile(path, bytes)) return nullptr;
    return DecodePicture(bytes);
}

bool HasBitmapExtension(const wchar_t* path) {
    if (!path) return false;
    const int length = lstrlenW(path);
    return length >= 4 && CompareStringOrdinal(path + length - 4, 4, L".bmp", 4, TRUE) == CSTR_EQUAL;
}

PicturePtr LoadDialogPicture(const wchar_t* path, int load_mode) {
    if (load_mode == kLoadBitmapApi && HasBitmapExtension(path)) {
        std::vector<std::uint8_t> bytes;
        if (!ReadPictureFile(path, bytes)) return nullptr;
        // The header is judged first here too: the bitmap loader would take the memory.
        const PictureHeader header = ReadPictureHeader(bytes.data(), bytes.size());
        if (!PlausiblePicture(header, bytes.size())) return nullptr;
        if (PicturePtr picture = LoadBitmapFile(path)) return picture;
        return DecodePicture(bytes);
    }
    return LoadPicture(path);
}

void ReleaseDesignPictures() {
    DesignPictures& p = Pictures();
    p.base.Reset();
    for (Picture& mark : p.mark) mark.Reset();
    p.face.Reset();
}

void LoadDesignPictures(HWND owner, bool release) {
    EnterStartFolder();
    if (release) ReleaseDesignPictures();
    DesignPictures& p = Pictures();
    const CardDesign& d = Design();
    p.base.Reset(LoadDialogPicture(W(d.base_filepass), d.base_load_mode));
    if (!p.base) ShowMessage(owner, L"ベース画像が読み込み出来ません。", L"Image_Load");
    for (int i = 0; i < kMarkCount; ++i) {
        if (!d.mark_data[i].on) continue;
        p.mark[i].Reset(LoadDialogPicture(W(d.mark_data[i].fm), d.mark_load_mode));
        if (!p.mark[i]) ShowMessage(owner, L"マーク画像が読み込み出来ません。", L"Image_Load");
    }
    if (d.phot_data.on) {
        p.face.Reset(LoadDialogPicture(W(d.phot_data.fm), d.phot_load_mode));
        if (!p.face) ShowMessage(owner, L"顔の画像が読み込み出来ません。", L"Image_Load");
    }
}

void ReloadPictures() { LoadDesignPictures(Process().main_window, true); }

void SidePictures::Load(const CardDesign& d) {
    base = LoadDialogPicture(W(d.base_filepass), d.base_load_mode);
    for (int i = 0; i < kMarkCount; ++i)
        mark[i] = d.mark_data[i].on ? LoadDialogPicture(W(d.mark_data[i].fm), d.mark_load_mode) : nullptr;
    face = d.phot_data.on ? LoadDialogPicture(W(d.phot_data.fm), d.phot_load_mode) : nullptr;
}

CardPictures SidePictures::Paint() const {
    CardPictures pictures;
    pictures.base.image = base.get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = mark[i].get();
    pictures.face.image = face.get();
    return pictures;
}

void ReportMissingPictures(const CardDesign& d, const CardPictures& pictures, PaintReport& report) {
    constexpr wchar_t kCaption[] = L"PaintBMP Load";
    if (!pictures.base.Loaded()) report.Add(L"ベース画像が読み込み出来ません。", kCaption);
    for (int i = 0; i < kMarkCount; ++i)
        if (d.mark_data[i].on && !pictures.mark[i].Loaded()) report.Add(L"マーク画像が読み込み出来ません。", kCaption);
    if (d.phot_data.on && !pictures.face.Loaded()) report.Add(L"顔の画像が読み込み出来ません。", kCaption);
}

CardPictures HeldPictures() {
    const DesignPictures& held = Pictures();
    CardPictures pictures;
    pictures.base.image = held.base.Get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = held.mark[i].Get();
    pictures.face.image = held.face.Get();
    return pictures;
}
