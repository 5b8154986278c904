#include "design/card_design.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "design/fixed_text.h"

namespace {

constexpr const char16_t* kSampleTexts[kTextCount] = {
    u"会社名○×△□株式会社",
    u"部署名１□□○○部",
    u"氏名○○\u3000太郎",
    u"住所□□県○○市△△－○○－○○ 〒000-0000",
    u"TEL：(000)000-0000  FAX：(000)000-0000",
    u"○○ハンドル名",
    u"e-Mail：****@****.**.jp",
    u"部署名２△△××課",
    u"部署名３△△××係",
    u"http://www.****.**.jp/",
    u"その他１□□○○△△××",
    u"その他２□□○○△△××",
    u"その他３□□○○△△××",
    u"その他４□□○○△△××",
    u"その他５□□○○△△××",
};

void ResetSheetGrid(CardDesign& d) {
    d.base_cntx = 2;
    d.base_cnty = 3;
    d.base_px = 8;
    d.base_py = 10;
    d.base_spx = 6;
    d.base_spy = 12;
}

}  // namespace

void ResetMark(MarkData& mark) {
    mark.on = mark.x = mark.y = mark.w = mark.h = mark.m = 0;
    ClearText(mark.fm);
}

void ResetText(StrData& text) {
    text.on = text.x = text.y = 0;
    ClearText(text.s64);
    text.bk = 0;
    text.r = text.g = text.b = 0;
    text.br = text.bg = text.bb = 255;
}

// Everything of a QR code except the address-book strings, Lv and Sell.
void ResetQrSymbol(QrcodeData& qr) {
    qr.on = 0;
    ClearText(qr.s);
    qr.x = qr.y = qr.w = qr.h = 0;
    qr.r = qr.g = qr.b = 0;
    qr.br = qr.bg = qr.bb = 255;
}

void ClearQrContact(QrcodeData& qr) {
    ClearText(qr.sn);
    ClearText(qr.sy);
    ClearText(qr.st1);
    ClearText(qr.st2);
    ClearText(qr.st3);
    ClearText(qr.sm1);
    ClearText(qr.sm2);
    ClearText(qr.sm3);
    ClearText(qr.sa);
}

void ResetFace(PhotData& face) {
    face.on = 0;
    face.x = 100;
    face.y = 120;
    face.w = 80;
    face.h = 100;
    ClearText(face.fm);
}

LogFont DefaultFont() {
    LogFont font{};
    font.lfHeight = -13;
    font.lfWeight = 400;
    font.lfCharSet = 128;        // SHIFTJIS_CHARSET
    font.lfOutPrecision = 3;     // OUT_STROKE_PRECIS
    font.lfClipPrecision = 2;    // CLIP_STROKE_PRECIS
    font.lfQuality = 1;          // DRAFT_QUALITY
    font.lfPitchAndFamily = 17;  // FIXED_PITCH | FF_ROMAN
    SetText(font.lfFaceName, u"ＭＳ 明朝");
    return font;
}

const char16_t* SampleText(int item) {
    return item >= 0 && item < kTextCount ? kSampleTexts[item] : u"";
}

void SetSampleText(CardDesign& design, int item) {
    const int first = item == -1 ? 0 : item;
    const int last = item == -1 ? kTextCount - 1 : item;
    if (first < 0 || last >= kTextCount) return;
    for (int k = first; k <= last; ++k) {
        SetText(design.str_data[k].s64, kSampleTexts[k]);
        if (k == kTextCompany) {
            design.lf[k].lfHeight = -16;
            design.lf[k].lfWeight = 800;
        } else if (k == kTextName) {
            design.lf[k].lfHeight = -32;
            design.lf[k].lfWeight = 800;
        }
    }
}

void ResetDesign(CardDesign& d, SettingsScope scope) {
    // The front starts as the empty side, with the sample texts on it.
    ResetBack(d);
    SetSampleText(d, -1);
    d.base_pw = 910;
    d.base_ph = 550;
    if (scope == SettingsScope::Full) {
        ResetSheetGrid(d);
        SetText(d.main_filename, kUntitledName);
        SetText(d.oekaki_filename, kDefaultPaintProgram);
        d.b_outline = d.m_outline = d.c_outline = d.p_outline = 1;
        d.font_plprn = 1;
        d.p_outline_size = 1;
        d.p_outline_len = 50;
        d.base_load_mode = d.mark_load_mode = d.phot_load_mode = kLoadAllPictures;
        d.pm_size_x = 910;
        d.pm_size_y = 550;
        ClearText(d.sheet_preset);
        d.trim_lines = 0;
        d.zoom = kZoomUnset;
    }
    d.back_on = 0;
    d.duplex = kDuplexNone;
    d.duplex_device = 0;
    ResetBack(d.back);
}

void NewDesignDefaults(CardDesign& d, const char16_t* start_folder) {
    d.base_w = 455;
    d.base_h = 275;
    // A start folder too deep for the field gets the name relative to it, which pictures
    // are looked up from too, rather than a path cut into another file's name.
    std::u16string base = start_folder ? start_folder : u"";
    base += u"\\base\\base-01.bmp";
    if (!SetWholeText(d.base_filepass, base)) SetText(d.base_filepass, u"base\\base-01.bmp");
    for (auto& mark : d.mark_data) ResetMark(mark);
    for (int j = 0; j < kTextCount; ++j) {
        ResetText(d.str_data[j]);
        d.lf[j] = DefaultFont();
        d.lf[j].lfHeight = -16;
    }
    for (auto& qr : d.qrcode_data) {
        ResetQrSymbol(qr);
        qr.Lv = 0;
        qr.Sell = 3;
    }
    ResetFace(d.phot_data);
    d.base_pw = 910;
    d.base_ph = 550;
    ResetSheetGrid(d);
    SetText(d.main_filename, kUntitledName);
    d.back_on = 0;
    d.duplex = kDuplexNone;
    d.duplex_device = 0;
    ResetBack(d.back);
}

SourceRect BaseCrop(int picture_w, int picture_h, double card_w, double card_h, int mode) {
    const SourceRect whole{0, 0, picture_w, picture_h};
    if (mode < 1 || mode > 3 || card_w <= 0 || card_h <= 0) return whole;
    const double qx = picture_w / card_w;
    const double qy = picture_h / card_h;
    const double q = qx < qy ? qx : qy;
    const int w = static_cast<int>(card_w * q);
    const int h = static_cast<int>(card_h * q);
    switch (mode) {
        case 1: return {(picture_w - w) / 2, (picture_h - h) / 2, w, h};
        case 2: return {0, 0, w, h};
        default: return {picture_w - w, picture_h - h, w, h};
    }
}

SourceRect PlacementSourceRect(int cardW, int cardH, int pictureW, int pictureH, int mode) {
    return BaseCrop(pictureW, pictureH, cardW, cardH, mode);
}

void PrintedCardSize(CardDesign& d) {
    if (d.base_w > d.base_h) {
        d.base_pw = d.pm_size_x;
        d.base_ph = d.pm_size_y;
    } else {
        d.base_pw = d.pm_size_y;
        d.base_ph = d.pm_size_x;
    }
}

void ResetBack(CardSide& b) {
    b = CardSide{};
    b.base_w = 455;
    b.base_h = 275;
    b.base_pl_mode = 0;
    for (MarkData& mark : b.mark_data) ResetMark(mark);
    for (int j = 0; j < kTextCount; ++j) {
        ResetText(b.str_data[j]);
        b.lf[j] = DefaultFont();
    }
    for (QrcodeData& qr : b.qrcode_data) {
        ResetQrSymbol(qr);
        ClearQrContact(qr);
        qr.Lv = 0;
        qr.Sell = 4;
    }
    ResetFace(b.phot_data);
}

bool IsEmptyBack(const CardSide& back) {
    static const CardSide empty = [] {
        CardSide side;
        ResetBack(side);
        return side;
    }();
    return std::memcmp(&back, &empty, sizeof(back)) == 0;
}

bool HasTwoSidedContent(const CardDesign& d) {
    return d.back_on != 0 || d.duplex != kDuplexNone || d.duplex_device != 0 || !IsEmptyBack(d.back);
}

void StartBack(CardDesign& d) {
    if (!IsEmptyBack(d.back)) return;
    d.back.base_w = d.base_w;
    d.back.base_h = d.base_h;
    std::copy(std::begin(d.base_filepass), std::end(d.base_filepass), d.back.base_filepass);
    d.back.base_pl_mode = d.base_pl_mode;
}

bool IsLandscape(const CardSide& side) { return side.base_w > side.base_h; }

void SwapSides(CardDesign& d) {
    CardSide& front = d;
    std::swap(front, d.back);
}

CardDesign SideView(const CardDesign& d, bool back) {
    CardDesign view = d;
    if (!back) return view;
    static_cast<CardSide&>(view) = d.back;
    if (IsLandscape(d) != IsLandscape(d.back)) std::swap(view.base_pw, view.base_ph);
    return view;
}
