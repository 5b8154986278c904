// Time to load a 24-megapixel phone photo (6000 x 4000 JPEG, tagged to turn a quarter) as
// the program does (header read, decoded, turned) against the system's decoder alone
// (decoded to the same pixel format, nothing else), and a folder of 3000 pictures scanned
// for browsing. A Windows program; run it under Wine:
//
//     wine build/<win>/bench/picture_bench.exe [ROUNDS]
//
// Each figure is the median of ROUNDS runs (default 5) after one warm-up.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "editors/picture_files.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "win/guards.h"
#include "win/process.h"

namespace {

// A w x h JPEG of soft gradients written by the system's encoder.
bool WriteJpeg(IWICImagingFactory* factory, const std::wstring& path, UINT w, UINT h) {
    std::vector<BYTE> pixels(static_cast<size_t>(w) * h * 3);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            BYTE* p = &pixels[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<BYTE>(x * 255 / w), p[1] = static_cast<BYTE>(y * 255 / h), p[2] = static_cast<BYTE>((x ^ y) & 0xFF);
        }
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(factory->CreateStream(stream.Out())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Out())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(w, h)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WritePixels(h, w * 3, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// The decoder alone: the file decoded to premultiplied BGRA, as the program asks for it.
bool DecodeOnly(IWICImagingFactory* factory, const std::wstring& path, std::vector<std::uint32_t>& pixels) {
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&w, &h)) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    pixels.assign(static_cast<size_t>(w) * h, 0);
    return SUCCEEDED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels.data())));
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    RecordingSeam seam;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Out())))) {
        std::fprintf(stderr, "no imaging component\n");
        return 2;
    }
    BenchFolder folder(L"vivi-picture-bench");
    const std::wstring photo = folder.File(L"photo24.jpg");
    if (!WriteJpeg(factory.Get(), photo, 6000, 4000)) {
        std::fprintf(stderr, "cannot write the photo\n");
        return 2;
    }
    std::vector<std::uint32_t> pixels;
    bool decoded = true;
    const double decoder_ms = MedianMs(rounds, [&] { decoded = decoded && DecodeOnly(factory.Get(), photo, pixels); });
    bool loaded = true;
    const double load_ms = MedianMs(rounds, [&] { loaded = loaded && LoadPicture(photo.c_str()) != nullptr; });

    // A picture folder of 3000 files of every kind, scanned as 次 and 戻 need it.
    CreateDirectoryW(folder.File(L"mark").c_str(), nullptr);
    const wchar_t* kinds[] = {L".bmp", L".jpg", L".png", L".gif", L".tif", L".txt"};
    for (int i = 0; i < 3000; ++i) {
        const std::wstring name = folder.File((L"mark\\m" + std::to_wstring(i) + kinds[i % 6]).c_str());
        KernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    Process().start_folder = folder.File(L"");
    Process().start_folder.pop_back();
    int found = 0;
    const double scan_ms = MedianMs(rounds, [&] { found = ScanPictureFolder(PictureFolder::kMark, kLoadAllPictures); });

    std::printf("a 6000 x 4000 JPEG, median of %d loads\n", rounds);
    std::printf("%-40s %9.1f ms\n", "the system's decoder alone", decoder_ms);
    std::printf("%-40s %9.1f ms  ratio %.2f\n", "LoadPicture (header, decode, orientation)", load_ms,
                load_ms / decoder_ms);
    std::printf("%-40s %9.1f ms  (%d entries listed)\n", "scan of a folder of 3000 files", scan_ms, found);
    if (!decoded || !loaded) {
        std::fprintf(stderr, "the photo did not load\n");
        return 1;
    }
    return 0;
}
