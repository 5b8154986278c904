#include "tools/portrait_composer.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "render/bitmap_export.h"
#include "res/portrait_composer_ids.h"
#include "tools/import_save.h"
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

// A part picture of the start folder (entry "kao\..."), whatever the current directory.
BitmapHandle LoadPart(std::wstring_view entry) {
    if (entry.empty()) return BitmapHandle();
    const std::wstring path = StartFolderOrCurrent() + L"\\" + std::wstring(entry);
    return BitmapHandle(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// A 24-bit top-down DIB section whose pixels the program reads and writes directly.
struct PixelBitmap {
    BitmapHandle bitmap;
    std::uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0;
    bool Create(int w, int h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (!bitmap || !pixels) return false;
        bits = static_cast<std::uint8_t*>(pixels);
        width = w;
        height = h;
        stride = (w * 3 + 3) / 4 * 4;
        return true;
    }
    PixelRows Rows() const { return {bits, width, height, stride}; }
};

// The part picture scaled to w x h (whole pixels, no blending, so pure white and black
// stay pure). False when a drawing step fails.
bool RenderPart(HBITMAP picture, int w, int h, PixelBitmap& out) {
    const SIZE size = BitmapSize(picture);
    if (w < 1 || h < 1 || size.cx < 1 || size.cy < 1 || !out.Create(w, h)) return false;
    MemoryDc from(nullptr);
    MemoryDc to(nullptr);
    if (!from || !to) return false;
    SelectGuard source(from.Get(), picture);
    SelectGuard target(to.Get(), out.bitmap.Get());
    if (!source || !target) return false;
    StretchModeGuard mode(to.Get(), COLORONCOLOR);
    const bool drawn = StretchBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY) != FALSE;
    GdiFlush();
    return drawn;
}

// Draws image through its mask onto canvas, turned into the parallelogram for the
// top-left corner (x, y).
void DrawTurned(const PixelBitmap& canvas, const PixelBitmap& image, const PixelBitmap& mask, int x, int y, int angle,
                bool mirrored) {
    DrawParallelogram(canvas.Rows(), image.Rows(), mask.Rows(),
                      ParallelogramCorners(x, y, image.width, image.height, angle / 180.0, mirrored));
}

// One record of the composition on the background's own bitmap (its top-left corner at
// the background's). A part whose file does not load, or sized below 1, is left out.
bool DrawRecord(const PixelBitmap& canvas, const PortraitPart& part, bool face_outline) {
    if (part.used == kPartUnused || part.w < 1 || part.h < 1) return true;
    const BitmapHandle picture = LoadPart(W(TextOf(part.file)));
    if (!picture) return true;
    PixelBitmap normal, mirror, normal_mask, mirror_mask;
    if (!RenderPart(picture.Get(), part.w, part.h, normal) || !normal_mask.Create(part.w, part.h)) return false;
    const bool pair = part.used == kPartPair;
    if (pair) {
        if (!mirror.Create(part.w, part.h) || !mirror_mask.Create(part.w, part.h)) return false;
        std::memcpy(mirror.bits, normal.bits, static_cast<size_t>(normal.stride) * normal.height);
        MirrorRows(mirror.Rows());
        WhiteMask(mirror.Rows(), mirror_mask.Rows());
    }
    WhiteMask(normal.Rows(), normal_mask.Rows());
    const auto red = static_cast<std::uint8_t>(part.red), green = static_cast<std::uint8_t>(part.green),
               blue = static_cast<std::uint8_t>(part.blue);
    RecolourPart(normal.Rows(), face_outline, red, green, blue);
    if (pair) RecolourPart(mirror.Rows(), face_outline, red, green, blue);
    DrawTurned(canvas, normal, normal_mask, part.x, part.y, part.angle, false);
    if (pair) DrawTurned(canvas, mirror, mirror_mask, canvas.width - part.w - part.x, part.y, part.angle, true);
    return true;
}

// The portrait as it stands, the background's size: white, then the parts bottom to top
// (back hair, face, the other slots, then eyes to glasses). Null when drawing fails.
HBITMAP RenderPortrait(const PortraitComposition& composition) {
    const PortraitBackground& background = composition.background;
    PixelBitmap portrait;
    if (!portrait.Create(background.width, background.height)) return nullptr;
    std::memset(portrait.bits, 0xFF, static_cast<size_t>(portrait.stride) * portrait.height);
    std::vector<const PortraitPart*> order{&composition.records[kBackHair], &composition.records[kFaceOutline]};
    for (const PortraitPart& other : composition.others) order.push_back(&other);
    for (int c = kEyes; c < kPortraitRecords; ++c) order.push_back(&composition.records[c]);
    for (const PortraitPart* part : order)
        if (!DrawRecord(portrait, *part, part == &composition.records[kFaceOutline]))
            return nullptr;
    GdiFlush();
    return portrait.bitmap.Release();
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

void OnInit(HWND dialog, Composer& composer) {
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
