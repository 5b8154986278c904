#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/design_edits.h"
#include "app/status_line.h"
#include "design/fixed_text.h"
#include "editors/new_item_dialog.h"
#include "print/printer.h"
#include "render/canvas.h"
#include "render/canvas_math.h"
#include "render/card_mapping.h"
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

// The main window's size at 96 dpi; it scales with the DPI.
constexpr int kWindowSide = 600;

// A run of arrow presses on one item is one undo step: its run key.
constexpr unsigned kArrowRun = 0x10000;

struct MainWindow {
    HACCEL accelerators = nullptr;
    int dpi = 96;  // of the monitor the window is on
};
MainWindow g_main;

// The DPI of the window's monitor where the system tells it, else the screen's.
int WindowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpi_for_window = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && dpi_for_window) {
        if (const UINT dpi = dpi_for_window(window)) return static_cast<int>(dpi);
    }
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

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

// The parts' right edges, laid out for 96 DPI and widened with the screen's scale, so that
// their texts, drawn in the system's font at that scale, keep their room.
void LayOutStatusParts(HWND status, int dpi) {
    int edges[4] = {MulDiv(200, dpi, 96), MulDiv(320, dpi, 96), MulDiv(480, dpi, 96), -1};
    SendMessageW(status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

void CreateStatusBar(HWND window) {
    HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                  WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0, 0, 0,
                                  window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), Process().instance,
                                  nullptr);
    App().status_bar = status;
    LayOutStatusParts(status, g_main.dpi);
}

LRESULT OnCreate(HWND window) {
    Process().main_window = window;
    g_main.dpi = WindowDpi(window);
    g_main.accelerators = LoadAcceleratorsW(Process().instance, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    StartupReadDesign(window);
    Design().zoom = KnownZoom(Design().zoom, g_main.dpi);
    StartDesignHistory();
    CreateToolbar(window);
    GreyCommandsNotBuilt(window, App().toolbar);
    std::memset(CurrentPrinterName(), 0, 256 * sizeof(wchar_t));
    FetchDefaultPrinter(window);
    CreateStatusBar(window);
    UpdateCardView(window);
    RefreshEditCommands(window);
    StartupLoadPictures();
    ReadPrinterFile();
    return 0;
}

// The toolbar and status bar follow the window's width; the card keeps its place unless
// it is fitted to the window.
void OnSize(HWND window) {
    if (App().toolbar) SendMessageW(App().toolbar, TB_AUTOSIZE, 0, 0);
    if (App().status_bar) SendMessageW(App().status_bar, WM_SIZE, 0, 0);
    UpdateCardView(window);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// The window moved to a monitor of another DPI: it takes the size the system proposes and
// the zoom follows the change of scale, to the nearest step.
void OnDpiChanged(HWND window, WPARAM wparam, LPARAM lparam) {
    const int dpi = LOWORD(wparam) ? LOWORD(wparam) : 96;
    CardDesign& d = Design();
    if (d.zoom != kZoomFit)
        d.zoom = DefaultZoom(static_cast<int>(static_cast<long long>(d.zoom) * 96 * dpi / (100LL * g_main.dpi)));
    g_main.dpi = dpi;
    if (App().status_bar) LayOutStatusParts(App().status_bar, dpi);
    const RECT* proposed = reinterpret_cast<const RECT*>(lparam);
    SetWindowPos(window, nullptr, proposed->left, proposed->top, proposed->right - proposed->left,
                 proposed->bottom - proposed->top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateCardView(window);
    RefreshEditCommands(window);
    RepaintMainWindow();
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

// The keys go to the window again after a dialog, unless the edit box has them.
void TakeFocusBack(HWND window) {
    if (IsWindow(window) && !CanvasEditBox()) SetFocus(window);
}

void OnLeftButtonDown(HWND window, LPARAM point) {
    CanvasPick(window, point);
    CommitDesignChange();  // the edit box a press closes
    TakeFocusBack(window);
    RefreshStatusLine();
}

void OnLeftButtonUp(HWND window, LPARAM point) {
    CanvasDrop(window, point);
    CommitDesignChange();
    RefreshStatusLine();
}

// A right click on an empty spot adds a mark or a text item there.
void OnRightButtonDown(HWND window, LPARAM point) {
    if (CanvasRightButton(window, point) == RightAction::kOpenNewItem) {
        ShowNewItemDialog(window, CanvasCardPoint(point));
        ReloadPictures();
    }
    CommitDesignChange();
    TakeFocusBack(window);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// Ctrl+wheel steps through the zooms.
void OnMouseWheel(HWND window, WPARAM wparam, LPARAM lparam) {
    if (!(GET_KEYSTATE_WPARAM(wparam) & MK_CONTROL)) {
        DefWindowProcW(window, WM_MOUSEWHEEL, wparam, lparam);
        return;
    }
    const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
    if (delta != 0) SetCardZoom(window, NextZoom(ScreenCardView().scale, delta));
}

// The command an item's own dialog has.
int ItemDialogCommand(int pick) {
    if (pick >= kPickMark && pick < kPickMark + kMarkCount) return IDM_MARK;
    if (pick >= kPickText && pick < kPickText + kTextCount) return IDM_TEXT;
    if (pick >= kPickQr && pick < kPickQr + kQrCount) return IDM_QRCODE;
    return pick == kPickFace ? IDM_FACE : 0;
}

// Moves the selection by (dx, dy) card pixels; presses on one item without a pause are
// one step.
void MoveSelection(HWND window, int dx, int dy) {
    if (CanvasMoveSelection(window, dx, dy)) CommitDesignChange(kArrowRun + static_cast<unsigned>(SelectedItem()));
}

void OnKeyDown(HWND window, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
    const int step = shift ? 10 : 1;
    switch (key) {
        case VK_ESCAPE: CanvasSelect(window, kPickNone); break;
        case VK_TAB: CanvasSelectNext(window, shift ? -1 : 1); break;
        case VK_LEFT: MoveSelection(window, -step, 0); break;
        case VK_RIGHT: MoveSelection(window, step, 0); break;
        case VK_UP: MoveSelection(window, 0, -step); break;
        case VK_DOWN: MoveSelection(window, 0, step); break;
        case VK_DELETE: if (CanvasSwitchOffSelection(window)) CommitDesignChange(); break;
        case VK_RETURN: if (CanvasHasSelection()) PostMessageW(window, WM_COMMAND, ItemDialogCommand(SelectedItem()), 0); break;
        case VK_ADD:
        case VK_OEM_PLUS: if (control) SetCardZoom(window, NextZoom(ScreenCardView().scale, 1)); break;
        case VK_SUBTRACT:
        case VK_OEM_MINUS: if (control) SetCardZoom(window, NextZoom(ScreenCardView().scale, -1)); break;
        default: return;
    }
    RefreshEditCommands(window);
    RefreshStatusLine();
}

// Whatever a command does next, the text typed into an open edit box is stored first.
void OnCommand(HWND window, WPARAM wparam) {
    const int id = LOWORD(wparam);
    if (id == kTextEditId) return;
    CanvasCommitEdit(window);
    CommitDesignChange();
    RunCommand(window, id);
    // The About box is modeless and keeps the keys while it is open.
    if (id != IDM_ABOUT) TakeFocusBack(window);
    RefreshStatusLine();
}

// The design is saved after the window is gone: an open edit box is stored before it goes.
void OnDestroy(HWND window) {
    CanvasCommitEdit(window);
    CommitDesignChange();
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
            case WM_MOUSEWHEEL: OnMouseWheel(window, wparam, lparam); return 0;
            case WM_KEYDOWN: OnKeyDown(window, wparam); return 0;
            case WM_INITMENUPOPUP: RefreshEditCommands(window); return 0;
            case WM_DPICHANGED: OnDpiChanged(window, wparam, lparam); return 0;
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
            if (TranslateMainWindowKeys(msg)) continue;
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

bool TranslateMainWindowKeys(MSG& msg) {
    HWND main = Process().main_window;
    if (!main || !g_main.accelerators || !msg.hwnd || msg.hwnd == CanvasEditBox()) return false;
    if (GetAncestor(msg.hwnd, GA_ROOT) != main) return false;
    return TranslateAcceleratorW(main, g_main.accelerators, &msg) != 0;
}

void UpdateCardView(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    int toolbar_bottom = 0, status_top = client.bottom;
    RECT bar{};
    if (App().toolbar && IsWindowVisible(App().toolbar) && GetWindowRect(App().toolbar, &bar)) {
        POINT bottom{0, bar.bottom};
        ScreenToClient(window, &bottom);
        toolbar_bottom = bottom.y;
    }
    if (App().status_bar && IsWindowVisible(App().status_bar) && GetWindowRect(App().status_bar, &bar)) {
        POINT top{0, bar.top};
        ScreenToClient(window, &top);
        status_top = top.y;
    }
    const CardDesign& d = Design();
    SetScreenCardView(MainCardView(d.base_w, d.base_h, d.zoom, g_main.dpi, client.right, toolbar_bottom, status_top));
}

void SetCardZoom(HWND window, int zoom) {
    Design().zoom = KnownZoom(zoom, g_main.dpi);
    UpdateCardView(window);
    // The edit box lies over the text at the old zoom: it is stored first.
    CanvasCommitEdit(window);
    CommitDesignChange();
    RefreshEditCommands(window);
    RepaintMainWindow();
}

std::wstring MainWindowTitle(bool back_shown) {
    std::wstring title = kMainWindowTitle;
    if (back_shown) title += L"（裏）";
    return title;
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
    // 600 x 600 at 96 dpi, scaled with the screen's DPI, never larger than the screen.
    const int dpi = WindowDpi(nullptr);
    const int width = std::min(MulDiv(kWindowSide, dpi, 96), std::max(screen_w, kWindowSide));
    const int height = std::min(MulDiv(kWindowSide, dpi, 96), std::max(screen_h, kWindowSide));
    return CreateWindowExW(0, kMainWindowClass, MainWindowTitle(false).c_str(), WS_OVERLAPPEDWINDOW, (screen_w - width) / 2,
                           (screen_h - height) / 2, width, height, nullptr, nullptr, instance, nullptr);
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
