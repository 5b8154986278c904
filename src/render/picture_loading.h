// Picture files into decoded pixels, and the design's loaded pictures.
#pragma once
#include <windows.h>

#include "render/card_painter.h"
#include "win/paint_report.h"
#include "win/picture_stretch.h"

struct IWICImagingFactory;

// The system's imaging component, made once for the thread that paints (COM started on
// it); nullptr when the system has none.
IWICImagingFactory* ImagingFactory();

// Decodes a picture file with the system's imaging component, whatever its name says:
// BMP, JPEG, PNG, GIF (first frame), TIFF (first page) and any other format the system
// has a codec for. Pixels are premultiplied, turned by a JPEG or TIFF orientation tag,
// with the resolution the file records. nullptr for a null or empty path, a missing,
// empty or unreadable file, data the system cannot decode, or a picture refused by its
// header before decoding (over 100 million pixels, or more than the file can hold).
PicturePtr LoadPicture(const wchar_t* path);

// LoadPicture, with mode 0's road for ".bmp" files (any case): the system's bitmap-file
// loader first, the imaging component when that fails. Shows nothing on failure.
PicturePtr LoadDialogPicture(const wchar_t* path, int load_mode);

// True when the path's last four characters are ".bmp" in any case.
bool HasBitmapExtension(const wchar_t* path);

// Fills the base, mark and face slots from the design (start folder current). With
// release, the held pictures are let go first. Each failing picture is reported to
// owner titled "Image_Load" and skipped.
void LoadDesignPictures(HWND owner, bool release);

// The reload after a command: release, then load, messages owned by the main window.
void ReloadPictures();

// Lets go of every held design picture.
void ReleaseDesignPictures();

// The pictures one side of a design names, loaded from its own paths (start folder
// current) for drawing it away from the window: the base, the marks and the face in use.
// Loading shows nothing; a slot that stays empty is what ReportMissingPictures notes.
struct SidePictures {
    PicturePtr base;
    PicturePtr mark[kMarkCount];
    PicturePtr face;

    void Load(const CardDesign& design);
    CardPictures Paint() const;
};

// The pictures the window holds for the side shown, as the painters take them (without
// the screen's working copies).
CardPictures HeldPictures();

// Notes in report, in the order they are loaded, the pictures the design uses and
// pictures lacks: "ベース画像が読み込み出来ません。", "マーク画像が読み込み出来ません。",
// "顔の画像が読み込み出来ません。", each captioned "PaintBMP Load", as printing shows them.
void ReportMissingPictures(const CardDesign& design, const CardPictures& pictures, PaintReport& report);
