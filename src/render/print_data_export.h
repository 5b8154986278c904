// Saving the card as a file for a print shop: drawn by the card painter at the chosen
// resolution into memory (never taken from the screen), with bleed, then written as a
// PDF page (render/pdf_file.h) or as a PNG by the system's imaging component, always
// through a temporary file that replaces the target only when complete.
#pragma once
#include <windows.h>

#include <cstdint>
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

// The picture as a one-page PDF (PrintDataPage of the layout, trim marks when asked).
bool EncodePrintDataPdf(const PrintDataPicture& picture, const PrintDataLayout& layout, bool trim_marks,
                        std::vector<std::uint8_t>& file);

// Draws, encodes and writes the print data of design and pictures to path. Failures are
// shown owned by owner and write nothing: a card wider or taller than 20000 pixels at the
// resolution is refused before any memory is taken; a drawing, encoding or writing
// failure is "ファイルが出来ませんでした。" captioned "保存" (drawing failures as noted
// by the painter). True only when the file was written.
bool WritePrintData(HWND owner, const CardDesign& design, const CardPictures& pictures,
                    const PrintDataOptions& options, const wchar_t* path);

// The program's command after its dialog: refuses a card too large for the resolution,
// asks "文字や二次元コードが仕上がり線から3mm以内にあります。このまま保存しますか？"
// ("印刷用データ！", Yes/No) when a text or QR code lies within 3 mm of the trim (No ends
// here), asks for the file in the save dialog ("*.pdf" or "*.png", proposing main_filename
// with that extension in the start folder, asking before replacing) and writes the design
// with its loaded pictures there. Changes nothing in the design.
void SavePrintDataWith(HWND owner, const PrintDataOptions& options);

// The whole command: the dialog "印刷用データの保存", then SavePrintDataWith.
void SavePrintData(HWND owner);
