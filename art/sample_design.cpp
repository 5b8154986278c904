// Writes the sample design that the shipped start folder opens with (data/Vivivuz.dat):
// a complete card with base picture, logo, face, texts and a QR code, and its back in
// English, in full scope.
//
//     build/native/art/make_sample_design data/Vivivuz.dat
#include <cstdio>
#include <memory>

#include "design/card_design.h"
#include "design/fixed_text.h"
#include "design/settings_file.h"

namespace {

void Text(CardSide& d, int j, int x, int y, const char16_t* text, int height, int weight,
          const char16_t* face, int r, int g, int b) {
    StrData& item = d.str_data[j];
    item.on = 1;
    item.x = x;
    item.y = y;
    SetText(item.s64, text);
    item.r = r, item.g = g, item.b = b;
    d.lf[j].lfHeight = height;
    d.lf[j].lfWeight = weight;
    SetText(d.lf[j].lfFaceName, face);
}

void BuildSampleCard(CardDesign& d) {
    ResetDesign(d, SettingsScope::Full);
    SetText(d.base_filepass, u"base\\base-01.bmp");
    d.base_pl_mode = 0;

    // 全画像: pictures of every format the system reads, PNG included.
    d.base_load_mode = d.mark_load_mode = d.phot_load_mode = kLoadAllPictures;

    // The logo's own alpha makes its background transparent, not the white key.
    MarkData& logo = d.mark_data[0];
    logo = {1, 18, 16, 44, 44, 0, {}};
    SetText(logo.fm, u"mark\\logo-01.png");

    PhotData& face = d.phot_data;
    face = {1, 352, 96, 80, 100, {}};
    SetText(face.fm, u"phot\\phot-01.bmp");

    const char16_t* mincho = u"ＭＳ 明朝";
    const char16_t* gothic = u"ＭＳ ゴシック";
    Text(d, kTextCompany, 72, 22, u"株式会社ビビブズ企画", -18, 800, mincho, 20, 40, 90);
    Text(d, kTextDepartment, 72, 46, u"デザイン部　企画課", -12, 400, gothic, 60, 60, 60);
    Text(d, kTextName, 96, 96, u"山田\u3000太郎", -34, 800, mincho, 0, 0, 0);
    Text(d, kTextHandle, 100, 138, u"Taro Yamada", -12, 400, gothic, 80, 80, 80);
    Text(d, kTextAddress, 18, 194, u"〒100-0001 東京都千代田区千代田1-1-1", -11, 400, gothic, 10, 30, 80);
    Text(d, kTextTelephone, 18, 212, u"TEL：03-1234-5678  FAX：03-1234-5679", -11, 400, gothic, 10, 30, 80);
    Text(d, kTextMail, 18, 232, u"e-Mail：taro@example.jp", -11, 400, gothic, 255, 255, 255);
    Text(d, kTextHomePage, 18, 250, u"https://www.example.jp/", -11, 400, gothic, 255, 255, 255);

    QrcodeData& qr = d.qrcode_data[0];
    qr.on = 1;
    SetText(qr.s, u"https://www.example.jp/");
    qr.Lv = 1;
    qr.Sell = 2;
    qr.x = 272;
    qr.y = 186;
    qr.w = qr.h = (25 + 4) * 2;
    qr.r = qr.g = qr.b = 0;
    qr.br = qr.bg = qr.bb = 255;
}

// Latin text in a proportional Western font: serif or sans serif.
void LatinFont(LogFont& font, bool serif) {
    SetText(font.lfFaceName, serif ? u"Times New Roman" : u"Arial");
    font.lfCharSet = 0;                                 // ANSI_CHARSET
    font.lfPitchAndFamily = serif ? 2 | 16 : 2 | 32;  // VARIABLE_PITCH | FF_ROMAN / FF_SWISS
}

// The back: the same card in English, with the logo where the front has it.
void BuildSampleBack(CardDesign& d) {
    d.back_on = 1;
    CardSide& back = d.back;
    ResetBack(back);
    SetText(back.base_filepass, u"base\\base-01.bmp");
    back.base_pl_mode = 0;
    back.mark_data[0] = d.mark_data[0];
    Text(back, kTextCompany, 72, 22, u"Vivivuz Kikaku Co., Ltd.", -19, 700, u"", 20, 40, 90);
    Text(back, kTextDepartment, 72, 47, u"Planning Section, Design Department", -12, 400, u"", 60, 60, 60);
    Text(back, kTextName, 96, 92, u"Taro Yamada", -34, 700, u"", 0, 0, 0);
    Text(back, kTextAddress, 18, 194, u"1-1-1 Chiyoda, Chiyoda-ku, Tokyo 100-0001, Japan", -11, 400, u"", 10, 30, 80);
    Text(back, kTextTelephone, 18, 212, u"Tel +81-3-1234-5678   Fax +81-3-1234-5679", -11, 400, u"", 10, 30, 80);
    Text(back, kTextMail, 18, 232, u"taro@example.jp", -11, 400, u"", 255, 255, 255);
    Text(back, kTextHomePage, 18, 250, u"https://www.example.jp/", -11, 400, u"", 255, 255, 255);
    for (int j : {kTextCompany, kTextName}) LatinFont(back.lf[j], true);
    for (int j : {kTextDepartment, kTextAddress, kTextTelephone, kTextMail, kTextHomePage}) LatinFont(back.lf[j], false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_design OUTPUT\n");
        return 2;
    }
    auto design = std::make_unique<CardDesign>();
    BuildSampleCard(*design);
    BuildSampleBack(*design);
    const auto bytes = SettingsFileBytes(*design, SettingsScope::Full);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
