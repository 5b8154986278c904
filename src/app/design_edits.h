// The one place a change of the design is committed: every user action that may have
// changed the design ends here, which records its undo step and sets the changed flag.
// Undo, redo and the state of the edit commands that depend on them.
#pragma once
#include <windows.h>

#include "design/design_history.h"

// The history of this run.
DesignHistory& History();

// Start-up: the design read is the recorded design, no steps, unchanged.
void StartDesignHistory();

// Ends a user action: when the design differs from the recorded one, an undo step is
// recorded and the changed flag set. run != 0 joins a keyboard run (DesignHistory::Commit,
// timed by the system's tick count).
void CommitDesignChange(unsigned run = 0);

// New and Open: a step like any other, but the design now is what its file holds, so the
// changed flag is cleared.
void CommitLoadedDesign();

// Saving: the name the design was saved under is recorded without a step or a change.
void AbsorbSavedName();

// Undo (redo false) or redo in the main window: the design restored, its pictures
// reloaded when their files, load modes or use flags changed, the selection cleared when
// its item is off, the window repainted and the changed flag set. Nothing when there is
// nothing to undo or redo.
void UndoCommand(HWND window, bool redo);

// The 表/裏 command: the other side shown, when the back is in use. What is being typed on
// the card is stored first; the selection is cleared and the side's pictures loaded.
void SideCommand(HWND window);

// After anything that may have switched the back off (the environment dialog, a template,
// undo): the front is shown again when the back is not in use, and the title says which
// side is shown.
void RefreshSideShown(HWND window);

// Greys undo and redo when there is nothing to undo or redo, the centring commands
// without a selection and 表/裏 without a back in use; checks the zoom and the back shown
// in the 表示 menu.
void RefreshEditCommands(HWND window);
