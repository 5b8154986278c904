// Writes the ready-made designs of the shipped start folder (data/temp/*.tep): finished
// cards of several kinds for fictional people and companies, each on pictures that ship in
// data/base, data/mark and data/phot, written as the template-save command writes them.
//
//     build/native/art/make_sample_templates data/temp
#include <iconv.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/card_design.h"
#include "design/fixed_text.h"
#include "design/settings_file.h"
#include "qr/address_payload.h"
#include "qr/qr_encoder.h"

namespace {

constexpr const char16_t* kMincho = u"ＭＳ 明朝";
constexpr const char16_t* kGothic = u"ＭＳ ゴシック";
// Vertical writing: a face name with "@" keeps Japanese glyphs upright as the text runs down.
constexpr const char16_t* kVerticalMincho = u"@ＭＳ 明朝";
constexpr const char16_t* kSerif = u"Times New Roman";
constexpr const char16_t* kSans = u"Arial";

struct Colour {
    int r, g, b;
};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};

// A side of w x h with nothing on it but its base picture.
void Blank(CardSide& side, int w, int h, const char16_t* base) {
    for (int j = 0; j < kTextCount; ++j) {
        ClearText(side.str_data[j].s64);
        side.lf[j] = DefaultFont();
    }
    for (QrcodeData& qr : side.qrcode_data) qr.Sell = 2;
    side.base_w = w;
    side.base_h = h;
    SetText(side.base_filepass, base);
}

std::unique_ptr<CardDesign> Card(int w, int h, const char16_t* base) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    Blank(*d, w, h, base);
    return d;
}

// The design's back, in use, blank but for its base picture.
CardSide& Back(CardDesign& d, int w, int h, const char16_t* base) {
    ResetBack(d.back);
    Blank(d.back, w, h, base);
    d.back_on = 1;
    return d.back;
}

void Text(CardSide& d, int j, int x, int y, const char16_t* text, int height, int weight, const char16_t* face,
          Colour colour) {
    StrData& item = d.str_data[j];
    item.on = 1;
    item.x = x;
    item.y = y;
    SetText(item.s64, text);
    item.r = colour.r, item.g = colour.g, item.b = colour.b;
    LogFont& font = d.lf[j];
    font.lfHeight = height;
    font.lfWeight = weight;
    SetText(font.lfFaceName, face);
}

// A column of text running down from (x, y); its glyphs stand to the left of x.
void VerticalText(CardSide& d, int j, int x, int y, const char16_t* text, int height, int weight, Colour colour) {
    Text(d, j, x, y, text, height, weight, kVerticalMincho, colour);
    d.lf[j].lfEscapement = d.lf[j].lfOrientation = -900;
}

// Latin text in a proportional Western font.
void LatinText(CardSide& d, int j, int x, int y, const char16_t* text, int height, int weight, bool serif,
               Colour colour) {
    Text(d, j, x, y, text, height, weight, serif ? kSerif : kSans, colour);
    d.lf[j].lfCharSet = 0;                            // ANSI_CHARSET
    d.lf[j].lfPitchAndFamily = serif ? 2 | 16 : 2 | 32;  // VARIABLE_PITCH | FF_ROMAN / FF_SWISS
}

void Mark(CardSide& d, int i, int x, int y, int w, int h, const char16_t* picture, bool white_clear) {
    MarkData& mark = d.mark_data[i];
    mark = {1, x, y, w, h, white_clear ? 1 : 0, {}};
    SetText(mark.fm, picture);
}

void Face(CardSide& d, int x, int y, int w, int h, const char16_t* picture) {
    d.phot_data = {1, x, y, w, h, {}};
    SetText(d.phot_data.fm, picture);
}

// The text in code page 932, as the program hands it to the encoder.
std::string ShiftJis(std::u16string_view text) {
    iconv_t convert = iconv_open("CP932", "UTF-16LE");
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        std::perror("iconv_open CP932");
        std::exit(1);
    }
    std::string in(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string out(text.size() * 2 + 1, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t from_left = in.size(), to_left = out.size();
    if (iconv(convert, &from, &from_left, &to, &to_left) == static_cast<std::size_t>(-1)) {
        std::perror("iconv");
        std::exit(1);
    }
    iconv_close(convert);
    out.resize(out.size() - to_left);
    return out;
}

// A QR code at (x, y) whose stored size is that of its symbol, quiet margin included, as
// the QR dialog stores it after encoding.
void Qr(CardSide& d, int k, int x, int y, int level, int cell) {
    QrcodeData& qr = d.qrcode_data[k];
    const std::string bytes = ShiftJis(TextOf(qr.s));
    QrEncoder& encoder = TheQrEncoder();
    if (!EncodeQr(encoder, level, bytes.data(), static_cast<int>(bytes.size()))) {
        std::fprintf(stderr, "QR code %d cannot be encoded\n", k);
        std::exit(1);
    }
    qr.on = 1;
    qr.Lv = level;
    qr.Sell = cell;
    qr.x = x;
    qr.y = y;
    qr.w = qr.h = (encoder.size + 4) * cell;
    qr.r = qr.g = qr.b = 0;
    qr.br = qr.bg = qr.bb = 255;
}

// A company card on the blue geometric base: logo top right, the company, department,
// name and its reading, and the contact lines at the bottom.
std::unique_ptr<CardDesign> Business() {
    auto d = Card(455, 275, u"base\\base-02.bmp");
    Mark(*d, 0, 378, 18, 58, 58, u"mark\\logo-01.png", false);  // transparent by its alpha
    const Colour navy{25, 60, 130}, grey{80, 80, 80};
    Text(*d, kTextCompany, 150, 30, u"株式会社ミライテック", -20, 800, kGothic, navy);
    Text(*d, kTextDepartment, 152, 60, u"営業本部　第一営業部　課長", -12, 400, kGothic, grey);
    Text(*d, kTextName, 168, 96, u"佐藤\u3000健一", -34, 800, kMincho, kBlack);
    Text(*d, kTextHandle, 172, 138, u"Kenichi Sato", -12, 400, kGothic, grey);
    Text(*d, kTextAddress, 84, 190, u"〒105-0022 東京都港区海岸9-8-7 ミライビル5F", -11, 400, kGothic, navy);
    Text(*d, kTextTelephone, 84, 207, u"TEL 03-5555-0101  FAX 03-5555-0102", -11, 400, kGothic, navy);
    Text(*d, kTextMail, 84, 224, u"k.sato@miraitec.example.jp", -11, 400, kGothic, navy);
    Text(*d, kTextHomePage, 84, 241, u"https://www.miraitec.example.jp/", -11, 400, kGothic, navy);

    // The back in English, laid out as the front.
    CardSide& back = Back(*d, 455, 275, u"base\\base-02.bmp");
    Mark(back, 0, 378, 18, 58, 58, u"mark\\logo-01.png", false);
    LatinText(back, kTextCompany, 150, 28, u"MiraiTec Co., Ltd.", -22, 700, true, navy);
    LatinText(back, kTextDepartment, 152, 60, u"Manager, First Sales Division", -12, 400, false, grey);
    LatinText(back, kTextName, 166, 92, u"Kenichi Sato", -34, 700, true, kBlack);
    LatinText(back, kTextAddress, 84, 173, u"Mirai Bldg. 5F, 9-8-7 Kaigan, Minato-ku,", -11, 400, false, navy);
    LatinText(back, kTextFree1, 84, 190, u"Tokyo 105-0022, Japan", -11, 400, false, navy);
    LatinText(back, kTextTelephone, 84, 207, u"Tel +81-3-5555-0101   Fax +81-3-5555-0102", -11, 400, false, navy);
    LatinText(back, kTextMail, 84, 224, u"k.sato@miraitec.example.jp", -11, 400, false, navy);
    LatinText(back, kTextHomePage, 84, 241, u"https://www.miraitec.example.jp/", -11, 400, false, navy);
    return d;
}

// A portrait card in vertical writing on the wave-pattern strip: a confectioner's shop.
std::unique_ptr<CardDesign> VerticalJapanese() {
    auto d = Card(275, 455, u"base\\base-05.bmp");
    const Colour maroon{110, 30, 40}, ink{40, 40, 40};
    VerticalText(*d, kTextCompany, 252, 34, u"御菓子司\u3000月乃屋", -20, 800, maroon);
    VerticalText(*d, kTextDepartment, 204, 96, u"女将", -14, 400, ink);
    VerticalText(*d, kTextName, 182, 130, u"月野\u3000雅子", -38, 800, kBlack);
    VerticalText(*d, kTextAddress, 132, 60, u"京都府京都市東山区月見町二丁目三番地", -13, 400, ink);
    VerticalText(*d, kTextTelephone, 112, 60, u"電話\u3000〇七五（五五五）〇一二三", -13, 400, ink);
    VerticalText(*d, kTextHomePage, 92, 60, u"創業\u3000明治三十年", -13, 400, maroon);

    // A lying back in horizontal writing: what the shop makes, and when it is open.
    CardSide& back = Back(*d, 455, 275, u"base\\base-09.bmp");
    Text(back, kTextCompany, 100, 28, u"御菓子司\u3000月乃屋", -22, 800, kMincho, maroon);
    Text(back, kTextFree1, 102, 64, u"季節の上生菓子・羊羹・最中", -13, 400, kMincho, ink);
    Text(back, kTextFree1 + 1, 102, 84, u"ご進物・ご法要のご用命を承ります", -13, 400, kMincho, ink);
    Text(back, kTextDepartment, 102, 132, u"営業時間\u3000午前九時〜午後六時", -13, 400, kMincho, ink);
    Text(back, kTextDepartment2, 102, 152, u"定休日\u3000\u3000毎週火曜日", -13, 400, kMincho, maroon);
    Text(back, kTextAddress, 102, 200, u"〒605-0000 京都府京都市東山区月見町2-3", -11, 400, kMincho, ink);
    Text(back, kTextTelephone, 102, 216, u"TEL 075-555-0123", -11, 400, kMincho, ink);
    Text(back, kTextHomePage, 102, 232, u"https://tsukinoya.example.jp/", -11, 400, kMincho, ink);
    return d;
}

// A sales card with the person's photograph on the sea base.
std::unique_ptr<CardDesign> WithPhoto() {
    auto d = Card(455, 275, u"base\\base-01.bmp");
    Face(*d, 28, 26, 80, 100, u"phot\\phot-02.bmp");
    Mark(*d, 0, 398, 22, 34, 34, u"mark\\mark-08.bmp", true);
    const Colour navy{15, 45, 100}, grey{70, 70, 70};
    Text(*d, kTextCompany, 126, 26, u"さくら不動産株式会社", -17, 800, kMincho, navy);
    Text(*d, kTextDepartment, 128, 52, u"賃貸営業課　主任", -12, 400, kGothic, grey);
    Text(*d, kTextName, 136, 74, u"花村\u3000美咲", -32, 800, kMincho, kBlack);
    Text(*d, kTextHandle, 140, 112, u"Misaki Hanamura", -12, 400, kGothic, grey);
    Text(*d, kTextAddress, 28, 142, u"〒220-0012 神奈川県横浜市西区みなと1-2-3", -11, 400, kGothic, navy);
    Text(*d, kTextTelephone, 28, 158, u"TEL 045-555-0188  携帯 090-5555-0188", -11, 400, kGothic, navy);
    Text(*d, kTextMail, 28, 238, u"misaki@sakura-fudosan.example.jp", -12, 700, kGothic, kWhite);
    return d;
}

// A workshop's card on kraft paper with two QR codes: the home page, and the person's
// entry for a mobile phone's address book.
std::unique_ptr<CardDesign> WithQrCodes() {
    auto d = Card(455, 275, u"base\\base-08.jpg");
    const Colour green{30, 95, 60}, brown{80, 55, 30};
    Text(*d, kTextCompany, 26, 28, u"合同会社みどり工房", -17, 800, kMincho, green);
    Text(*d, kTextDepartment, 28, 56, u"木工デザイナー", -12, 400, kGothic, brown);
    Text(*d, kTextName, 26, 74, u"緑川\u3000大地", -32, 800, kMincho, kBlack);
    Text(*d, kTextAddress, 28, 168, u"〒460-0008 愛知県名古屋市中区森町4-5-6", -11, 400, kGothic, brown);
    Text(*d, kTextTelephone, 28, 184, u"TEL 052-555-0147", -11, 400, kGothic, brown);
    Text(*d, kTextMail, 28, 200, u"daichi@midori-kobo.example.jp", -11, 400, kGothic, brown);
    Text(*d, kTextHomePage, 28, 216, u"https://midori-kobo.example.jp/", -11, 400, kGothic, brown);

    SetText(d->qrcode_data[0].s, u"https://midori-kobo.example.jp/");
    Qr(*d, 0, 244, 88, kQrLevelM, 2);

    QrcodeData& contact = d->qrcode_data[1];
    SetText(contact.sn, u"緑川大地");
    SetText(contact.sy, u"ミドリカワダイチ");
    SetText(contact.st1, u"0525550147");
    SetText(contact.sm1, u"daichi@midori-kobo.example.jp");
    SetText(contact.sa, u"愛知県名古屋市中区森町4-5-6");
    BuildAddressPayload(contact, AddressFormat::kMecard);
    Qr(*d, 1, 318, 48, kQrLevelL, 2);
    Text(*d, kTextFree1, 247, 74, u"ホームページ", -10, 400, kGothic, brown);
    Text(*d, kTextFree1 + 1, 340, 34, u"連絡先を登録", -10, 400, kGothic, brown);
    return d;
}

// Text only: a law office's plain card on the classic base.
std::unique_ptr<CardDesign> TextOnly() {
    auto d = Card(455, 275, u"base\\base-07.bmp");
    const Colour green{25, 80, 60}, ink{50, 50, 50};
    Text(*d, kTextCompany, 30, 34, u"森本法律事務所", -17, 800, kMincho, green);
    Text(*d, kTextDepartment, 92, 112, u"弁護士", -13, 400, kMincho, ink);
    Text(*d, kTextName, 150, 98, u"森本\u3000誠一郎", -32, 800, kMincho, kBlack);
    Text(*d, kTextHandle, 154, 136, u"Seiichiro Morimoto", -11, 400, kMincho, ink);
    Text(*d, kTextAddress, 30, 190, u"〒530-0005 大阪府大阪市北区中之島9-9-9 法曹ビル3F", -11, 400, kMincho, ink);
    Text(*d, kTextTelephone, 30, 206, u"TEL 06-5555-0300  FAX 06-5555-0301", -11, 400, kMincho, ink);
    Text(*d, kTextMail, 30, 222, u"morimoto@morimoto-law.example.jp", -11, 400, kMincho, ink);
    return d;
}

// An English-style card on the mountain base, contact lines beside small icons.
std::unique_ptr<CardDesign> English() {
    auto d = Card(455, 275, u"base\\base-04.jpg");
    const Colour navy{20, 40, 90}, slate{60, 70, 90};
    LatinText(*d, kTextCompany, 24, 22, u"Blue Ridge Design Studio", -19, 700, true, navy);
    LatinText(*d, kTextName, 24, 56, u"Hanako Suzuki", -32, 700, true, kBlack);
    LatinText(*d, kTextDepartment, 26, 96, u"Creative Director", -14, 400, false, slate);
    d->lf[kTextDepartment].lfItalic = 1;
    Mark(*d, 0, 262, 58, 16, 16, u"mark\\mark-06.bmp", true);
    Mark(*d, 1, 262, 80, 16, 16, u"mark\\mark-07.bmp", true);
    Mark(*d, 2, 262, 102, 16, 16, u"mark\\mark-08.bmp", true);
    LatinText(*d, kTextTelephone, 284, 59, u"+81 3-5555-0123", -12, 400, false, navy);
    LatinText(*d, kTextMail, 284, 81, u"hanako@blueridge.example.com", -12, 400, false, navy);
    LatinText(*d, kTextAddress, 284, 103, u"2-4-6 Aoyama, Tokyo", -12, 400, false, navy);
    LatinText(*d, kTextHomePage, 24, 244, u"www.blueridge.example.com", -13, 700, false, kWhite);
    return d;
}

// A portrait shop card with its mascot as the face picture.
std::unique_ptr<CardDesign> PortraitShop() {
    auto d = Card(275, 455, u"base\\base-06.jpg");
    Face(*d, 97, 40, 80, 100, u"phot\\phot-05.bmp");
    const Colour brown{110, 60, 30}, ink{60, 50, 50};
    Text(*d, kTextCompany, 46, 168, u"ねこカフェ にゃごみ", -20, 800, kGothic, brown);
    Text(*d, kTextDepartment, 40, 214, u"店長", -12, 400, kGothic, ink);
    Text(*d, kTextName, 78, 204, u"三毛\u3000ちはる", -26, 800, kMincho, kBlack);
    Text(*d, kTextFree1, 34, 280, u"〒810-0041", -11, 400, kGothic, ink);
    Text(*d, kTextAddress, 34, 296, u"福岡県福岡市中央区猫町3-3-3", -11, 400, kGothic, ink);
    Text(*d, kTextTelephone, 34, 312, u"TEL 092-555-0222", -11, 400, kGothic, ink);
    Text(*d, kTextFree1 + 1, 34, 328, u"営業 11:00〜20:00（水曜定休）", -11, 400, kGothic, ink);
    Text(*d, kTextHomePage, 34, 344, u"https://nyagomi.example.jp/", -11, 400, kGothic, brown);

    // The back: the way from the station on a map, and the opening hours.
    CardSide& back = Back(*d, 275, 455, u"base\\base-06.jpg");
    Text(back, kTextCompany, 34, 36, u"ねこカフェ にゃごみ", -20, 800, kGothic, brown);
    Text(back, kTextFree1, 36, 76, u"アクセス・営業時間", -13, 700, kGothic, ink);
    Text(back, kTextFree1 + 1, 36, 96, u"天神駅 南口から徒歩5分", -12, 400, kGothic, ink);
    const int map_x = 32, map_y = 140;
    Mark(back, 0, map_x, map_y, 210, 140, u"mark\\mark-09.bmp", false);
    // The map's names, at its station, shop and park (map units are card pixels).
    Text(back, kTextFree1 + 2, map_x + 104, map_y + 15, u"天神駅", -10, 700, kGothic, ink);
    Text(back, kTextFree1 + 3, map_x + 72, map_y + 84, u"にゃごみ", -11, 800, kGothic, Colour{200, 40, 40});
    Text(back, kTextFree1 + 4, map_x + 56, map_y + 122, u"中央公園", -9, 400, kGothic, Colour{70, 110, 60});
    Text(back, kTextDepartment, 36, 300, u"営業時間", -13, 700, kGothic, brown);
    Text(back, kTextDepartment2, 36, 320, u"平日\u3000\u3000 11:00〜20:00", -12, 400, kGothic, ink);
    Text(back, kTextDepartment3, 36, 338, u"土日祝\u3000 10:00〜21:00", -12, 400, kGothic, ink);
    Text(back, kTextHandle, 36, 356, u"定休日\u3000 水曜日", -12, 400, kGothic, ink);
    Text(back, kTextTelephone, 36, 388, u"ご予約 TEL 092-555-0222", -12, 700, kGothic, brown);
    Text(back, kTextHomePage, 36, 406, u"https://nyagomi.example.jp/", -11, 400, kGothic, brown);
    return d;
}

// A wedding planner's card on the cherry-blossom base.
std::unique_ptr<CardDesign> Blossom() {
    auto d = Card(455, 275, u"base\\base-03.jpg");
    Mark(*d, 0, 40, 28, 70, 42, u"mark\\logo-02.png", false);  // transparent by its alpha
    const Colour rose{160, 50, 85}, ink{90, 60, 70};
    Text(*d, kTextDepartment2, 122, 30, u"ブライダルサロン", -11, 400, kMincho, ink);
    Text(*d, kTextCompany, 120, 44, u"はなみずき", -22, 800, kMincho, rose);
    Text(*d, kTextDepartment, 44, 94, u"ウエディングプランナー", -12, 400, kMincho, ink);
    Text(*d, kTextName, 44, 112, u"春野\u3000さくら", -32, 800, kMincho, kBlack);
    Text(*d, kTextHandle, 48, 152, u"Sakura Haruno", -12, 400, kMincho, ink);
    Text(*d, kTextAddress, 44, 196, u"〒150-0031 東京都渋谷区花見坂7-7-7", -11, 400, kMincho, ink);
    Text(*d, kTextTelephone, 44, 212, u"TEL 03-5555-0770", -11, 400, kMincho, ink);
    Text(*d, kTextMail, 44, 228, u"sakura@hanamizuki.example.jp", -11, 400, kMincho, ink);
    return d;
}

struct Sample {
    const char* file;
    std::function<std::unique_ptr<CardDesign>()> build;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_templates FOLDER\n");
        return 2;
    }
    const std::vector<Sample> samples = {
        {"01-ビジネス.tep", Business},     {"02-和風縦書き.tep", VerticalJapanese},
        {"03-顔写真入り.tep", WithPhoto},  {"04-二次元コード.tep", WithQrCodes},
        {"05-シンプル.tep", TextOnly},     {"06-English.tep", English},
        {"07-ショップ縦型.tep", PortraitShop}, {"08-さくら.tep", Blossom},
    };
    for (const Sample& sample : samples) {
        const auto design = sample.build();
        const auto bytes = SettingsFileBytes(*design, SettingsScope::Design);
        const std::string path = std::string(argv[1]) + "/" + sample.file;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
