#include "app/app_state.h"

namespace {
AppState g_app;
CardDesign g_design;
}  // namespace

AppState& App() { return g_app; }

CardDesign& Design() { return g_design; }

void EnterStartFolder() {
    if (g_app.start_folder[0] != L'\0') SetCurrentDirectoryW(g_app.start_folder);
}
