// Contact payloads as the card draws them: each format, with Japanese names and all nine
// fields, is built, converted and painted by the program's own QR drawing. With
// VIVI_CONTACT_QR_DIR set, each picture is written there as FORMAT.pgm beside the bytes
// it must decode to, FORMAT.bin, for contact_qr_decode.sh to read with independent
// decoders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "qr/address_payload.h"
#include "qr/draw_qr.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/design_text.h"
#include "win/paint_report.h"

namespace {

constexpr int kModule = 3;
constexpr int kCanvas = 400;

std::unique_ptr<QrcodeData> JapaneseContact() {
    auto entry = std::make_unique<QrcodeData>();
    *entry = QrcodeData{};
    entry->Lv = 1;
    entry->b = entry->g = entry->r = 0;
    entry->br = entry->bg = entry->bb = 255;
    SetText(entry->sn, u"山田　太郎");
    SetText(entry->sy, u"ヤマダタロウ");
    SetText(entry->sa, u"東京都千代田区丸の内2-7-3 12階");
    SetText(entry->st1, u"03-1234-5678");
    SetText(entry->st2, u"090-8765-4321");
    SetText(entry->st3, u"0120-000-111");
    SetText(entry->sm1, u"taro@ex.co.jp");
    SetText(entry->sm2, u"y;t@ex.jp");
    SetText(entry->sm3, u"t.yamada@ex.com");
    return entry;
}

// A grey map of the canvas, dark modules black.
std::string Pgm(const TestBitmap& canvas) {
    std::string pgm = "P5\n" + std::to_string(canvas.Width()) + " " +
                      std::to_string(canvas.Height()) + "\n255\n";
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            pgm += static_cast<char>(GetGValue(canvas.Pixel(x, y)));
    return pgm;
}

TEST(ContactQr, EachFormatIsDrawnWithinTheSymbolsLimits) {
    const wchar_t* folder = _wgetenv(L"VIVI_CONTACT_QR_DIR");
    const std::pair<AddressFormat, std::wstring> formats[] = {
        {AddressFormat::kAu, L"au"},
        {AddressFormat::kMecard, L"mecard"},
        {AddressFormat::kVcard, L"vcard"},
    };
    for (const auto& [format, name] : formats) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        auto entry = JapaneseContact();
        BuildAddressPayload(*entry, format);
        // Every field whole: these nine fit without a cut.
        EXPECT_NE(TextOf(entry->s).find(u"丸の内2-7-3 12階"), std::u16string_view::npos);
        EXPECT_NE(TextOf(entry->s).find(u"t.yamada@ex.com"), std::u16string_view::npos);

        TestBitmap canvas(kCanvas, kCanvas);
        PaintReport report;
        const int side = DrawQrItem(canvas.Dc(), *entry, DevicePoint{20, 20}, kModule, report);
        ASSERT_GT(side, 0);
        ASSERT_LT(side, kCanvas - 40);
        if (folder == nullptr) continue;

        // The bytes the drawing encoded, converted the same way.
        char bytes[288] = {};
        const int length = QrTextToShiftJis(entry->s, bytes, sizeof(bytes));
        ASSERT_GT(length, 0);
        const std::wstring base = std::wstring(folder) + L"\\" + name;
        const std::string pgm = Pgm(canvas);
        EXPECT_TRUE(WriteBytes(base + L".pgm", pgm.data(), pgm.size()));
        EXPECT_TRUE(WriteBytes(base + L".bin", bytes, static_cast<size_t>(length)));
    }
}

}  // namespace
