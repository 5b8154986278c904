// Dialogs from resource templates with a state object of the caller's. The procedure
// receives the state by reference on every message from WM_INITDIALOG on, so no dialog
// has to keep its own pointer in the window; exceptions stay inside (CallWithoutThrowing).
#pragma once
#include <windows.h>

#include "win/no_throw.h"
#include "win/process.h"

// A dialog's own procedure: the usual arguments and its state.
template <class State>
using DialogHandler = INT_PTR (*)(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                                  State& state);

template <class State, DialogHandler<State> Handler>
INT_PTR CALLBACK StatefulDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
    // Messages before WM_INITDIALOG (WM_SETFONT) go to the system's default handling.
    if (!state) return FALSE;
    return CallWithoutThrowing(INT_PTR{TRUE},
                               [&]() -> INT_PTR { return Handler(dialog, message, wparam, lparam, *state); });
}

// Redraws the whole dialog at once, its background erased.
inline void RepaintDialog(HWND dialog) {
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

// For a dialog whose state goes with its window (deleted on WM_DESTROY): the messages
// that still follow find no state and get the system's default handling.
inline void ForgetDialogState(HWND dialog) { SetWindowLongPtrW(dialog, DWLP_USER, 0); }

// Runs dialog template template_id of the program modally, owned by owner, with state;
// returns what EndDialog was given (-1 when the dialog cannot be made).
template <class State, DialogHandler<State> Handler>
INT_PTR RunModalDialog(HWND owner, int template_id, State& state) {
    return DialogBoxParamW(Process().instance, MAKEINTRESOURCEW(template_id), owner,
                           StatefulDialogProc<State, Handler>, reinterpret_cast<LPARAM>(&state));
}

// Creates a modeless dialog of the program with state, which must outlive the window.
template <class State, DialogHandler<State> Handler>
HWND CreateModelessDialog(HWND owner, const wchar_t* template_name, State& state) {
    return CreateDialogParamW(Process().instance, template_name, owner,
                              StatefulDialogProc<State, Handler>, reinterpret_cast<LPARAM>(&state));
}
