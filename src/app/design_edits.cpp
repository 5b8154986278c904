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
    g_history.Reset(Design());
    App().changed = false;
}

void CommitDesignChange(unsigned run) {
    if (g_history.Commit(Design(), run, static_cast<std::int64_t>(GetTickCount64()))) App().changed = true;
    RefreshEditCommands(Process().main_window);
}

void CommitLoadedDesign() {
    g_history.Commit(Design());
    App().changed = false;
    RefreshEditCommands(Process().main_window);
}

void AbsorbSavedName() { g_history.Absorb(Design()); }

void UndoCommand(HWND window, bool redo) {
    CardDesign& d = Design();
    const auto before = std::make_unique<CardDesign>(d);
    if (redo ? g_history.Redo(d) : g_history.Undo(d)) {
        App().changed = true;
        if (!SamePictureSources(*before, d)) ReloadPictures();
        if (!CanvasHasSelection()) CanvasSelect(window, kPickNone);
    }
    RefreshEditCommands(window);
    RepaintMainWindow();
}

void RefreshEditCommands(HWND window) {
    HMENU menu = window ? GetMenu(window) : nullptr;
    if (!menu) return;
    EnableCommand(menu, IDM_UNDO, g_history.CanUndo());
    EnableCommand(menu, IDM_REDO, g_history.CanRedo());
    EnableCommand(menu, IDM_CENTRE_ACROSS, CanvasHasSelection());
    EnableCommand(menu, IDM_CENTRE_DOWN, CanvasHasSelection());
    CheckMenuRadioItem(menu, IDM_ZOOM_100, IDM_ZOOM_FIT, ZoomCommand(Design().zoom), MF_BYCOMMAND);
}
