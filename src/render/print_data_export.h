// Saving the card as a file for a print shop: drawn by the card painter at the chosen
// resolution into memory (never taken from the screen), with bleed, then written as a
// PDF page (render/pdf_file.h) or as a PNG by the system's imaging component, always
// through a temporary file that replaces the target only when complete. A card whose back
// is in use gets the back as the PDF's second page, or as a second PNG named "…_裏.png".
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "render/card_painter.h"
#include "render/print_data.h"
#include "win/guards.h"

// The card drawn for print data: a top-down 32-bit section of layout.image_w ×
// layout.image_h, pixels 0x..RRGGBB (the top byte is not meaningful).
struct PrintDataPicture {
    BitmapHandle bitmap;
    const std::uint32_t* pixels = nullptr;
    int width = 0, height = 0;
};

// Draws the design with pictures for the layout: white, then the pictures composed over
// it as on a printed page (the base reaching over the bleed by BleedCrop), then texts and
// QR codes; the sheet's cut marks are not drawn. False, noting kMemoryDcFailed in report,
// when the memory picture cannot be made or drawn; pictures that fail to draw are noted
// in report too.
bool DrawPrintData(const CardDesign& design, const CardPictures& pictures, const PrintDataLayout& layout,
                   PrintDataPicture& picture, PaintReport& report);

// The picture as a PNG file by the system's encoder, 24-bit, its resolution recorded as
// dpi (pHYs in pixels per metre). False when the encoder fails or memory runs out.
bool EncodePrintDataPng(const PrintDataPicture& picture, int dpi, std::vector<std::uint8_t>& file);

// One side of the card to write: the design with that side as its card (SideView) and
// the pictures that side names.
struct PrintDataSide {
    const CardDesign* design = nullptr;
    CardPictures pictures;
};

// Draws, encodes and writes the print data of the sides (the front, then the back when
// there is one) to path: one PDF with a page for each side, or a PNG for each, the back's
// at BackPictureFileName(path). Pictures a side names and does not have are reported first
// ("ベース画像が読み込み出来ません。", "マーク画像…", "顔の画像…", captioned
// "PaintBMP Load", as printing does) and left out. Failures are shown owned by owner: a
// side wider or taller than 20000 pixels at the resolution is refused before any memory
// is taken and writes nothing; a drawing, encoding or writing failure is
// "ファイルが出来ませんでした。" captioned "保存" (drawing failures as noted by the
// painter), and nothing is written unless every side was drawn and encoded (a front PNG
// already in place stays when only the back's file cannot be written). True only when
// every file was written.
bool WritePrintData(HWND owner, std::span<const PrintDataSide> sides, const PrintDataOptions& options,
                    const wchar_t* path);

// The program's command after its dialog, on the design as stored (StoredDesign: the
// front, and the back when back_on is set), whichever side is shown: refuses a card too
// large for the resolution, asks
// "文字や二次元コードが仕上がり線から3mm以内にあります。このまま保存しますか？"
// ("印刷用データ！", Yes/No) when a text or QR code of either side lies within 3 mm of the
// trim (No ends here), asks for the file in the save dialog ("*.pdf" or "*.png", proposing
// main_filename with that extension in the start folder, asking before replacing; for a
// back's PNG that already exists it asks "…は既にあります。置き換えますか？", No ends
// here) and writes the sides there: the side shown with its loaded pictures, the other
// with pictures loaded from its own paths. Changes nothing in the design.
void SavePrintDataWith(HWND owner, const PrintDataOptions& options);

// The whole command: the dialog "印刷用データの保存", then SavePrintDataWith.
void SavePrintData(HWND owner);
