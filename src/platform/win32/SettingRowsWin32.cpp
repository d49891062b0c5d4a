#include "platform/win32/SettingRowsWin32.h"

#include <commctrl.h>

#include "platform/win32/SystemDll.h"
#include "resource.h"

namespace {

// Dialog units, on the template's grid: the rows take the place of the model list's
// row, which moves down with the buttons. Values and notes reach the right margin, as
// the texts above do.
constexpr int kRowsTop = 82;
constexpr int kRowHeight = 14;
constexpr int kRowsGap = 2;

struct Layout {
    int id;
    const char* className;
    DWORD style;
    int x, dy, width, height;
};
constexpr Layout kRowControls[] = {
    {IDC_SETTING_LABEL, "Static", SS_RIGHT, 0, 3, 59, 9},
    {IDC_SETTING_SLIDER, TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 62, 0, 120, 14},
    {IDC_SETTING_VALUE, "Static", SS_LEFT, 186, 3, 152, 9},
    {IDC_SETTING_NOTE, "Static", SS_LEFT, 62, 3, 276, 9},
};
// Right of the model list, which is free on every step that has settings.
constexpr Layout kRestore = {IDC_RESTORE, "Button", BS_PUSHBUTTON | WS_TABSTOP, 293, -1, 45, 14};
// What lies below the rows in the template.
constexpr int kBelowRows[] = {IDC_PATTERN_LABEL, IDC_MODEL_COMBO, IDC_NEXT, IDC_QUIT, IDC_PREVIOUS, IDC_HIDE};

int g_rows = 0;

// The trackbar class is registered by comctl32, loaded from the system directory for
// the same reason as dxva2, and only when a step first shows settings.
void RegisterTrackbarClass()
{
    static bool registered = false;
    if (registered) return;
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = LookUp<InitFn>(LoadSystemDll(L"comctl32.dll"), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    registered = init != nullptr && init(&classes);
}

RECT ToPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

// Placed in the tab order after `after`; returns the new control.
HWND Make(HWND dialog, const Layout& layout, int row, int y, HWND after)
{
    const RECT at = ToPixels(dialog, layout.x, y + layout.dy, layout.width, layout.height);
    HWND control = CreateWindowExA(0, layout.className, "", WS_CHILD | WS_VISIBLE | layout.style, at.left, at.top,
                                   at.right - at.left, at.bottom - at.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id + row)), nullptr, nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

// Moves the controls below the rows and the dialog's bottom edge by dy dialog units.
void Shift(HWND dialog, int dy)
{
    const int pixels = ToPixels(dialog, 0, 0, 0, dy).bottom;
    for (int id : kBelowRows) {
        HWND control = GetDlgItem(dialog, id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(control, nullptr, rect.left, rect.top + pixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + pixels,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int RowsHeight(int count) { return count == 0 ? 0 : count * kRowHeight + kRowsGap; }

}  // namespace

void MakeSettingRows(HWND dialog, int count)
{
    if (count == g_rows) return;
    for (int row = 0; row < g_rows; ++row)
        for (const Layout& layout : kRowControls) DestroyWindow(GetDlgItem(dialog, layout.id + row));
    if (g_rows > 0) DestroyWindow(GetDlgItem(dialog, IDC_RESTORE));
    Shift(dialog, RowsHeight(count) - RowsHeight(g_rows));
    g_rows = count;
    if (count == 0) return;

    RegisterTrackbarClass();
    // Tab order: the model list, the trackbars, Restore, then the buttons.
    HWND after = GetDlgItem(dialog, IDC_MODEL_COMBO);
    for (int row = 0; row < count; ++row)
        for (const Layout& layout : kRowControls) after = Make(dialog, layout, row, kRowsTop + row * kRowHeight, after);
    Make(dialog, kRestore, 0, kRowsTop + RowsHeight(count), after);
}

void SetTrackbar(HWND trackbar, int maximum, int position)
{
    SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, maximum);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}
