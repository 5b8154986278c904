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

#include "bench_support.h"
#include "design/card_design.h"
#include "design/fixed_text.h"
#include "design/settings_file_win.h"
#include "print/print_renderer.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "win/process.h"
#include "test_bitmap.h"
#include "win/wide.h"

namespace {

std::unique_ptr<CardDesign> FullCard(const BenchFolder& folder) {
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

// Median milliseconds of rounds renderings of design on page, after one warm-up.
double MedianMs(TestBitmap& page, const CardDesign& design, int dpi, int rounds) {
    const PrintPage printer{dpi, dpi, 0, 0};
    std::vector<double> times;
    for (int i = 0; i <= rounds; ++i) {
        page.Fill(RGB(255, 255, 255));
        GdiFlush();
        const auto start = std::chrono::steady_clock::now();
        PaintReport failures;
        RenderDesignSheet(page.Dc(), design, printer, failures);
        GdiFlush();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        PaintReport shown;
        ShowNewFailures(nullptr, failures, shown);  // recorded by the seam
        if (i > 0) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Median milliseconds of rounds runs of draw into page, after one warm-up.
template <typename Draw>
double MedianOf(TestBitmap& page, int rounds, Draw draw) {
    std::vector<double> times;
    for (int i = 0; i <= rounds; ++i) {
        page.Fill(RGB(255, 255, 255));
        GdiFlush();
        const auto start = std::chrono::steady_clock::now();
        draw();
        GdiFlush();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i > 0) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The least any renderer must do for the pictures of a sheet: each loaded picture of each
// card sent once, as it is, stretched over its place, with no composing and nothing else.
void SendPicturesOnly(HDC dc, const CardDesign& d, const PrintPage& printer, const CardPictures& pictures) {
    const PrintScale scale = ComputePrintScale(d, printer);
    for (int row = 0; row < d.base_cnty; ++row)
        for (int column = 0; column < d.base_cntx; ++column) {
            const CardMapping m = PrintMapping(scale, CardOriginAt(scale, column, row));
            auto send = [&](const PaintPicture& p, const DeviceRect& to) {
                if (p.Loaded()) SendPixelsStretched(dc, *p.image, to);
            };
            send(pictures.base, MapCard(m));
            const PhotData& f = d.phot_data;
            if (f.on) send(pictures.face, MapRect(m, f.x, f.y, f.w, f.h));
            for (int i = 0; i < kMarkCount; ++i) {
                const MarkData& k = d.mark_data[i];
                if (k.on) send(pictures.mark[i], MapRect(m, k.x, k.y, k.w, k.h));
            }
        }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string data = argc > 2 ? argv[2] : "data";
    RecordingSeam seam;  // counts what would be shown: a benchmark must not stop for a box
    BenchFolder folder(L"vivi-print-bench");
    if (!folder.WritePicture(L"base.bmp", 1000, 605, 0) || !folder.WritePicture(L"face.bmp", 160, 200, 1) ||
        !folder.WritePicture(L"mark1.bmp", 96, 96, 2) || !folder.WritePicture(L"mark2.bmp", 120, 60, 3)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }
    const auto full = FullCard(folder);
    const auto pictures = PicturesOnly(*full);
    std::printf("A4 sheet of 10 cards, median of %d renderings into a memory device context\n",
                rounds);
    std::printf("%5s %11s %10s %15s %7s\n", "dpi", "page px", "full ms", "pictures ms", "ratio");
    for (int dpi : {300, 600}) {
        TestBitmap page(2100 * dpi / 254, 2970 * dpi / 254);
        const double full_ms = MedianMs(page, *full, dpi, rounds);
        const double pictures_ms = MedianMs(page, *pictures, dpi, rounds);
        std::printf("%5d %5dx%-5d %10.1f %15.1f %7.2f\n", dpi, page.Width(), page.Height(), full_ms,
                    pictures_ms, full_ms / pictures_ms);
    }

    // The shipped sample design (print-resolution pictures, a PNG logo with alpha) on a
    // sheet of 10 cards at 600 dpi, from its loaded pictures, against the floor that sending
    // the same pictures sets.
    wchar_t sample_folder[MAX_PATH] = {};
    if (!GetFullPathNameW(std::wstring(data.begin(), data.end()).c_str(), MAX_PATH, sample_folder, nullptr)) {
        std::fprintf(stderr, "no data folder %s\n", data.c_str());
        return 2;
    }
    Process().start_folder = sample_folder;
    ReadSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    CardDesign& sample = Design();
    sample.base_cntx = 2, sample.base_cnty = 5;
    sample.base_px = 140, sample.base_py = 110;
    sample.base_spx = sample.base_spy = 0;
    LoadDesignPictures(nullptr, true);
    CardPictures loaded;
    loaded.base.image = Pictures().base.Get();
    for (int i = 0; i < kMarkCount; ++i) loaded.mark[i].image = Pictures().mark[i].Get();
    loaded.face.image = Pictures().face.Get();
    const PrintPage printer{600, 600, 0, 0};
    TestBitmap page(2100 * 600 / 254, 2970 * 600 / 254);
    const double sheet_ms = MedianOf(page, rounds, [&] {
        PaintReport failures;
        RenderDesignSheetWith(page.Dc(), sample, printer, loaded, failures);
    });
    const auto sample_pictures = PicturesOnly(sample);
    const double floor_ms = MedianOf(page, rounds, [&] {
        PaintReport failures;
        RenderDesignSheetWith(page.Dc(), *sample_pictures, printer, loaded, failures);
    });
    const double raw_ms = MedianOf(page, rounds, [&] { SendPicturesOnly(page.Dc(), sample, printer, loaded); });
    std::printf("\nsample design (data/Vivivuz.dat), A4 sheet of 10 cards at 600 dpi, pictures loaded\n");
    std::printf("%-44s %9.1f ms\n", "the whole card", sheet_ms);
    std::printf("%-44s %9.1f ms\n", "floor: its pictures only, composed", floor_ms);
    std::printf("%-44s %9.1f ms\n", "its pictures sent as they are, not composed", raw_ms);
    std::printf("whole card / pictures-only floor %.2f (target 1.3 or less): %s\n", sheet_ms / floor_ms,
                sheet_ms <= 1.3 * floor_ms ? "yes" : "no");
    ReleaseDesignPictures();

    if (!seam.messages.empty()) {
        std::fwprintf(stderr, L"messages were reported:\n%ls\n", seam.MessageTexts().c_str());
        return 1;
    }
    return 0;
}
