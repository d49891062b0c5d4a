#include "win32/RuntimeControls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <span>

#include "resource.h"
#include "win32/SystemDll.h"
#include "win32/WideText.h"

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

// Moves the controls and the dialog's bottom edge by that many pixels.
void ShiftPixels(HWND dialog, std::span<const int> below, int pixels)
{
    for (int id : below) {
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

// Below the model list, as wide as the texts above.
constexpr int kLinesLeft = 62;
constexpr int kLinesWidth = 276;
constexpr int kLinesGap = 2;
constexpr int kBelowLines[] = {IDC_NEXT, IDC_QUIT, IDC_PREVIOUS, IDC_HIDE};

MonitorLines g_lines = {};
int g_linesPixels = 0;  // how far the buttons were moved down for them

// Moves the controls below the rows, the step's lines, which follow the model
// list while the wizard changes from step to step, and the dialog's bottom edge by dy
// dialog units.
void Shift(HWND dialog, int dy)
{
    int below[std::size(kBelowRows) + kMaxMonitorLines];
    std::copy(std::begin(kBelowRows), std::end(kBelowRows), below);
    for (int i = 0; i < g_lines.count; ++i) below[std::size(kBelowRows) + i] = IDC_STEP_LINE + i;
    ShiftPixels(dialog, std::span(below, std::size(kBelowRows) + g_lines.count), ToPixels(dialog, 0, 0, 0, dy).bottom);
}

int RowsHeight(int count) { return count == 0 ? 0 : count * kRowHeight + kRowsGap; }

bool SameLines(const MonitorLines& a, const MonitorLines& b)
{
    if (a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i)
        if (a.encoding[i] != b.encoding[i] || std::strcmp(a.text[i], b.text[i]) != 0) return false;
    return true;
}

// How tall the text stands, wrapped at the width, in the dialog's font.
int TextHeight(HWND dialog, const wchar_t* text, int width)
{
    HDC dc = GetDC(dialog);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, font);
    ReleaseDC(dialog, dc);
    return rect.bottom;
}

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

void MakeReportButton(HWND dialog, bool shown)
{
    constexpr Layout kOpenReport = {IDC_OPEN_REPORT, "Button", BS_PUSHBUTTON | WS_TABSTOP, 266, -1, 72, 14};
    constexpr char kOpenReportCaption[] = "Open &report";
    HWND button = GetDlgItem(dialog, IDC_OPEN_REPORT);
    if (shown == (button != nullptr)) return;
    if (!shown) {
        DestroyWindow(button);
        return;
    }
    // In the tab order before Finish, which keeps the focus.
    button = Make(dialog, kOpenReport, 0, kRowsTop, GetDlgItem(dialog, IDC_MODEL_COMBO));
    SetWindowTextA(button, kOpenReportCaption);
}

void MakeStepLines(HWND dialog, const MonitorLines& lines)
{
    if (SameLines(lines, g_lines)) return;
    for (int i = 0; i < g_lines.count; ++i) DestroyWindow(GetDlgItem(dialog, IDC_STEP_LINE + i));
    ShiftPixels(dialog, kBelowLines, -g_linesPixels);
    g_lines = lines;
    g_lines.count = std::clamp(g_lines.count, 0, kMaxMonitorLines);
    g_linesPixels = 0;
    if (g_lines.count == 0) return;

    const RECT area = ToPixels(dialog, kLinesLeft, 0, kLinesWidth, 0);
    const int gap = ToPixels(dialog, 0, 0, 0, kLinesGap).bottom;
    const HWND model = GetDlgItem(dialog, IDC_MODEL_COMBO);
    RECT below = {};
    GetWindowRect(model, &below);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&below), 2);
    const int first = below.bottom + gap;
    HWND after = model;
    int top = first;
    for (int i = 0; i < g_lines.count; ++i) {
        const WideText text(g_lines.text[i], g_lines.encoding[i]);
        const int height = TextHeight(dialog, text.Get(), area.right - area.left);
        HWND line = CreateWindowExW(0, L"Static", text.Get(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, area.left,
                                    top, area.right - area.left, height, dialog,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STEP_LINE + i)), nullptr,
                                    nullptr);
        SendMessageW(line, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
        SetWindowPos(line, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = line;
        top += height + gap;
    }
    g_linesPixels = top - first + gap;  // and as much again above the buttons
    ShiftPixels(dialog, kBelowLines, g_linesPixels);
}
