#include <windows.h>

#include "app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return RunProgram(instance, show);
}
