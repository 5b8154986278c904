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

// One side of a card: its size in card pixels, base picture, marks, texts with their
// fonts, QR codes and face.
struct CardSide {
    int base_w, base_h;
    char16_t base_filepass[256];
    int base_pl_mode;  // 0 fit, 1 centre, 2 top-left, 3 bottom-right
    MarkData mark_data[kMarkCount];
    StrData str_data[kTextCount];
    LogFont lf[kTextCount];
    QrcodeData qrcode_data[kQrCount];
    PhotData phot_data;
};

// How a two-sided sheet is turned over between its sides (the layout dialog's 両面 list).
inline constexpr int kDuplexNone = 0;
inline constexpr int kDuplexLongEdge = 1;
inline constexpr int kDuplexShortEdge = 2;

// The card's front is the record's own CardSide; the back, of the same printed size, is
// `back`, used when back_on is set (and kept, unused, when it is not).
struct CardDesign : CardSide {
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

    // Two-sided cards.
    int back_on;
    int duplex;         // kDuplexNone, kDuplexLongEdge or kDuplexShortEdge
    int duplex_device;  // the printer's own duplex unit turns the sheet (else the user does)
    CardSide back;
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

// The empty back: a 455 x 275 card with no base picture and every item off, empty texts
// and paths, the default font, QR codes at level L with 4-pixel modules.
void ResetBack(CardSide& back);

// True when back is exactly the empty back (ResetBack).
bool IsEmptyBack(const CardSide& back);

// True when the design has anything two-sided to keep: a back in use, a back that differs
// from the empty one, or a duplex choice. Only such a design writes the two-sided keys.
bool HasTwoSidedContent(const CardDesign& design);

// The back a design gets when its back is first switched on: the front's size, base
// picture and placement, nothing on it yet. A back that is not empty is kept as it is.
void StartBack(CardDesign& design);

// A card of base_w x base_h is landscape when wider than tall (squares count as upright).
bool IsLandscape(const CardSide& side);

// Exchanges the card fields of the design with its back: the back becomes the record's
// own card and the front goes into `back`. Applied twice, the design is as it was. The
// printed card size, the sheet grid and the options stay: they belong to the design.
void SwapSides(CardDesign& design);

// The design with the side asked for as its card: the design itself for the front; for
// the back, its card fields replaced by the back's, and the printed card size turned when
// the back's orientation differs from the front's, so the back fills the front's cell.
CardDesign SideView(const CardDesign& design, bool back);

// The load defaults. Design keeps the sheet grid and the environment options as they
// are; Full resets them too. Both leave the design one-sided: the back empty and off, no
// duplex.
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
// field whole, the relative "base\base-01.bmp". The new design is one-sided.
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
