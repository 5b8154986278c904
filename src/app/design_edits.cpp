#include "app/design_edits.h"

#include <memory>

#include "app/app_state.h"
#include "app/main_window.h"
#include "render/canvas.h"
#include "render/canvas_math.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "res/main_window_ids.h"
#include "win/process.h"

namespace {

DesignHistory g_history;

void EnableCommand(HMENU menu, int id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

int ZoomCommand(int zoom) {
    switch (zoom) {
        case 150: return IDM_ZOOM_150;
        case 200: return IDM_ZOOM_200;
        case kZoomFit: return IDM_ZOOM_FIT;
        default: return IDM_ZOOM_100;
    }
}

}  // namespace

DesignHistory& History() { return g_history; }

void StartDesignHistory() {
    g_history.Reset(StoredDesign());
    App().changed = false;
}

void CommitDesignChange(unsigned run) {
    if (g_history.Commit(StoredDesign(), run, static_cast<std::int64_t>(GetTickCount64()))) App().changed = true;
    RefreshEditCommands(Process().main_window);
}

void CommitLoadedDesign() {
    g_history.Commit(StoredDesign());
    App().changed = false;
    RefreshEditCommands(Process().main_window);
}

void AbsorbSavedName() { g_history.Absorb(StoredDesign()); }

void UndoCommand(HWND window, bool redo) {
    const auto shown_before = std::make_unique<CardDesign>(Design());
    const bool back_before = BackShown();
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    const auto before = std::make_unique<CardDesign>(*stored);
    if (redo ? g_history.Redo(*stored) : g_history.Undo(*stored)) {
        App().changed = true;
        SetStoredDesign(*stored);
        // The step is shown where it happened: a change of the other side alone brings
        // that side up.
        const bool back = SideOfStep(*before, *stored, back_before);
        ShowSide(back);
        if (back != back_before || !SamePictureSources(*shown_before, Design())) ReloadPictures();
        if (back != back_before) CanvasSelect(window, kPickNone);
        if (!CanvasHasSelection()) CanvasSelect(window, kPickNone);
        RefreshSideShown(window);
    }
    RefreshEditCommands(window);
    RepaintMainWindow();
}

void SideCommand(HWND window) {
    if (!Design().back_on) return;
    CanvasCommitEdit(window);
    CommitDesignChange();
    ShowSide(!BackShown());
    ReloadPictures();
    CanvasSelect(window, kPickNone);
    RefreshSideShown(window);
    UpdateCardView(window);
    RefreshEditCommands(window);
    RepaintMainWindow();
}

void RefreshSideShown(HWND window) {
    // A back switched off is no longer shown.
    if (BackShown() && !Design().back_on) {
        ShowSide(false);
        ReloadPictures();
        CanvasSelect(window, kPickNone);
    }
    if (!window) return;
    SetWindowTextW(window, MainWindowTitle(BackShown()).c_str());
}

void RefreshEditCommands(HWND window) {
    HMENU menu = window ? GetMenu(window) : nullptr;
    if (!menu) return;
    EnableCommand(menu, IDM_UNDO, g_history.CanUndo());
    EnableCommand(menu, IDM_REDO, g_history.CanRedo());
    EnableCommand(menu, IDM_CENTRE_ACROSS, CanvasHasSelection());
    EnableCommand(menu, IDM_CENTRE_DOWN, CanvasHasSelection());
    EnableCommand(menu, IDM_SIDE, Design().back_on != 0);
    CheckMenuItem(menu, IDM_SIDE, MF_BYCOMMAND | (BackShown() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuRadioItem(menu, IDM_ZOOM_100, IDM_ZOOM_FIT, ZoomCommand(Design().zoom), MF_BYCOMMAND);
}
