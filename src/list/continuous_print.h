// Continuous printing ("連続印刷"): every record of the print queue merged into its
// template and printed, all in one document, with the user's design back afterwards.
#pragma once
#include <windows.h>

#include "list/list_file.h"

// How long each record's preview stands before its pages are printed, so that the
// capture of white-transparent marks sees it; the stop dialog answers meanwhile.
// 2000 ms; tests shorten it.
int& BatchPreviewWaitMs();

// Prints the queue (nothing when it is empty). The design is saved to "Vivivuz.dat" and
// kept in memory; the print dialog, the printer measured; one document "Vivivuz" with the
// stop dialog open throughout. Per record: its template read and applied (a record whose
// template is refused or cannot be read is reported and skipped), pictures loaded, the
// layout dialog when the card size changes (a cancelled one skips records until the
// next), the strings merged, the preview shown for BatchPreviewWaitMs, the mark captures
// and the record's copies. A record whose template has a back in use, with a 両面 choice,
// prints each copy's back too: interleaved when the printer turns the sheets (then a
// one-sided record gets blank backs), else the record's fronts, the question to turn the
// paper (キャンセル ends the batch there, without a word), then its backs, each side a
// document of its own.
// "連続印刷完了しました。" only when pages were printed and the document neither stopped
// nor ended at that question. The records are made in the stored form with the front
// shown; the design held in memory, and the side shown, are restored in every case.
void ContinuousPrint(HWND main_window, const PrintQueue& queue);
