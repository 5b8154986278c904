#include "app/commands.h"

#include <commctrl.h>

#include <algorithm>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/design_edits.h"
#include "app/file_commands.h"
#include "app/main_window.h"
#include "app/status_line.h"
#include "design/settings_file_win.h"
#include "editors/base_dialog.h"
#include "editors/environment_dialog.h"
#include "editors/face_dialog.h"
#include "editors/mark_dialog.h"
#include "editors/template_browser.h"
#include "editors/text_dialog.h"
#include "list/continuous_print.h"
#include "list/list_editor.h"
#include "print/print_job.h"
#include "qr/qr_dialog.h"
#include "render/bitmap_export.h"
#include "render/canvas.h"
#include "render/card_mapping.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "render/print_data_export.h"
#include "res/main_window_ids.h"
#include "win/documents.h"
#include "win/guards.h"
#include "win/process.h"

namespace {

// What the main window does after an editor closes, besides committing what it changed.
enum AfterEditor : unsigned {
    kRepaint = 1,
    kReloadPictures = 2,
};

using EditorRunner = void (*)(HWND owner);

// The list editor; what its 印刷 handed over is printed once it has closed.
void RunListCommand(HWND owner) {
    ShowListEditor(owner);
    ContinuousPrint(owner, ThePrintQueue());
}

struct EditorCommand {
    int menu_id;
    int toolbar_id;  // 0 when the command has no button
    EditorRunner run;  // null until the editor exists: the command is then greyed
    unsigned after;
};

// Editors in the order of the menus. Each runs modally over the one design.
const EditorCommand kEditors[] = {
    {IDM_TEMPLATE, IDT_TEMPLATE, ShowTemplateBrowser, kReloadPictures | kRepaint},
    {IDM_BASE, IDT_BASE, ShowBaseDialog, kReloadPictures | kRepaint},
    {IDM_MARK, IDT_MARK, ShowMarkDialog, kReloadPictures | kRepaint},
    {IDM_TEXT, IDT_TEXT, ShowTextDialog, kRepaint},
    {IDM_FACE, IDT_FACE, ShowFaceDialog, kReloadPictures | kRepaint},
    {IDM_QRCODE, IDT_QRCODE, ShowQrDialog, kRepaint},
    {IDM_LIST, IDT_LIST, RunListCommand, kRepaint},
    {IDM_ENVIRONMENT, 0, ShowEnvironmentDialog, kRepaint},
};

bool RunEditor(HWND window, int id) {
    for (const EditorCommand& editor : kEditors) {
        if (id != editor.menu_id && (editor.toolbar_id == 0 || id != editor.toolbar_id)) continue;
        if (!editor.run) return true;
        editor.run(window);
        RefreshSideShown(window);
        if (editor.after & kReloadPictures) ReloadPictures();
        if (editor.after & kRepaint) RepaintMainWindow();
        CommitDesignChange();
        return true;
    }
    return false;
}

// The card at one pixel per card pixel whatever the zoom, over the window's background and
// without the selection frame; saving a picture of it changes nothing in the design.
void ExportCard(HWND window) {
    const CardDesign& d = Design();
    WindowDc screen(window);
    MemoryDc memory(screen.Get());
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), std::max(d.base_w, 1), std::max(d.base_h, 1)));
    PaintReport failures;
    if (memory.Get() && bitmap) {
        SelectGuard select(memory.Get(), bitmap.Get());
        const RECT card{0, 0, d.base_w, d.base_h};
        FillRect(memory.Get(), &card, reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)));
        PaintCardAtOneToOne(memory.Get(), d, Pictures(), failures);
    }
    ShowCardPaintFailures(window, failures);
    ExportPicture(window, bitmap.Get(), d.base_w, d.base_h, kCardBitmap);
}

}  // namespace

bool IsCommandNotBuilt(int id) {
    for (const EditorCommand& editor : kEditors) {
        if (!editor.run && (id == editor.menu_id || (editor.toolbar_id != 0 && id == editor.toolbar_id)))
            return true;
    }
    return false;
}

void GreyCommandsNotBuilt(HWND window, HWND toolbar) {
    HMENU menu = GetMenu(window);
    for (const EditorCommand& editor : kEditors) {
        if (editor.run) continue;
        if (menu) EnableMenuItem(menu, editor.menu_id, MF_BYCOMMAND | MF_GRAYED);
        if (toolbar && editor.toolbar_id) SendMessageW(toolbar, TB_ENABLEBUTTON, editor.toolbar_id, FALSE);
    }
    if (menu) DrawMenuBar(window);
}

void RunCommand(HWND window, int id) {
    // A greyed command can still arrive as a message (an accelerator, another program).
    if (IsCommandNotBuilt(id)) return;
    if (RunEditor(window, id)) return;
    switch (id) {
        case IDM_NEW: NewCommand(window); break;
        case IDM_OPEN: OpenCommand(window); break;
        case IDM_SAVE: SaveCommand(window); break;
        case IDM_SAVE_AS: SaveAsCommand(window, false); break;
        case IDM_TEMPLATE_SAVE: SaveAsCommand(window, true); break;
        case IDM_BITMAP_SAVE: ExportCard(window); break;
        case IDM_PRINT_DATA_SAVE: SavePrintData(window); break;
        case IDM_PRINT:
        case IDT_PRINT:
            PrintCommand(window);
            RefreshStatusLine();
            break;
        case IDM_HELP:
        case IDT_HELP: OpenManual(window); break;
        case IDM_ABOUT: ShowAboutBox(window); break;
        case IDM_UNDO: UndoCommand(window, false); break;
        case IDM_REDO: UndoCommand(window, true); break;
        case IDM_ZOOM_100: SetCardZoom(window, 100); break;
        case IDM_ZOOM_150: SetCardZoom(window, 150); break;
        case IDM_ZOOM_200: SetCardZoom(window, 200); break;
        case IDM_ZOOM_FIT: SetCardZoom(window, kZoomFit); break;
        case IDM_SIDE: SideCommand(window); break;
        case IDM_CENTRE_ACROSS:
        case IDM_CENTRE_DOWN:
            if (CanvasCentreSelection(window, id == IDM_CENTRE_ACROSS)) CommitDesignChange();
            break;
        case IDM_EXIT:
        case IDT_EXIT: DestroyWindow(window); break;
        default: break;
    }
}

void StartupReadDesign(HWND window) {
    ReadSettingsFile(window, SettingsScope::Full, kAutoSaveFile);
}

void StartupLoadPictures() { LoadDesignPictures(Process().main_window, false); }

void ExitSaveDesign() { WriteSettingsFile(nullptr, SettingsScope::Full, kAutoSaveFile); }
