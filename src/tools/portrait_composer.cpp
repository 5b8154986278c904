#include "tools/portrait_composer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "render/bitmap_export.h"
#include "res/portrait_composer_ids.h"
#include "tools/import_save.h"
#include "tools/portrait_render.h"
#include "tools/portrait_rules.h"
#include "win/colour.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/modal_dialog.h"
#include "win/paint_report.h"
#include "win/picture_stretch.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kFacePreviewPart[] = L"kao\\kao-1-001.bmp";  // under the hair thumbnails
constexpr int kMarkTop = 36;
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Composer {
    PortraitComposition composition;
    std::vector<std::wstring> entries;  // "kao\" + file name, at most kPartListCapacity
    PaintReport shown;
};

Composer& TheComposer() {
    static Composer composer;
    return composer;
}

// A picture at its own size at (x, y); mirrored end to end when asked. white_transparent
// leaves pure white out.
void DrawPicture(HDC dc, HBITMAP picture, int x, int y, bool mirrored, bool white_transparent) {
    const SIZE size = BitmapSize(picture);
    PixelBitmap pixels;
    if (!RenderPart(picture, size.cx, size.cy, pixels)) return;
    if (mirrored) MirrorRows(pixels.Rows());
    MemoryDc source(dc);
    SelectGuard select(source.Get(), pixels.bitmap.Get());
    if (!source || !select) return;
    if (white_transparent)
        TransparentBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy, kWhite);
    else
        BitBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

void DrawThumbnail(HDC dc, const Composer& composer, int index, int box_left) {
    const RECT box{box_left, kThumbnailTop, box_left + kThumbnailWidth, kThumbnailTop + kThumbnailHeight};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const std::wstring& entry = composer.entries[static_cast<size_t>(index)];
    const BitmapHandle picture = LoadPart(entry);
    if (!picture) return;
    const int category = composer.composition.category;
    IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
    if (category == kFrontHair) {
        const std::u16string back = BackHairName(U16(std::wstring_view(entry)));
        if (!back.empty()) {
            const BitmapHandle back_hair = LoadPart(W(std::u16string_view(back)));
            const BitmapHandle face = LoadPart(kFacePreviewPart);
            if (back_hair) DrawPicture(dc, back_hair.Get(), box_left, kThumbnailTop, false, true);
            if (face) DrawPicture(dc, face.Get(), box_left, kThumbnailTop, false, true);
        }
        DrawPicture(dc, picture.Get(), box_left, kThumbnailTop, false, true);
    } else {
        const SIZE size = BitmapSize(picture.Get());
        const ThumbnailPlacement place =
            PlaceThumbnail(category, U16(std::wstring_view(entry)), size.cx, size.cy, box_left);
        DrawPicture(dc, picture.Get(), place.x, place.y, false, false);
        if (place.pair) DrawPicture(dc, picture.Get(), place.mirror_right - size.cx, place.y, true, false);
    }
    SelectClipRgn(dc, nullptr);
}

// "x" over the thumbnails of the other parts placed, "v" over the one being edited.
void DrawMarks(HDC dc, HWND dialog, const Composer& composer, int index, int box_left) {
    const PortraitComposition& c = composer.composition;
    SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    if (c.category == kOtherParts) {
        for (int slot = 0; slot < kOtherSlots; ++slot) {
            if (c.others[slot].used == kPartUnused || c.others[slot].index != index) continue;
            TextOutW(dc, box_left + 25, kMarkTop, L"x", 1);
            if (slot == c.current_slot) TextOutW(dc, box_left + 35, kMarkTop, L"v", 1);
        }
    } else if (c.records[c.category].used != kPartUnused && c.records[c.category].index == index) {
        TextOutW(dc, box_left + 35, kMarkTop, L"v", 1);
    }
}

void OnPaint(HWND dialog, Composer& composer) {
    PaintReport failures;
    {
        PaintGuard paint(dialog);
        const PortraitComposition& c = composer.composition;
        const int count = static_cast<int>(composer.entries.size());
        for (int i = c.first_shown; i < c.first_shown + kThumbnailsPerPage && i < count; ++i) {
            const int left = ThumbnailLeft(i % kThumbnailsPerPage);
            DrawThumbnail(paint.Get(), composer, i, left);
            DrawMarks(paint.Get(), dialog, composer, i, left);
        }
        BitmapHandle portrait(RenderPortrait(c));
        MemoryDc memory(paint.Get());
        SelectGuard select(memory.Get(), portrait.Get());
        if (!portrait || !memory || !select)
            failures.Add(kMemoryDcFailed, kMemoryDcCaption);
        else
            BitBlt(paint.Get(), c.background.left, c.background.top, c.background.width, c.background.height,
                   memory.Get(), 0, 0, SRCCOPY);
    }
    ShowNewFailures(dialog, failures, composer.shown);
}

void EnableHairChoice(HWND dialog, bool enabled) {
    EnableWindow(GetDlgItem(dialog, IDC_PORTRAIT_FRONT_HAIR), enabled);
    EnableWindow(GetDlgItem(dialog, IDC_PORTRAIT_BACK_HAIR), enabled);
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The frames are laid out in dialog units, the thumbnails in pixels: with a large dialog
// font the thumbnail frame would cross the first thumbnail. It is widened to hold all
// five, and the background's frame ends short of it.
void FitFrames(HWND dialog) {
    constexpr int kMargin = 6;
    HWND thumbnails = GetDlgItem(dialog, IDC_PORTRAIT_THUMBNAIL_FRAME);
    HWND background = GetDlgItem(dialog, IDC_PORTRAIT_BACKGROUND_FRAME);
    const RECT around = ChildRect(dialog, thumbnails);
    const int left = std::min<int>(around.left, ThumbnailLeft(0) - kMargin);
    const int right = std::max<int>(around.right, ThumbnailLeft(kThumbnailsPerPage - 1) + kThumbnailWidth + kMargin);
    SetWindowPos(thumbnails, nullptr, left, around.top, right - left, around.bottom - around.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT first = ChildRect(dialog, background);
    if (first.right > left - 2)
        SetWindowPos(background, nullptr, 0, 0, left - 2 - first.left, first.bottom - first.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInit(HWND dialog, Composer& composer) {
    FitFrames(dialog);
    composer.shown.Clear();
    CheckRadioButton(dialog, IDC_PORTRAIT_FRONT_HAIR, IDC_PORTRAIT_BACK_HAIR, IDC_PORTRAIT_FRONT_HAIR);
    EnableHairChoice(dialog, false);
}

// The part files of a category, in the order the file system gives them.
void ScanCategory(HWND dialog, Composer& composer, int category) {
    composer.composition.category = category;
    composer.entries.clear();
    std::wstring pattern = StartFolderOrCurrent() + L"\\kao\\";
    pattern += category >= 1 && category <= 12 ? std::wstring(L"kao-") + static_cast<wchar_t>(CategoryDigit(category)) + L"-*.bmp"
                                              : std::wstring(L"*.*");
    EnterStartFolder();
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring entry = std::wstring(L"kao\\") + found.cFileName;
            if (entry.size() < static_cast<size_t>(kPartPathUnits)) composer.entries.push_back(entry);
        } while (composer.entries.size() < static_cast<size_t>(kPartListCapacity) && FindNextFileW(search, &found));
        FindClose(search);
    }
    composer.composition.first_shown = 0;
    EnableHairChoice(dialog, category == kFrontHair);
    RepaintDialog(dialog);
}

void SetFile(PortraitPart& part, std::wstring_view entry) { SetText(part.file, U16(entry)); }

// A thumbnail clicked: its file becomes the category's part (an other slot in category 2).
void ChoosePart(HWND dialog, Composer& composer, int index) {
    PortraitComposition& c = composer.composition;
    const std::wstring& entry = composer.entries[static_cast<size_t>(index)];
    const BitmapHandle picture = LoadPart(entry);
    const SIZE size = BitmapSize(picture.Get());
    if (!picture || size.cx < 1 || size.cy < 1) return;
    if (c.category == kOtherParts) {
        const int slot = FreeOtherSlot(c.others, U16(std::wstring_view(entry)));
        if (slot < 0) return;
        PortraitPart& part = c.others[slot];
        const PartPlacement place = PlaceOtherPart(OtherShapeOf(U16(std::wstring_view(entry))), size.cx, size.cy);
        part = PortraitPart{};
        SetFile(part, entry);
        part.used = place.used;
        part.x = place.x;
        part.y = place.y;
        part.w = size.cx;
        part.h = size.cy;
        part.index = index;
        PixelBitmap pixels;
        if (RenderPart(picture.Get(), size.cx, size.cy, pixels)) {
            // Rows bottom first, as the picture's file stores them.
            std::vector<std::uint8_t> stored(static_cast<size_t>(pixels.stride) * pixels.height);
            for (int y = 0; y < pixels.height; ++y)
                std::memcpy(&stored[static_cast<size_t>(y) * pixels.stride],
                            pixels.bits + static_cast<size_t>(pixels.height - 1 - y) * pixels.stride,
                            static_cast<size_t>(pixels.stride));
            FirstColouredPixel({stored.data(), pixels.width, pixels.height, pixels.stride}, part.red, part.green,
                               part.blue);
        }
    } else {
        PortraitPart& part = c.records[c.category];
        const PartPlacement place = PlaceChosenPart(c.category, size.cx, size.cy);
        part.used = place.used;
        part.angle = 0;
        SetFile(part, entry);
        part.w = size.cx;
        part.h = size.cy;
        part.index = index;
        part.red = part.green = part.blue = 0;
        part.x = place.x;
        part.y = place.y;
        if (c.category == kFaceOutline) {
            part.red = 255;
            part.green = 255;
            part.blue = 128;
        }
        if (c.category == kFrontHair) {
            PortraitPart& back = c.records[kBackHair];
            back.used = kPartSingle;
            back.w = size.cx;
            back.h = size.cy;
            const std::u16string back_name = BackHairName(U16(std::wstring_view(entry)));
            if (!back_name.empty()) SetText(back.file, back_name);
        }
    }
    RepaintDialog(dialog);
}

void OnButtonDown(HWND dialog, int x, int y, Composer& composer) {
    const int index = ThumbnailAt(x, y, composer.composition.first_shown, static_cast<int>(composer.entries.size()));
    if (index >= 0) ChoosePart(dialog, composer, index);
}

// The part the rotation and colour buttons act on: the category's, or the other slot
// being edited. Null before a category is chosen.
PortraitPart* EditedPart(PortraitComposition& c) {
    if (c.category < 1 || c.category >= kPortraitRecords) return nullptr;
    if (c.category == kOtherParts) return &c.others[c.current_slot];
    return &c.records[c.category];
}

// The part the size and move buttons act on: the back hair when "後" is chosen in the
// hair category.
PortraitPart* SizedPart(HWND dialog, PortraitComposition& c) {
    if (c.category == kFrontHair && IsDlgButtonChecked(dialog, IDC_PORTRAIT_BACK_HAIR) == BST_CHECKED)
        return &c.records[kBackHair];
    return EditedPart(c);
}

void EditPart(HWND dialog, Composer& composer, PartEdit edit) {
    PortraitComposition& c = composer.composition;
    const bool turn = edit == PartEdit::kTurnRight || edit == PartEdit::kTurnLeft || edit == PartEdit::kNoTurn;
    if (PortraitPart* part = turn ? EditedPart(c) : SizedPart(dialog, c)) ApplyPartEdit(*part, edit, c.background);
    RepaintDialog(dialog);
}

void PickPartColour(HWND dialog, Composer& composer) {
    PortraitComposition& c = composer.composition;
    PortraitPart* part = EditedPart(c);
    if (!part) return;
    PickColour(dialog, part->red, part->green, part->blue);
    if (c.category == kFrontHair) {
        c.records[kBackHair].red = part->red;
        c.records[kBackHair].green = part->green;
        c.records[kBackHair].blue = part->blue;
    }
    RepaintDialog(dialog);
}

void EditBackground(HWND dialog, Composer& composer, BackgroundEdit edit) {
    ApplyBackgroundEdit(composer.composition.background, edit);
    RepaintDialog(dialog);
}

void TurnOff(HWND dialog, Composer& composer) {
    PortraitComposition& c = composer.composition;
    for (PortraitPart& other : c.others) other.used = kPartUnused;
    if (c.category >= 0 && c.category < kPortraitRecords) c.records[c.category].used = kPartUnused;
    if (c.category == kFrontHair) c.records[kBackHair].used = kPartUnused;
    c.current_slot = 0;
    RepaintDialog(dialog);
}

void Page(HWND dialog, Composer& composer, bool forward) {
    PortraitComposition& c = composer.composition;
    const int count = static_cast<int>(composer.entries.size());
    c.first_shown = forward ? NextPage(c.first_shown, count) : PreviousPage(c.first_shown, count);
    RepaintDialog(dialog);
}

void Slot(HWND dialog, Composer& composer, bool next) {
    PortraitComposition& c = composer.composition;
    c.current_slot = next ? NextOtherSlot(c.current_slot, c.others) : PreviousOtherSlot(c.current_slot, c.others);
    RepaintDialog(dialog);
}

// 保存: the portrait as large as its background becomes the cut-out, offered as a face.
void Save(HWND dialog, Composer& composer) {
    const PortraitBackground& background = composer.composition.background;
    HBITMAP portrait = RenderPortrait(composer.composition);
    if (!portrait) {
        ShowMessage(dialog, kMemoryDcFailed, kMemoryDcCaption);
        return;
    }
    TheCutOut().Replace(portrait, background.width, background.height);
    RunImportSave(dialog, kFaceBitmap);
}

BOOL OnCommand(HWND dialog, int id, Composer& composer) {
    if (id >= IDC_PORTRAIT_CATEGORY_FIRST && id <= IDC_PORTRAIT_CATEGORY_LAST) {
        ScanCategory(dialog, composer, id - IDC_PORTRAIT_CATEGORY_FIRST + 1);
        return TRUE;
    }
    switch (id) {
        case IDC_PORTRAIT_WIDER: EditPart(dialog, composer, PartEdit::kWider); return TRUE;
        case IDC_PORTRAIT_NARROWER: EditPart(dialog, composer, PartEdit::kNarrower); return TRUE;
        case IDC_PORTRAIT_TALLER: EditPart(dialog, composer, PartEdit::kTaller); return TRUE;
        case IDC_PORTRAIT_SHORTER: EditPart(dialog, composer, PartEdit::kShorter); return TRUE;
        case IDC_PORTRAIT_LARGER: EditPart(dialog, composer, PartEdit::kLarger); return TRUE;
        case IDC_PORTRAIT_SMALLER: EditPart(dialog, composer, PartEdit::kSmaller); return TRUE;
        case IDC_PORTRAIT_UP: EditPart(dialog, composer, PartEdit::kUp); return TRUE;
        case IDC_PORTRAIT_DOWN: EditPart(dialog, composer, PartEdit::kDown); return TRUE;
        case IDC_PORTRAIT_LEFT: EditPart(dialog, composer, PartEdit::kLeft); return TRUE;
        case IDC_PORTRAIT_RIGHT: EditPart(dialog, composer, PartEdit::kRight); return TRUE;
        case IDC_PORTRAIT_TURN_RIGHT: EditPart(dialog, composer, PartEdit::kTurnRight); return TRUE;
        case IDC_PORTRAIT_TURN_LEFT: EditPart(dialog, composer, PartEdit::kTurnLeft); return TRUE;
        case IDC_PORTRAIT_NO_TURN: EditPart(dialog, composer, PartEdit::kNoTurn); return TRUE;
        case IDC_PORTRAIT_COLOUR: PickPartColour(dialog, composer); return TRUE;
        case IDC_PORTRAIT_BACK_WIDER: EditBackground(dialog, composer, BackgroundEdit::kWider); return TRUE;
        case IDC_PORTRAIT_BACK_TALLER: EditBackground(dialog, composer, BackgroundEdit::kTaller); return TRUE;
        case IDC_PORTRAIT_BACK_NARROWER: EditBackground(dialog, composer, BackgroundEdit::kNarrower); return TRUE;
        case IDC_PORTRAIT_BACK_SHORTER: EditBackground(dialog, composer, BackgroundEdit::kShorter); return TRUE;
        case IDC_PORTRAIT_PREVIOUS_PAGE: Page(dialog, composer, false); return TRUE;
        case IDC_PORTRAIT_NEXT_PAGE: Page(dialog, composer, true); return TRUE;
        case IDC_PORTRAIT_OFF: TurnOff(dialog, composer); return TRUE;
        case IDC_PORTRAIT_NEXT_SLOT: Slot(dialog, composer, true); return TRUE;
        case IDC_PORTRAIT_PREVIOUS_SLOT: Slot(dialog, composer, false); return TRUE;
        case IDC_PORTRAIT_SAVE: Save(dialog, composer); return TRUE;
        case IDC_PORTRAIT_CLOSE: EndDialog(dialog, 1); return TRUE;
        case IDC_PORTRAIT_HELP: OpenManual(dialog); return TRUE;
        default: return FALSE;
    }
}

INT_PTR ComposerProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, Composer& composer) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, composer); return TRUE;
        case WM_PAINT: OnPaint(dialog, composer); return TRUE;
        case WM_COMMAND: return OnCommand(dialog, LOWORD(wparam), composer);
        case WM_LBUTTONDOWN:
            OnButtonDown(dialog, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)), composer);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowPortraitComposer(HWND owner, int) {
    RunModalDialog<Composer, ComposerProc>(owner, IDD_PORTRAIT, TheComposer());
}
