#include "qr/address_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/address_dialog_ids.h"
#include "win/process.h"

namespace {

class AddressDialogTest : public ::testing::Test {
protected:
    RecordingSeam seam;

    void SetUp() override { ResetDesign(Design(), SettingsScope::Full); }

    static QrcodeData& Entry() { return Design().qrcode_data[1]; }

    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        const INT_PTR result =
            DriveModal([] { return ShowAddressDialog(nullptr, Entry()); }, script, &timed_out);
        EXPECT_FALSE(timed_out);
        EXPECT_EQ(result, 1);
    }
};

TEST_F(AddressDialogTest, ShowsTheEntryAndOkWritesFieldsAndPayload) {
    SetText(Entry().sn, u"山田　太郎");
    SetText(Entry().st2, u"0312345678");
    SetText(Entry().sa, u"東京都");
    Open([](HWND dialog) {
        // A text that is no contact payload ticks "AU"; "ソフトバンク" is not offered.
        EXPECT_TRUE(IsChecked(dialog, IDC_ADDRESS_AU));
        for (int id : {IDC_ADDRESS_DOCOMO, IDC_ADDRESS_SOFTBANK, IDC_ADDRESS_MULTI})
            EXPECT_FALSE(IsChecked(dialog, id)) << id;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADDRESS_DOCOMO)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADDRESS_MULTI)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADDRESS_SOFTBANK)));
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_NAME), L"山田　太郎");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_TEL2), L"0312345678");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_POSTAL), L"東京都");
        SetControlText(dialog, IDC_ADDRESS_READING, L"ヤマダタロウ");
        SetControlText(dialog, IDC_ADDRESS_MAIL3, L"taro@example.jp");
        // Read limits: 15 for a telephone number, 31 for the others.
        SetControlText(dialog, IDC_ADDRESS_TEL1, L"0123456789012345678");
        SetControlText(dialog, IDC_ADDRESS_POSTAL, std::wstring(40, L'住'));
        ClickButton(dialog, IDC_ADDRESS_OK);
    });
    EXPECT_EQ(TextOf(Entry().sy), u"ヤマダタロウ");
    EXPECT_EQ(TextOf(Entry().st1), u"012345678901234");
    EXPECT_EQ(TextOf(Entry().sa), std::u16string(31, u'住'));
    EXPECT_EQ(TextOf(Entry().s),
              u"MEMORY:\r\nNAME1:山田　太郎\r\nNAME2:ヤマダタロウ\r\nMAIL1:\r\nMAIL2:\r\n"
              u"MAIL3:taro@example.jp\r\nTEL1:012345678901234\r\nTEL2:0312345678\r\nTEL3:\r\n"
              u"ADD:" + std::u16string(31, u'住') + u"\r\n");
}

TEST_F(AddressDialogTest, TheEntrysFormatIsTickedAndTheTickedOneIsWritten) {
    SetText(Entry().sn, u"山田 太郎");
    SetText(Entry().st1, u"0312345678");
    SetText(Entry().sm1, u"taro@example.jp");
    SetText(Entry().s, u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;;;;\r\nFN:山田\r\nEND:VCARD\r\n");
    Open([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_ADDRESS_MULTI));
        EXPECT_FALSE(IsChecked(dialog, IDC_ADDRESS_AU));
        ClickButton(dialog, IDC_ADDRESS_DOCOMO);
        EXPECT_FALSE(IsChecked(dialog, IDC_ADDRESS_MULTI));
        ClickButton(dialog, IDC_ADDRESS_OK);
    });
    EXPECT_EQ(TextOf(Entry().s), u"MECARD:N:山田 太郎;TEL:0312345678;EMAIL:taro@example.jp;;");

    Open([](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_ADDRESS_DOCOMO));
        EXPECT_FALSE(IsChecked(dialog, IDC_ADDRESS_AU));
        ClickButton(dialog, IDC_ADDRESS_MULTI);
        ClickButton(dialog, IDC_ADDRESS_OK);
    });
    EXPECT_EQ(TextOf(Entry().s),
              u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\n"
              u"TEL:0312345678\r\nEMAIL:taro@example.jp\r\nEND:VCARD\r\n");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(AddressDialogTest, AutoSetFillsTheControlsAndCancelLeavesTheEntry) {
    // The sample card: its telephone line holds two 10-digit numbers, its mail line the
    // placeholder "****@****.**.jp", which is no address. 亜 (0x88 0x9F in Shift_JIS) is
    // one character, so the address after it is whole.
    SetText(Design().str_data[10].s64, u"亜x@y.jp");
    SetText(Entry().sy, u"ヨミ");
    SetText(Entry().s, u"old");
    const auto before = std::make_unique<QrcodeData>(Entry());
    Open([](HWND dialog) {
        SetControlText(dialog, IDC_ADDRESS_MAIL3, L"typed@example.jp");
        ClickButton(dialog, IDC_ADDRESS_AUTO);
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_NAME), L"氏名○○　太郎");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_READING), L"ヨミ");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_POSTAL),
                  L"住所□□県○○市△△－○○－○○ 〒000-0000");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_TEL1), L"0000000000");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_TEL2), L"0000000000");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_TEL3), L"");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_MAIL1), L"x@y.jp");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_MAIL2), L"");
        EXPECT_EQ(ControlText(dialog, IDC_ADDRESS_MAIL3), L"");
        ClickButton(dialog, IDC_ADDRESS_CANCEL);
    });
    EXPECT_EQ(std::memcmp(before.get(), &Entry(), sizeof(QrcodeData)), 0);

    // The same fill, then OK: the payload carries what the card gave.
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_ADDRESS_AUTO);
        ClickButton(dialog, IDC_ADDRESS_OK);
    });
    EXPECT_EQ(TextOf(Entry().s),
              u"MEMORY:\r\nNAME1:氏名○○　太郎\r\nNAME2:ヨミ\r\nMAIL1:x@y.jp\r\n"
              u"MAIL2:\r\nMAIL3:\r\nTEL1:0000000000\r\nTEL2:0000000000\r\nTEL3:\r\n"
              u"ADD:住所□□県○○市△△－○○－○○ 〒000-0000\r\n");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

}  // namespace
