#include "hosts/win32/Win32TooltipWindow.h"

#include <algorithm>

#include <windows.h>
#include <commctrl.h>

#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

TTTOOLINFOW toolInfo(HWND window, std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = window;
    info.uId = 1;
    info.lpszText = text.data();
    return info;
}

}  // namespace

Win32TooltipWindow::~Win32TooltipWindow() {
    if (window_) DestroyWindow(window_);
}

bool Win32TooltipWindow::created() {
    if (window_) return true;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    text_ = L" ";
    TTTOOLINFOW info = toolInfo(window_, text_);
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void Win32TooltipWindow::show(const std::string& text, Point logicalPointer) {
    if (!created()) return;
    const Point pointer = screen_.toDevice(logicalPointer);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // A longer text wraps rather than leaving the screen.
    SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, screenWidth);
    text_ = toWide(text);
    TTTOOLINFOW info = toolInfo(window_, text_);
    SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    const LRESULT size = SendMessageW(window_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&info));
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    // Just below the pointer's shape; above it where there is no room below, and moved back onto
    // the screen sideways.
    int x = std::clamp(static_cast<int>(pointer.x), 0, std::max(0, screenWidth - width));
    int y = pointer.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    if (y + height > screenHeight) y = std::max(0, static_cast<int>(pointer.y) - height);
    SendMessageW(window_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    SendMessageW(window_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    // The window may come out a little larger than the bubble it reported (its border): what
    // still leaves the screen is taken back once it shows.
    RECT shown{};
    if (!GetWindowRect(window_, &shown)) return;
    const int dx = std::min(0, static_cast<int>(screenWidth - shown.right));
    const int dy = std::min(0, static_cast<int>(screenHeight - shown.bottom));
    if (dx != 0 || dy != 0) SendMessageW(window_, TTM_TRACKPOSITION, 0, MAKELPARAM(std::max(0, x + dx), std::max(0, y + dy)));
}

void Win32TooltipWindow::hide() {
    if (!window_) return;
    TTTOOLINFOW info = toolInfo(window_, text_);
    SendMessageW(window_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

}  // namespace zozuz
