// The layout, crop and print arithmetic over the whole int range: sheet pictures, the
// printed card grid, items, fonts, QR modules and cut marks on paper, the base picture's
// crop, mark captures, and the rules that keep items on the card. The sanitizers turn
// any signed overflow or out-of-range conversion into a finding; the checks below hold
// the results to what the drawing calls are given.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "design/design_ranges.h"
#include "editors/mark_rows.h"
#include "editors/text_page.h"
#include "print/print_math.h"
#include "print/sheet_math.h"
#include "render/card_mapping.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

int Any(FuzzedDataProvider& input) {
    // Mostly the ends of the range and small values, where arithmetic breaks.
    switch (input.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: return INT_MAX;
        case 1: return INT_MIN;
        case 2: return input.ConsumeIntegralInRange<int>(-100, 100);
        case 3: return INT_MAX - input.ConsumeIntegralInRange<int>(0, 100);
        case 4: return INT_MIN + input.ConsumeIntegralInRange<int>(0, 100);
        default: return input.ConsumeIntegral<int>();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    for (int* field : {&d->base_w, &d->base_h, &d->base_pw, &d->base_ph, &d->base_cntx, &d->base_cnty,
                       &d->base_px, &d->base_py, &d->base_spx, &d->base_spy, &d->p_outline_len,
                       &d->p_outline_size, &d->base_pl_mode})
        *field = Any(input);

    // The layout dialog's sheet picture.
    const SheetPaper paper{Any(input), Any(input), Any(input), Any(input), Any(input), Any(input)};
    const int c = PreviewScale(paper);
    Check(c >= 1000);
    PaperPicture(paper, c);
    PrintableFrame(paper, c);
    const int k = Any(input), r = Any(input);
    const PreviewRect card_picture = CardPicture(*d, k, r, c);
    if (d->base_pw >= 0) Check(card_picture.width >= 0);

    // The printed page.
    const PrintPage page{Any(input), Any(input), Any(input), Any(input)};
    const PrintScale scale = ComputePrintScale(*d, page);
    const CardOrigin origin = CardOriginAt(scale, k, r);
    PrintedCardRect(scale, origin);
    MapCardPoint(scale, origin, Any(input), Any(input));
    MapCardRect(scale, origin, Any(input), Any(input), Any(input), Any(input));
    PrintedFontHeight(Any(input), scale);
    PrintedModuleSize(Any(input), scale);
    CutMarks(scale, origin, d->p_outline_len, d->p_outline_size);
    const CardMapping preview = PreviewMapping(*d);
    MapRect(preview, Any(input), Any(input), Any(input), Any(input));
    MapFontHeight(HalfScaleMapping(*d), Any(input));
    MapFontWidth(HalfScaleMapping(*d), Any(input));
    const int module = MapModuleSize(preview, Any(input));
    Check(module >= 1 && module <= kScreenModuleCap);

    // The base picture's crop, for pictures a bitmap can have.
    const int picture_w = input.ConsumeIntegralInRange<int>(1, INT_MAX);
    const int picture_h = input.ConsumeIntegralInRange<int>(1, INT_MAX);
    const SourceRect crop = BaseCrop(picture_w, picture_h, scale.cw, scale.ch, d->base_pl_mode);
    Check(crop.x >= 0 && crop.y >= 0 && crop.w >= 0 && crop.h >= 0);
    Check(static_cast<long long>(crop.x) + crop.w <= picture_w);
    Check(static_cast<long long>(crop.y) + crop.h <= picture_h);
    PlacementSourceRect(d->base_w, d->base_h, picture_w, picture_h, d->base_pl_mode);

    // Items on the card.
    MarkData mark{1, Any(input), Any(input), Any(input), Any(input), 1, {}};
    Check(CompositionStep(Any(input), scale.fx * scale.sx, Any(input) / 16.0) >= 1);
    ClampMarkOntoCard(mark, d->base_w, d->base_h);
    StrData text{};
    text.x = Any(input), text.y = Any(input);
    ClampIntoCard(text, input.ConsumeBool(), Any(input), Any(input), d->base_w, d->base_h);
    SampleOrigin(Any(input), input.ConsumeBool());

    // The ranges a file is brought into, and what they guarantee.
    KeepDesignInRange(*d);
    Check(d->base_w >= kSmallestCardSide && d->base_w <= kLargestCardSide);
    Check(d->base_cntx >= 0 && d->base_cntx <= kLargestSheetCount);
    for (const MarkData& m : d->mark_data) {
        Check(m.x >= 0 && m.w >= 0 && static_cast<long long>(m.x) + m.w <= d->base_w);
        Check(m.y >= 0 && m.h >= 0 && static_cast<long long>(m.y) + m.h <= d->base_h);
    }
    return 0;
}
