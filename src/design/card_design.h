// The one design record: the card, the sheet layout used for printing and the
// environment options, all travelling through the same settings file.
// Field names are the settings-file keys. Positions and sizes of items are card pixels;
// paper measures (base_pw ... base_spy, p_outline_size, p_outline_len, pm_size_x/y)
// are tenths of a millimetre. No Windows header is needed here.
#pragma once
#include <cstdint>

// Field-for-field mirror of the Windows LOGFONTW; lfHeight and lfWidth are card pixels.
struct LogFont {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char16_t lfFaceName[32];
};

struct MarkData {
    int on;
    int x, y;
    int w, h;
    int m;  // white pixels of the picture are transparent
    char16_t fm[256];
};

struct StrData {
    int on;
    int x, y;
    char16_t s64[64];
    int bk;  // opaque background box
    int r, g, b;
    int br, bg, bb;
};

struct QrcodeData {
    int on;
    char16_t sn[32];
    char16_t sy[32];
    char16_t st1[16], st2[16], st3[16];
    char16_t sm1[32], sm2[32], sm3[32];
    char16_t sa[64];
    char16_t s[288];  // encoded text; may hold CR LF line breaks
    int Lv;           // 0..3 = L, M, Q, H
    int Sell;         // module size in card pixels
    int x, y;
    int w, h;         // drawn side including the quiet zone, kept by the QR dialog
    int r, b, g;      // module colour, in this record order
    int br, bg, bb;
};

struct PhotData {
    int on;
    int x, y;
    int w, h;
    char16_t fm[256];
};

constexpr int kMarkCount = 5;
constexpr int kTextCount = 15;
constexpr int kQrCount = 4;

struct CardDesign {
    int base_w, base_h;
    char16_t base_filepass[256];
    int base_pl_mode;  // 0 fit, 1 centre, 2 top-left, 3 bottom-right
    MarkData mark_data[kMarkCount];
    StrData str_data[kTextCount];
    LogFont lf[kTextCount];
    QrcodeData qrcode_data[kQrCount];
    PhotData phot_data;

    // Sheet layout, tenths of a millimetre (counts are plain numbers).
    int base_pw, base_ph;
    int base_cntx, base_cnty;
    int base_px, base_py;
    int base_spx, base_spy;

    // Environment options.
    char16_t main_filename[256];
    char16_t oekaki_filename[256];
    int b_outline, m_outline, c_outline, p_outline;
    int p_outline_size, p_outline_len;
    int font_plprn;
    // Load modes (kLoadBitmapApi ... kLoadAllPictures): which files the folders and file
    // dialogs offer for each kind of picture.
    int base_load_mode, mark_load_mode, phot_load_mode;
    int pm_size_x, pm_size_y;
    // The card-stock preset the layout dialog shows; empty for the fields as they are.
    char16_t sheet_preset[64];
    // The preview shows the trim line and the safety line 3 mm inside it.
    int trim_lines;
    // The card's zoom on screen in percent (kZoomSteps), or kZoomFit to the window; any
    // other value, kZoomUnset after a file without it among them, means the screen's
    // default.
    int zoom;
};

inline constexpr int kZoomFit = 0;
inline constexpr int kZoomUnset = -1;
inline constexpr int kZoomSteps[] = {100, 150, 200};

enum class SettingsScope { Full = 0, Design = 1 };

// Roles of the fifteen text items, in list-record order.
enum TextItem {
    kTextCompany = 0,
    kTextDepartment = 1,
    kTextName = 2,
    kTextAddress = 3,
    kTextTelephone = 4,
    kTextHandle = 5,
    kTextMail = 6,
    kTextDepartment2 = 7,
    kTextDepartment3 = 8,
    kTextHomePage = 9,
    kTextFree1 = 10,
};

inline constexpr char16_t kUntitledName[] = u"無題.ini";
inline constexpr char16_t kDefaultPaintProgram[] = u"mspaint.exe";

// The load defaults. Design keeps the sheet grid and the environment options as they
// are; Full resets them too.
void ResetDesign(CardDesign& design, SettingsScope scope);

// Writes the sample text of item (0..14) into its s64; items 0 and 2 also get their
// larger bold font. item == -1 does all fifteen; any other value does nothing.
void SetSampleText(CardDesign& design, int item);

// The sample text of item 0..14 (empty view for any other index).
const char16_t* SampleText(int item);

// The empty items of a new design and of an empty template: not used, at the card's
// corner, black on white, no text or picture. ResetQrSymbol keeps the address-book strings,
// Lv and Sell, which ClearQrContact clears; the face starts at (100, 120), 80 x 100.
void ResetMark(MarkData& mark);
void ResetText(StrData& text);
void ResetQrSymbol(QrcodeData& qr);
void ClearQrContact(QrcodeData& qr);
void ResetFace(PhotData& face);

// The font every text item starts from: height -13, weight 400, "ＭＳ 明朝".
LogFont DefaultFont();

// The values of the "new design" command: start_folder (no trailing separator) is
// prefixed to "\base\base-01.bmp" for the base picture, or, when that does not fit the
// field whole, the relative "base\base-01.bmp".
void NewDesignDefaults(CardDesign& design, const char16_t* start_folder);

// The load modes: 0 "BMP(API)" (bitmap files through the system's bitmap loader first),
// 1 "BMP(OLE)", 2 "JPG(OLE)", 3 "B&J(OLE)" and 4 "全画像", which offers every picture kind.
// Every mode loads every format; they differ in what the folders and file dialogs list.
inline constexpr int kLoadBitmapApi = 0;
inline constexpr int kLoadAllPictures = 4;

struct SourceRect {
    int x, y, w, h;
    friend bool operator==(const SourceRect&, const SourceRect&) = default;
};

// The part of a picture of picture_w x picture_h pixels that is stretched over a card of
// card_w x card_h (card pixels on screen, device pixels on paper), by base_pl_mode:
// 1 centre, 2 top-left, 3 bottom-right cut the largest part with the card's proportions;
// 0 and any other value, and a card of no size, take the whole picture. Measured from
// the picture's top-left corner. The screen and every printed page use this one rule,
// so the printed crop matches the screen.
SourceRect BaseCrop(int picture_w, int picture_h, double card_w, double card_h, int mode);

// BaseCrop for a card of cardW x cardH pixels (the argument order of the dialogs).
SourceRect PlacementSourceRect(int cardW, int cardH, int pictureW, int pictureH, int mode);

// base_pw / base_ph from pm_size_x / pm_size_y by the card's orientation: landscape
// (base_w > base_h) keeps them, portrait and square swap them.
void PrintedCardSize(CardDesign& design);
