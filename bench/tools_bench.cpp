// Time of the picture tools' drawing, each against a plain StretchBlt of the same pixels
// as its floor, measured in the same run:
//  - a full portrait (face, front and back hair, eyes, eyebrows, nose, mouth and two other
//    parts) composed as the composer paints it, every part loaded again from data/kao,
//    against stretching the same parts, already loaded, onto an 80 x 100 bitmap;
//  - the photo editor's 720 x 460 view of a 1440 x 920 photo at scale 0.50 (half-tone) and
//    at 1.00, against a plain StretchBlt of the same source rectangle.
// A Windows program; run it under Wine from the project's root:
//
//     wine build/<win>/bench/tools_bench.exe [ROUNDS] [DATA FOLDER]
//
// Each figure is the median of ROUNDS runs (default 100) after five warm-up runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "design/fixed_text.h"
#include "tools/photo_editor.h"
#include "tools/photo_view.h"
#include "tools/portrait_render.h"
#include "tools/portrait_rules.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

double MedianMs(int rounds, const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < rounds + 5; ++i) {
        GdiFlush();
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            std::fprintf(stderr, "a drawing step failed\n");
            std::exit(1);
        }
        GdiFlush();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i >= 5) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Use(PortraitPart& part, const char16_t* file, int used, int x, int y, int w, int h) {
    part.used = used;
    SetText(part.file, file);
    part.x = x, part.y = y, part.w = w, part.h = h;
}

PortraitComposition FullPortrait() {
    PortraitComposition c;
    Use(c.records[kBackHair], u"kao\\kao-0-001.bmp", kPartSingle, 0, 0, 80, 100);
    Use(c.records[kFaceOutline], u"kao\\kao-1-001.bmp", kPartSingle, 0, 0, 80, 100);
    c.records[kFaceOutline].red = 255, c.records[kFaceOutline].green = 220, c.records[kFaceOutline].blue = 190;
    Use(c.records[kFrontHair], u"kao\\kao-b-001.bmp", kPartSingle, 0, 0, 80, 100);
    Use(c.records[kEyes], u"kao\\kao-3-001.bmp", kPartPair, 21, 39, 14, 12);
    Use(c.records[kEyebrows], u"kao\\kao-4-001.bmp", kPartPair, 20, 32, 16, 6);
    c.records[kEyebrows].angle = 10;
    Use(c.records[kNose], u"kao\\kao-5-001.bmp", kPartSingle, 35, 52, 10, 12);
    Use(c.records[kMouth], u"kao\\kao-6-001.bmp", kPartSingle, 30, 67, 20, 9);
    Use(c.others[0], u"kao\\kao-2-011.bmp", kPartPair, 22, 57, 12, 6);
    Use(c.others[1], u"kao\\kao-2-101.bmp", kPartSingle, 25, 55, 30, 20);
    return c;
}

// Every part of the portrait (pairs twice) stretched onto an 80 x 100 bitmap, loaded once.
bool StretchParts(HDC screen, const std::vector<HBITMAP>& parts, HBITMAP target) {
    MemoryDc to(screen), from(screen);
    SelectGuard select(to.Get(), target);
    for (HBITMAP part : parts) {
        SelectGuard source(from.Get(), part);
        const SIZE size = BitmapSize(part);
        if (!StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const std::string data = argc > 2 ? argv[2] : "data";
    wchar_t start_folder[MAX_PATH] = {};
    if (!GetFullPathNameW(std::wstring(data.begin(), data.end()).c_str(), MAX_PATH, start_folder, nullptr)) {
        std::fprintf(stderr, "no data folder %s\n", data.c_str());
        return 2;
    }
    Process().start_folder = start_folder;
    WindowDc screen(nullptr);

    // The portrait and its floor.
    const PortraitComposition portrait = FullPortrait();
    std::vector<BitmapHandle> loaded;
    std::vector<HBITMAP> parts;
    auto add = [&](const PortraitPart& part) {
        if (part.used == kPartUnused) return;
        loaded.push_back(LoadPart(W(TextOf(part.file))));
        for (int i = 0; i < part.used; ++i) parts.push_back(loaded.back().Get());
    };
    for (const PortraitPart& record : portrait.records) add(record);
    for (const PortraitPart& other : portrait.others) add(other);
    if (std::find(parts.begin(), parts.end(), nullptr) != parts.end()) {
        std::fprintf(stderr, "cannot load the parts from %s\\kao\n", data.c_str());
        return 2;
    }
    BitmapHandle floor_target(CreateCompatibleBitmap(screen.Get(), 80, 100));
    const double compose_ms = MedianMs(rounds, [&] {
        BitmapHandle composed(RenderPortrait(portrait));
        return static_cast<bool>(composed);
    });
    const double parts_floor_ms =
        MedianMs(rounds, [&] { return StretchParts(screen.Get(), parts, floor_target.Get()); });

    // The photo view and its floor.
    BenchFolder folder(L"vivi-tools-bench");
    if (!folder.WritePicture(L"photo.bmp", 1440, 920, 3)) {
        std::fprintf(stderr, "cannot write the photo\n");
        return 2;
    }
    BitmapHandle photo(static_cast<HBITMAP>(
        LoadImageW(nullptr, folder.File(L"photo.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    BitmapHandle view_target(CreateCompatibleBitmap(screen.Get(), kViewWidth, kViewHeight));
    auto view_ms = [&](int scale) {
        const ViewLayout layout = LayoutView(1440, 920, scale, 100, 50);
        return MedianMs(rounds, [&] {
            BitmapHandle view(RenderPhotoView(screen.Get(), photo.Get(), layout));
            return static_cast<bool>(view);
        });
    };
    auto floor_ms = [&](int scale) {
        const ViewLayout layout = LayoutView(1440, 920, scale, 100, 50);
        return MedianMs(rounds, [&] {
            MemoryDc to(screen.Get()), from(screen.Get());
            SelectGuard target(to.Get(), view_target.Get());
            SelectGuard source(from.Get(), photo.Get());
            const PixelRect& d = layout.destination;
            const PixelRect& s = layout.source;
            return StretchBlt(to.Get(), d.x, d.y, d.width, d.height, from.Get(), s.x, s.y, s.width, s.height,
                              SRCCOPY) != FALSE;
        });
    };
    const double half_ms = view_ms(50), half_floor_ms = floor_ms(50);
    const double whole_ms = view_ms(100), whole_floor_ms = floor_ms(100);

    std::printf("picture tools, median of %d runs\n", rounds);
    std::printf("%-44s %9s %9s %9s\n", "drawing", "ms", "floor ms", "ratio");
    std::printf("%-44s %9.3f %9.3f %9.2f\n", "portrait, 9 parts (3 pairs), files reloaded", compose_ms,
                parts_floor_ms, compose_ms / parts_floor_ms);
    std::printf("%-44s %9.3f %9.3f %9.2f\n", "photo view 720x460, 1440x920 at 0.50", half_ms, half_floor_ms,
                half_ms / half_floor_ms);
    std::printf("%-44s %9.3f %9.3f %9.2f\n", "photo view 720x460, 1440x920 at 1.00", whole_ms, whole_floor_ms,
                whole_ms / whole_floor_ms);
    return 0;
}
