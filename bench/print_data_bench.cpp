// Time to save a busy card as print data: a PDF at 600 dpi with 3 mm bleed and trim marks,
// drawn, encoded and written through a temporary file, against drawing the same picture
// alone (the card painter into the memory section at the same size). A Windows program;
// run it under Wine:
//
//     wine build/<win>/bench/print_data_bench.exe [ROUNDS]
//
// Each figure is the median of ROUNDS runs (default 5) after one warm-up. Targets: the PDF
// in less than 1.5 times the drawing alone, and in less than 2 s.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "render/print_data_export.h"
#include "win/process.h"

namespace {

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    RecordingSeam seam;  // a benchmark must not stop for a box
    BenchFolder folder(L"vivi-print-data-bench");
    bool written = folder.WritePicture(L"base.bmp", 3000, 1815, 0) && folder.WritePicture(L"face.bmp", 800, 1000, 1);
    for (int i = 1; i <= kMarkCount; ++i)
        written = written && folder.WritePicture((L"mark" + std::to_wstring(i) + L".bmp").c_str(), 400, 400, i + 1);
    if (!written) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }
    Design() = *BusyCard(folder);
    LoadDesignPictures(nullptr, true);
    const CardDesign& d = Design();
    CardPictures pictures;
    pictures.base.image = Pictures().base.Get();
    for (int i = 0; i < kMarkCount; ++i) pictures.mark[i].image = Pictures().mark[i].Get();
    pictures.face.image = Pictures().face.Get();

    const PrintDataOptions options{PrintDataFormat::kPdf, 600, 30, true};
    PrintDataLayout layout;
    if (!MakePrintDataLayout(d, options, layout)) return 2;
    const double draw_ms = MedianMs(rounds, [&] {
        PrintDataPicture picture;
        PaintReport report;
        DrawPrintData(d, pictures, layout, picture, report);
    });
    const std::wstring target = folder.File(L"card.pdf");
    const PrintDataSide side{&d, pictures};
    const double pdf_ms = MedianMs(rounds, [&] { WritePrintData(nullptr, {&side, 1}, options, target.c_str()); });
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &file);
    DeleteFileW(target.c_str());
    std::printf("busy card 91 x 55 mm at 600 dpi with 3 mm bleed: %d x %d pixels, median of %d runs\n",
                layout.image_w, layout.image_h, rounds);
    std::printf("%-44s %9.1f ms\n", "drawing the picture alone", draw_ms);
    std::printf("%-44s %9.1f ms (%.1f MB)\n", "the PDF drawn, encoded and written", pdf_ms,
                file.nFileSizeLow / 1e6);
    std::printf("PDF / drawing alone %.2f (target below 1.5): %s\n", pdf_ms / draw_ms,
                pdf_ms < 1.5 * draw_ms ? "yes" : "no");
    std::printf("PDF below 2 s: %s\n", pdf_ms < 2000 ? "yes" : "no");
    ReleaseDesignPictures();
    if (!seam.messages.empty()) {
        std::fwprintf(stderr, L"messages were reported:\n%ls\n", seam.MessageTexts().c_str());
        return 1;
    }
    return 0;
}
