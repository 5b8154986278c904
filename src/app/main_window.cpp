#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/status_line.h"
#include "design/fixed_text.h"
#include "editors/new_item_dialog.h"
#include "print/printer.h"
#include "render/canvas.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "res/main_window_ids.h"
#include "res/version.h"
#include "win/guards.h"
#include "win/no_throw.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// "Vivivuz Ver1.03": the About box shows the same version.
constexpr wchar_t kMainWindowTitle[] = L"Vivivuz Ver" VIVIVUZ_VERSION;
static_assert(sizeof(kMainWindowTitle) / sizeof(wchar_t) <= 20, "the title holds 19 characters");

constexpr int kToolbarButtons = 10;

struct Tooltip {
    int id;
    const wchar_t* text;
};

constexpr Tooltip kTooltips[kToolbarButtons] = {
    {IDT_TEMPLATE, L"テンプレート"}, {IDT_BASE, L"ベースの絵を設定"},
    {IDT_MARK, L"マークの絵を設定"}, {IDT_TEXT, L"文字の設定"},
    {IDT_QRCODE, L"二次元コードの設定"}, {IDT_FACE, L"顔の設定"},
    {IDT_LIST, L"リスト"},           {IDT_PRINT, L"印刷"},
    {IDT_HELP, L"ヘルプ"},           {IDT_EXIT, L"終了"},
};

// Adds the button pictures at the screen's DPI (32 pixels a button at 96 DPI) and returns
// the index of the first: at 96 DPI the strip as drawn, above it the strip drawn at twice
// the size, brought to the DPI's size.
int AddToolbarStrip(HWND toolbar) {
    HINSTANCE instance = Process().instance;
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    const int size = dpi > 96 ? MulDiv(32, dpi, 96) : 32;
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    TBADDBITMAP strip{instance, IDB_TOOLBAR};
    static BitmapHandle scaled;  // the toolbar draws from it for the window's life
    if (dpi > 96) {
        BitmapHandle drawn(static_cast<HBITMAP>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR_2X), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        MemoryDc from(screen.Get()), to(screen.Get());
        scaled.Reset(CreateCompatibleBitmap(screen.Get(), size * kToolbarButtons, size));
        if (drawn && from && to && scaled) {
            SelectGuard source(from.Get(), drawn.Get()), target(to.Get(), scaled.Get());
            SetStretchBltMode(to.Get(), HALFTONE);
            SetBrushOrgEx(to.Get(), 0, 0, nullptr);
            StretchBlt(to.Get(), 0, 0, size * kToolbarButtons, size, from.Get(), 0, 0,
                       64 * kToolbarButtons, 64, SRCCOPY);
            strip = {nullptr, reinterpret_cast<UINT_PTR>(scaled.Get())};
        }
    }
    return static_cast<int>(SendMessageW(toolbar, TB_ADDBITMAP, kToolbarButtons,
                                         reinterpret_cast<LPARAM>(&strip)));
}

void CreateToolbar(HWND window) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    HWND toolbar = CreateToolbarEx(
        window, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_ALTDRAG | CCS_ADJUSTABLE,
        IDC_TOOLBAR, 0, nullptr, 0, nullptr, 0, 0, 0, 0, 0, sizeof(TBBUTTON));
    App().toolbar = toolbar;
    if (!toolbar) return;
    const int first = AddToolbarStrip(toolbar);
    TBBUTTON buttons[kToolbarButtons] = {};
    for (int i = 0; i < kToolbarButtons; ++i) {
        buttons[i].iBitmap = i + first;
        buttons[i].idCommand = IDT_TEMPLATE + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, kToolbarButtons, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

void CreateStatusBar(HWND window) {
    HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                  WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                                  window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), Process().instance,
                                  nullptr);
    App().status_bar = status;
    int edges[4] = {200, 320, 480, 600};
    SendMessageW(status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

LRESULT OnCreate(HWND window) {
    Process().main_window = window;
    StartupReadDesign(window);
    App().changed = false;
    CreateToolbar(window);
    GreyCommandsNotBuilt(window, App().toolbar);
    std::memset(CurrentPrinterName(), 0, 256 * sizeof(wchar_t));
    FetchDefaultPrinter(window);
    CreateStatusBar(window);
    StartupLoadPictures();
    ReadPrinterFile();
    return 0;
}

// The toolbar and status bar follow the window's width; the card keeps its place.
void OnSize(HWND window) {
    if (App().toolbar) SendMessageW(App().toolbar, TB_AUTOSIZE, 0, 0);
    if (App().status_bar) SendMessageW(App().status_bar, WM_SIZE, 0, 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void OnPaint(HWND window) {
    PaintReport failures;
    {
        PaintGuard paint(window);
        failures = PaintCard(paint.Get());
    }
    RefreshStatusLine();
    // After EndPaint: a message box's own closing repaints the card.
    ShowCardPaintFailures(window, failures);
}

LRESULT OnNotify(LPARAM lparam) {
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->code != TTN_GETDISPINFOW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
    info->hinst = Process().instance;
    if (const wchar_t* text = ToolbarTooltip(static_cast<int>(header->idFrom)))
        info->lpszText = const_cast<wchar_t*>(text);
    return 0;
}

void OnMouseMove(HWND window, WPARAM keys, LPARAM point) {
    if (keys == MK_LBUTTON) CanvasDrag(window, point);
}

void OnLeftButtonDown(HWND window, LPARAM point) {
    if (CanvasPick(window, point)) App().changed = true;
}

void OnLeftButtonUp(HWND window, LPARAM point) {
    if (CanvasDrop(window, point)) App().changed = true;
}

// A right click on an empty spot adds a mark or a text item there.
void OnRightButtonDown(HWND window, LPARAM point) {
    if (CanvasRightButton(window, point) == RightAction::kOpenNewItem) {
        ShowNewItemDialog(window, point);
        ReloadPictures();
    }
    App().changed = true;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// Whatever a command does next, the text typed into an open edit box is stored first.
void OnCommand(HWND window, WPARAM wparam) {
    const int id = LOWORD(wparam);
    if (id == kTextEditId) return;
    if (CanvasCommitEdit(window)) App().changed = true;
    RunCommand(window, id);
}

// The design is saved after the window is gone: an open edit box is stored before it goes.
void OnDestroy(HWND window) {
    if (CanvasCommitEdit(window)) App().changed = true;
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWithoutThrowing(0, [&]() -> LRESULT {
        switch (message) {
            case WM_CREATE: return OnCreate(window);
            case WM_DESTROY: OnDestroy(window); return 0;
            case WM_SIZE: OnSize(window); return 0;
            case WM_PAINT: OnPaint(window); return 0;
            case WM_NOTIFY: return OnNotify(lparam);
            case WM_COMMAND: OnCommand(window, wparam); return 0;
            case WM_MOUSEMOVE: OnMouseMove(window, wparam, lparam); return 0;
            case WM_LBUTTONDOWN: OnLeftButtonDown(window, lparam); return 0;
            case WM_LBUTTONUP: OnLeftButtonUp(window, lparam); return 0;
            case WM_RBUTTONDOWN: OnRightButtonDown(window, lparam); return 0;
            case WM_CAPTURECHANGED: CanvasCaptureLost(window); return 0;
            case kStatusChangedMessage: RefreshStatusLine(); return 0;
            case WM_QUERYNEWPALETTE: return 0;
            case WM_QUIT: return 0;
            default: return DefWindowProcW(window, message, wparam, lparam);
        }
    });
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageW(&msg, nullptr, 0, 0)) break;
            if (PassToModelessDialog(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            WaitMessage();
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

bool PassToModelessDialog(MSG& msg) {
    if (!msg.hwnd) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (!root || root == Process().main_window) return false;
    const auto dialog_class = reinterpret_cast<ULONG_PTR>(WC_DIALOG);
    return GetClassLongPtrW(root, GCW_ATOM) == dialog_class && IsDialogMessageW(root, &msg);
}

const wchar_t* ToolbarTooltip(int id) {
    for (const Tooltip& tip : kTooltips)
        if (tip.id == id) return tip.text;
    return nullptr;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VIVIVUZ));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VIVIVUZ_SMALL),
                                               IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(238, 235, 218));
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    Process().instance = instance;
    int screen_w = 0, screen_h = 0;
    {
        WindowDc screen(nullptr);
        screen_w = GetDeviceCaps(screen.Get(), HORZRES);
        screen_h = GetDeviceCaps(screen.Get(), VERTRES);
    }
    wchar_t title[20] = {};
    std::swprintf(title, 20, L"%ls", kMainWindowTitle);
    return CreateWindowExW(0, kMainWindowClass, title, WS_OVERLAPPEDWINDOW, (screen_w - 600) / 2,
                           (screen_h - 600) / 2, 600, 600, nullptr, nullptr, instance, nullptr);
}

void SaveOnExit() {
    ExitSaveDesign();
    WritePrinterFile();
}

void RepaintMainWindow() {
    HWND window = Process().main_window;
    if (!window) return;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

int RunProgram(HINSTANCE instance, int show) {
    Process().instance = instance;
    // Every data file of the program lies in the start folder: without it there is no
    // place to read the design from or to save it to.
    if (!RecordStartFolder()) {
        ShowMessage(nullptr, L"起動フォルダが分からないため、ここでは起動できません。",
                    L"GetCurrentDirectory", MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, show);
    UpdateWindow(window);
    const int code = RunMessageLoop();
    SaveOnExit();
    return code;
}
