// The Windows face names that designs use must reach an installed Japanese face of the
// same kind, or cards print in a Latin fallback.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring FaceFor(const wchar_t* name) {
    LOGFONTW lf{};
    lf.lfHeight = -20;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(lf.lfFaceName, name, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return face;
}

bool IsMincho(const std::wstring& face) {
    return face.find(L"Mincho") != std::wstring::npos || face.find(L"明朝") != std::wstring::npos;
}
bool IsGothic(const std::wstring& face) {
    return face.find(L"Gothic") != std::wstring::npos || face.find(L"ゴシック") != std::wstring::npos;
}

TEST(FontMapping, MinchoFacesReachAMinchoFace) {
    for (const wchar_t* name : {L"ＭＳ 明朝", L"ＭＳ Ｐ明朝", L"@ＭＳ 明朝"})
        EXPECT_TRUE(IsMincho(FaceFor(name))) << FaceFor(name).size();
}

TEST(FontMapping, GothicFacesReachAGothicFace) {
    for (const wchar_t* name : {L"ＭＳ ゴシック", L"ＭＳゴシック", L"ＭＳ Ｐゴシック", L"@ＭＳ ゴシック"})
        EXPECT_TRUE(IsGothic(FaceFor(name))) << FaceFor(name).size();
}

TEST(FontMapping, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

}  // namespace
