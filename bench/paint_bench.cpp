// Time to paint the card preview into a memory device context at the main window's size,
// as every drag step will: the shipped sample design and a busy design (base, face, five
// marks, fifteen texts, four QR codes) against the busy design's pictures alone, the floor
// that stretching pictures sets. A Windows program; run it under Wine from the project's
// root (the sample design and its pictures are read from data/):
//
//     wine build/<win>/bench/paint_bench.exe [ROUNDS] [DATA FOLDER]
//
// Each figure is the median of ROUNDS paints (default 200) after ten warm-up paints.
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
#include "recording_seam.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "test_bitmap.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr int kWindowSize = 600;  // the main window

// Loads the pictures of the design into the program's slots, as the main window does.
void LoadPictures(const CardDesign& design) {
    Design() = design;
    LoadDesignPictures(nullptr, true);
}

// Median milliseconds of rounds paints of the program's design, after ten warm-ups.
double MedianMs(TestBitmap& page, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds + 10; ++i) {
        page.Fill(RGB(255, 255, 255));
        GdiFlush();
        const auto start = std::chrono::steady_clock::now();
        const PaintReport failures = PaintCard(page.Dc());
        GdiFlush();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        PaintReport shown;
        ShowNewFailures(nullptr, failures, shown);  // recorded by the seam
        if (i >= 10) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::string data = argc > 2 ? argv[2] : "data";
    RecordingSeam seam;  // counts what would be shown: a benchmark must not stop for a box
    BenchFolder folder(L"vivi-paint-bench");
    bool written = folder.WritePicture(L"base.bmp", 1000, 605, 0) && folder.WritePicture(L"face.bmp", 160, 200, 1);
    for (int i = 1; i <= kMarkCount; ++i)
        written = written && folder.WritePicture((L"mark" + std::to_wstring(i) + L".bmp").c_str(), 96, 96, i + 1);
    if (!written) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }
    TestBitmap page(kWindowSize, kWindowSize);

    // The sample design of the shipped start folder, read as the program reads it.
    wchar_t sample_folder[MAX_PATH] = {};
    if (!GetFullPathNameW(std::wstring(data.begin(), data.end()).c_str(), MAX_PATH, sample_folder, nullptr)) {
        std::fprintf(stderr, "no data folder %s\n", data.c_str());
        return 2;
    }
    Process().start_folder = sample_folder;
    ReadSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    LoadDesignPictures(nullptr, true);
    const double sample_ms = MedianMs(page, rounds);

    const auto busy = BusyCard(folder);
    LoadPictures(*busy);
    const double busy_ms = MedianMs(page, rounds);
    LoadPictures(*PicturesOnly(*busy));
    const double floor_ms = MedianMs(page, rounds);

    // Phone photos: a 24-megapixel base and a 12-megapixel face, painted from the working
    // copies the first paint makes; that first paint is timed on its own.
    if (!folder.WritePicture(L"base24.bmp", 6000, 4000, 7) || !folder.WritePicture(L"face12.bmp", 4000, 3000, 8)) {
        std::fprintf(stderr, "cannot write the large pictures\n");
        return 2;
    }
    auto large = BusyCard(folder);
    SetPath(large->base_filepass, folder, L"base24.bmp");
    SetPath(large->phot_data.fm, folder, L"face12.bmp");
    LoadPictures(*large);
    const auto first_start = std::chrono::steady_clock::now();
    PaintCard(page.Dc());
    GdiFlush();
    const std::chrono::duration<double, std::milli> first_ms = std::chrono::steady_clock::now() - first_start;
    const double large_ms = MedianMs(page, rounds);
    ReleaseDesignPictures();

    std::printf("card preview, %dx%d memory context, median of %d paints\n", kWindowSize, kWindowSize, rounds);
    std::printf("%-28s %9s %9s\n", "design", "ms", "ratio");
    std::printf("%-28s %9.3f %9.2f\n", "sample (data/Vivivuz.dat)", sample_ms, sample_ms / floor_ms);
    std::printf("%-28s %9.3f %9.2f\n", "busy (5 marks, 15 texts, 4 QR)", busy_ms, busy_ms / floor_ms);
    std::printf("%-28s %9.3f %9.2f\n", "floor (busy, pictures only)", floor_ms, 1.0);
    std::printf("%-28s %9.3f %9.2f\n", "busy, 24 MP base, 12 MP face", large_ms, large_ms / floor_ms);
    std::printf("%-28s %9.3f %9.2f\n", "  its first paint", first_ms.count(), first_ms.count() / floor_ms);
    std::printf("busy design under 16 ms: %s; within 2x the floor: %s; with 24 MP pictures under 16 ms: %s\n",
                busy_ms < 16 ? "yes" : "no", busy_ms <= 2 * floor_ms ? "yes" : "no", large_ms < 16 ? "yes" : "no");
    if (!seam.messages.empty()) {
        std::fwprintf(stderr, L"messages were reported:\n%ls\n", seam.MessageTexts().c_str());
        return 1;
    }
    return 0;
}
