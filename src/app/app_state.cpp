#include "app/app_state.h"

namespace {
AppState g_app;
}

AppState& App() { return g_app; }
