#include "render/print_data_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "render/pictures.h"
#include "render/print_data_dialog.h"
#include "res/main_window_ids.h"
#include "res/print_data_dialog_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kNearTrim[] = L"文字や二次元コードが仕上がり線から3mm以内にあります。このまま保存しますか？";

// A picture of w × h whose colour changes across it, so every crop shows.
PicturePtr Gradient(int w, int h) {
    auto image = std::make_shared<PixelImage>(MakePixelImage(w, h, kOpaqueWhite));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->pixels[static_cast<std::size_t>(y) * w + x] =
                0xFF000000u | (x * 255 / w) << 16 | (y * 255 / h) << 8 | 0x60;
    return image;
}

// The big-endian 32-bit numbers of a PNG's pHYs chunk: x, y per unit, and the unit.
struct Phys {
    std::uint32_t x = 0, y = 0;
    int unit = -1;
};
std::uint32_t BigEndian(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
Phys ReadPhys(const std::vector<std::uint8_t>& png) {
    Phys phys;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        if (std::string(png.begin() + at + 4, png.begin() + at + 8) == "pHYs" && at + 17 <= png.size())
            return {BigEndian(png, at + 8), BigEndian(png, at + 12), png[at + 16]};
        at += 12 + static_cast<std::size_t>(length);
    }
    return phys;
}

class PrintDataTest : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ShowSide(false);
        CardDesign& d = Design();
        ResetDesign(d, SettingsScope::Full);
        for (auto& text : d.str_data) text.on = 0;
        for (auto& qr : d.qrcode_data) qr.on = 0;
        for (auto& mark : d.mark_data) mark.on = 0;
        d.phot_data.on = 0;
        d.base_pl_mode = 1;
        // A name well inside the safety line, in black.
        StrData& name = d.str_data[kTextName];
        name.on = 1;
        name.x = 120;
        name.y = 120;
        Pictures().base.Reset(Gradient(600, 400));
    }
    void TearDown() override {
        ShowSide(false);
        Pictures().base.Reset();
    }

    // The command after its dialog, answering the save dialog with path.
    void Save(const PrintDataOptions& options, const std::wstring& path) {
        seam.file_answers.push_back({true, path, 1});
        SavePrintDataWith(nullptr, options);
    }
};

TEST_F(PrintDataTest, DialogStartsFromTheDefaultsAndReturnsEachChoice) {
    PrintDataOptions options{PrintDataFormat::kPng, 1200, 0, false};
    bool timed_out = false;
    const INT_PTR accepted = DriveModal([&] { return INT_PTR{ShowPrintDataDialog(nullptr, options)}; },
        [](HWND dialog) {
            wchar_t caption[64] = {};
            GetWindowTextW(dialog, caption, 64);
            EXPECT_STREQ(caption, L"印刷用データの保存");
            EXPECT_TRUE(IsChecked(dialog, IDC_PRINT_DATA_PDF));
            EXPECT_FALSE(IsChecked(dialog, IDC_PRINT_DATA_PNG));
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PRINT_DATA_DPI, CB_GETCOUNT, 0, 0), 3);
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PRINT_DATA_DPI, CB_GETCURSEL, 0, 0), 1);
            EXPECT_EQ(ControlText(dialog, IDC_PRINT_DATA_DPI), L"600 dpi");
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PRINT_DATA_BLEED, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(ControlText(dialog, IDC_PRINT_DATA_BLEED), L"3 mm");
            EXPECT_TRUE(IsChecked(dialog, IDC_PRINT_DATA_TRIM_MARKS));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_PRINT_DATA_TRIM_MARKS)));
            // PNG: the marks are not for it.
            ClickButton(dialog, IDC_PRINT_DATA_PNG);
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PRINT_DATA_TRIM_MARKS)));
            ClickButton(dialog, IDC_PRINT_DATA_PDF);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_PRINT_DATA_TRIM_MARKS)));
            SendDlgItemMessageW(dialog, IDC_PRINT_DATA_DPI, CB_SETCURSEL, 0, 0);
            SendDlgItemMessageW(dialog, IDC_PRINT_DATA_BLEED, CB_SETCURSEL, 0, 0);
            ClickButton(dialog, IDC_PRINT_DATA_TRIM_MARKS);
            ClickButton(dialog, IDOK);
        },
        &timed_out);
    EXPECT_FALSE(timed_out);
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(options.format, PrintDataFormat::kPdf);
    EXPECT_EQ(options.dpi, 350);
    EXPECT_EQ(options.bleed_tenths, 0);
    EXPECT_FALSE(options.trim_marks);

    DriveModal([&] { return INT_PTR{ShowPrintDataDialog(nullptr, options)}; },
               [](HWND dialog) {
                   EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PRINT_DATA_DPI, CB_GETCURSEL, 0, 0), 1);
                   ClickButton(dialog, IDC_PRINT_DATA_PNG);
                   SendDlgItemMessageW(dialog, IDC_PRINT_DATA_DPI, CB_SETCURSEL, 2, 0);
                   ClickButton(dialog, IDC_PRINT_DATA_HELP);
                   ClickButton(dialog, IDOK);
               });
    EXPECT_EQ(options.format, PrintDataFormat::kPng);
    EXPECT_EQ(options.dpi, 1200);
    EXPECT_EQ(options.bleed_tenths, 30);
    EXPECT_EQ(seam.opened_documents.size(), 1u);

    const PrintDataOptions before = options;
    EXPECT_EQ(DriveModal([&] { return INT_PTR{ShowPrintDataDialog(nullptr, options)}; },
                         [](HWND dialog) {
                             ClickButton(dialog, IDC_PRINT_DATA_PNG);
                             ClickButton(dialog, IDCANCEL);
                         }),
              0);
    EXPECT_EQ(options.format, before.format);
    EXPECT_EQ(options.dpi, before.dpi);
}

TEST_F(PrintDataTest, MenuHoldsTheCommandAfterTheBitmapExport) {
    HMENU menu = LoadMenuW(Process().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_TRUE(menu);
    HMENU file = GetSubMenu(menu, 0);
    const int count = GetMenuItemCount(file);
    int bitmap = -1;
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(file, i) == IDM_BITMAP_SAVE) bitmap = i;
    ASSERT_GE(bitmap, 0);
    EXPECT_EQ(GetMenuItemID(file, bitmap + 1), static_cast<UINT>(IDM_PRINT_DATA_SAVE));
    wchar_t text[64] = {};
    GetMenuStringW(file, IDM_PRINT_DATA_SAVE, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"印刷用データで保存(&D)...");
    DestroyMenu(menu);
}

TEST_F(PrintDataTest, PngAt350DpiWithBleedHasItsSizeAndResolution) {
    const std::wstring path = folder.File(L"card.png");
    Save({PrintDataFormat::kPng, 350, 30, true}, path);
    EXPECT_TRUE(seam.messages.empty());
    ASSERT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_EQ(seam.file_dialogs[0].initial_name, folder.File(L"無題.png"));
    EXPECT_NE(seam.file_dialogs[0].filter.find(L"*.png"), std::wstring::npos);
    EXPECT_TRUE(seam.file_dialogs[0].flags & OFN_OVERWRITEPROMPT);
    const std::vector<std::uint8_t> png = ReadBytes(path);
    ASSERT_GT(png.size(), 8u);
    const Phys phys = ReadPhys(png);
    EXPECT_EQ(phys.x, 13780u);
    EXPECT_EQ(phys.y, 13780u);
    EXPECT_EQ(phys.unit, 1);  // metres
    const PicturePtr read = LoadPicture(path.c_str());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->width, 1336);
    EXPECT_EQ(read->height, 840);
    // The background reaches every edge, and the card's middle shows the picture.
    for (const auto& [x, y] : {std::pair{0, 0}, {1335, 0}, {0, 839}, {1335, 839}, {668, 420}})
        EXPECT_NE(read->At(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
    EXPECT_EQ(FileCount(folder.Path()), 1);
}

TEST_F(PrintDataTest, PdfAt600DpiHoldsThePngPixelsInsideTheBleedBox) {
    const std::wstring pdf_path = folder.File(L"card.pdf"), png_path = folder.File(L"card.png");
    Save({PrintDataFormat::kPdf, 600, 30, true}, pdf_path);
    Save({PrintDataFormat::kPng, 600, 30, true}, png_path);
    ASSERT_TRUE(seam.messages.empty());
    const std::vector<std::uint8_t> pdf = ReadBytes(pdf_path);
    const PicturePtr png = LoadPicture(png_path.c_str());
    ASSERT_TRUE(png);
    ASSERT_EQ(png->width, 2292);
    ASSERT_EQ(png->height, 1441);
    const std::string text(pdf.begin(), pdf.end());
    const std::string opening = "/Width 2292 /Height 1441";
    ASSERT_NE(text.find(opening), std::string::npos);
    const std::size_t data = text.find("stream\n", text.find(opening)) + 7;
    ASSERT_LE(data + 2292u * 1441 * 3, pdf.size());
    int differing = 0;
    for (int y = 0; y < png->height; ++y)
        for (int x = 0; x < png->width; ++x) {
            const std::uint32_t p = png->At(x, y);
            const std::uint8_t* q = pdf.data() + data + (static_cast<std::size_t>(y) * png->width + x) * 3;
            differing += std::abs(q[0] - static_cast<int>(p >> 16 & 0xFF)) > 2 ||
                         std::abs(q[1] - static_cast<int>(p >> 8 & 0xFF)) > 2 || std::abs(q[2] - static_cast<int>(p & 0xFF)) > 2;
        }
    EXPECT_EQ(differing, 0);
    // For the rendering comparison by poppler (print_data_render.sh): both files and the
    // bleed box in page pixels.
    if (const wchar_t* out = _wgetenv(L"VIVI_PRINT_DATA_DIR")) {
        ASSERT_TRUE(WriteBytes(std::wstring(out) + L"\\card.pdf", pdf.data(), pdf.size()));
        const std::vector<std::uint8_t> png_bytes = ReadBytes(png_path);
        ASSERT_TRUE(WriteBytes(std::wstring(out) + L"\\card.png", png_bytes.data(), png_bytes.size()));
        PrintDataLayout layout;
        ASSERT_TRUE(MakePrintDataLayout(Design(), {PrintDataFormat::kPdf, 600, 30, true}, layout));
        const std::string box = std::to_string(layout.margin - layout.bleed) + " " +
                                std::to_string(layout.margin - layout.bleed) + " " + std::to_string(layout.image_w) +
                                " " + std::to_string(layout.image_h) + "\n";
        ASSERT_TRUE(WriteBytes(std::wstring(out) + L"\\bleed_box.txt", box.data(), box.size()));
    }
}

TEST_F(PrintDataTest, NoAtTheSafetyQuestionWritesNothing) {
    StrData& edge_text = Design().str_data[kTextCompany];
    edge_text.on = 1;
    edge_text.x = 5;
    edge_text.y = 100;
    seam.message_answers = {IDNO};
    Save({PrintDataFormat::kPdf, 600, 30, true}, folder.File(L"card.pdf"));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, kNearTrim);
    EXPECT_EQ(seam.messages[0].caption, L"印刷用データ！");
    EXPECT_EQ(seam.messages[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(seam.file_dialogs.empty());
    EXPECT_EQ(FileCount(folder.Path()), 0);

    // Yes goes on to the file; a QR code at the edge asks too.
    edge_text.on = 0;
    QrcodeData& qr = Design().qrcode_data[0];
    qr.on = 1;
    SetText(qr.s, u"https://example.jp/");
    qr.x = 400, qr.y = 200, qr.w = qr.h = 60;
    seam.messages.clear();
    seam.file_answers.clear();
    Save({PrintDataFormat::kPdf, 350, 30, true}, folder.File(L"card.pdf"));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, kNearTrim);
    EXPECT_EQ(FileCount(folder.Path()), 1);
}

TEST_F(PrintDataTest, UnwritableFolderIsReportedAndLeavesNoFile) {
    const std::wstring path = folder.File(L"no such folder\\card.pdf");
    Save({PrintDataFormat::kPdf, 350, 30, true}, path);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"ファイルが出来ませんでした。");
    EXPECT_EQ(seam.messages[0].caption, L"保存");
    EXPECT_EQ(FileCount(folder.Path()), 0);
}

TEST_F(PrintDataTest, CardTooLargeForTheResolutionIsRefusedBeforeTheFileDialog) {
    Design().base_pw = 4300;  // 43 cm: 20315 pixels at 1200 dpi
    Save({PrintDataFormat::kPng, 1200, 0, false}, folder.File(L"card.png"));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"名刺が大きすぎて、この解像度では保存できません。");
    EXPECT_TRUE(seam.file_dialogs.empty());
    EXPECT_EQ(FileCount(folder.Path()), 0);
}

TEST_F(PrintDataTest, PreviewShowsTrimAndSafetyLinesOnlyWhenAsked) {
    CardDesign& d = Design();
    d.str_data[kTextName].on = 0;
    DesignPictures none;
    TestBitmap canvas{600, 400};
    PaintReport report;
    PaintCardLayers(canvas.Dc(), d, none, 0, report);
    EXPECT_EQ(canvas.CountOther(0, 0, 600, 400, RGB(255, 255, 255)), 0);
    d.trim_lines = 1;
    PaintCardLayers(canvas.Dc(), d, none, 0, report);
    // The trim line on the card's edge; the safety line 15 pixels (3 mm) inside, dashed.
    EXPECT_EQ(canvas.Pixel(kCardLeft, kCardTop + 100), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(kCardLeft + 454, kCardTop + 100), RGB(0, 0, 0));
    const int dashes = canvas.CountColour(kCardLeft + 15, kCardTop + 20, kCardLeft + 16, kCardTop + 260, RGB(0, 0, 0));
    EXPECT_GT(dashes, 40);
    EXPECT_LT(dashes, 240);
    EXPECT_EQ(canvas.CountColour(kCardLeft + 17, kCardTop + 17, kCardLeft + 438, kCardTop + 258, RGB(0, 0, 0)), 0);
}

// The width and height of the n-th picture of a PDF (0 first) and where its bytes start.
struct PdfPicture {
    int width = 0, height = 0;
    std::size_t data = std::string::npos;
};
PdfPicture NthPdfPicture(const std::string& pdf, int n) {
    std::size_t at = 0;
    for (int i = 0; i <= n; ++i) {
        at = pdf.find("/Subtype /Image /Width ", at);
        if (at == std::string::npos) return {};
        at += 1;
    }
    PdfPicture picture;
    std::sscanf(pdf.c_str() + at, "Subtype /Image /Width %d /Height %d", &picture.width, &picture.height);
    picture.data = pdf.find("stream\n", at) + 7;
    return picture;
}

// A standing back with its own base picture (a plain blue file) and a name in white.
void GiveStandingBack(CardDesign& d, const std::wstring& folder) {
    d.back_on = 1;
    CardSide& back = d.back;
    ResetBack(back);
    back.base_w = 275;
    back.base_h = 455;
    back.base_pl_mode = 0;
    SetText(back.base_filepass, u"back.bmp");
    const std::vector<uint8_t> blue = MakeBmp(55, 91, [](int, int) { return RGB(0, 0, 255); });
    ASSERT_TRUE(WriteBytes(folder + L"\\back.bmp", blue.data(), blue.size()));
    back.str_data[kTextName].on = 1;
    back.str_data[kTextName].x = 100;
    back.str_data[kTextName].y = 200;
    SetText(back.str_data[kTextName].s64, u"Taro Yamada");
}

bool IsBlue(std::uint32_t rgb) { return (rgb & 0xFF) > 0xF0 && (rgb >> 8 & 0xFF) < 0x10 && (rgb >> 16 & 0xFF) < 0x10; }

TEST_F(PrintDataTest, TwoSidedCardWritesItsBackAsSecondPageOrSecondPicture) {
    GiveStandingBack(Design(), folder.Path());
    const PrintDataOptions pdf_options{PrintDataFormat::kPdf, 350, 30, true};
    Save(pdf_options, folder.File(L"card.pdf"));
    ASSERT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    std::vector<std::uint8_t> bytes = ReadBytes(folder.File(L"card.pdf"));
    std::string pdf(bytes.begin(), bytes.end());
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    // The front lies, the back stands: its page and picture are the front's turned.
    const PdfPicture front = NthPdfPicture(pdf, 0), back = NthPdfPicture(pdf, 1);
    EXPECT_EQ(front.width, 1336);
    EXPECT_EQ(front.height, 840);
    EXPECT_EQ(back.width, 840);
    EXPECT_EQ(back.height, 1336);
    ASSERT_LE(back.data + 840u * 1336 * 3, bytes.size());
    const auto pdf_pixel = [&](const PdfPicture& p, int x, int y) {
        const std::uint8_t* q = bytes.data() + p.data + (static_cast<std::size_t>(y) * p.width + x) * 3;
        return std::uint32_t{q[2]} | std::uint32_t{q[1]} << 8 | std::uint32_t{q[0]} << 16;
    };
    EXPECT_TRUE(IsBlue(pdf_pixel(back, 420, 100)));
    EXPECT_FALSE(IsBlue(pdf_pixel(front, 668, 420)));
    double sizes[2][2] = {};
    for (std::size_t i = 0, at = 0; i < 2; ++i, ++at) {
        at = pdf.find("/MediaBox [0 0 ", at);
        ASSERT_NE(at, std::string::npos);
        std::sscanf(pdf.c_str() + at, "/MediaBox [0 0 %lf %lf", &sizes[i][0], &sizes[i][1]);
    }
    EXPECT_GT(sizes[0][0], sizes[0][1]);
    EXPECT_DOUBLE_EQ(sizes[1][0], sizes[0][1]);
    EXPECT_DOUBLE_EQ(sizes[1][1], sizes[0][0]);

    // As PNGs: the front's file and the back's beside it, whichever side is shown.
    ShowSide(true);
    Pictures().base.Reset(LoadPicture(folder.File(L"back.bmp").c_str()));
    Save({PrintDataFormat::kPng, 350, 30, true}, folder.File(L"山田.png"));
    // The front is not shown, and its base picture has no file: reported as printing does.
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"ベース画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[0].caption, L"PaintBMP Load");
    const PicturePtr front_png = LoadPicture(folder.File(L"山田.png").c_str());
    const PicturePtr back_png = LoadPicture(folder.File(L"山田_裏.png").c_str());
    ASSERT_TRUE(front_png && back_png);
    EXPECT_EQ(front_png->width, 1336);
    EXPECT_EQ(back_png->width, 840);
    EXPECT_EQ(back_png->height, 1336);
    EXPECT_FALSE(IsBlue(front_png->At(668, 420)));
    EXPECT_TRUE(IsBlue(back_png->At(420, 100)));
    EXPECT_EQ(FileCount(folder.Path()), 4);

    // The back's file is not among those the save dialog asked about: No keeps it.
    seam.messages.clear();
    seam.message_answers = {IDNO};
    const std::vector<std::uint8_t> kept = ReadBytes(folder.File(L"山田_裏.png"));
    Design().base_pl_mode = 2;
    Save({PrintDataFormat::kPng, 350, 30, true}, folder.File(L"山田.png"));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_NE(seam.messages[0].text.find(L"山田_裏.png は既にあります。"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(folder.File(L"山田_裏.png")), kept);
}

}  // namespace
