// A helper for the end-to-end check of zozuz.exe under Wine, where the X tools cannot read Chinese
// captions or the texts inside dialogs: lists the visible top-level windows of the Wine session, one
// a line, as
//   CAPTION<TAB>CLASS<TAB>LEFT,TOP,RIGHT,BOTTOM<TAB>enabled|disabled[<TAB>TEXT OF ITS STATIC CONTROLS]
// in UTF-8. With "close CAPTION" it asks every visible window of that caption to close instead.
#include <string>

#include <windows.h>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}

std::wstring textOf(HWND window) {
    wchar_t buffer[1024] = {};
    // WM_GETTEXT reaches windows of other processes, as GetWindowText does not for their controls.
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buffer;
}

void write(const std::string& line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

BOOL CALLBACK listStatic(HWND child, LPARAM data) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, L"Static") == 0) {
        const std::wstring text = textOf(child);
        if (!text.empty()) *reinterpret_cast<std::wstring*>(data) += L"\t" + text;
    }
    return TRUE;
}

BOOL CALLBACK listWindow(HWND window, LPARAM data) {
    if (!IsWindowVisible(window)) return TRUE;
    const std::wstring caption = textOf(window);
    const auto* closing = reinterpret_cast<const std::wstring*>(data);
    if (closing) {
        if (caption == *closing) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    }
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    RECT r{};
    GetWindowRect(window, &r);
    std::wstring statics;
    EnumChildWindows(window, listStatic, reinterpret_cast<LPARAM>(&statics));
    write(utf8(caption) + "\t" + utf8(className) + "\t" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
          std::to_string(r.right) + "," + std::to_string(r.bottom) + "\t" +
          (IsWindowEnabled(window) ? "enabled" : "disabled") + utf8(statics) + "\n");
    return TRUE;
}

}  // namespace

int main() {
    // The bounds in the display's own pixels, whatever its density.
    SetProcessDPIAware();
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count == 3 && lstrcmpW(arguments[1], L"close") == 0) {
        const std::wstring caption = arguments[2];
        EnumWindows(listWindow, reinterpret_cast<LPARAM>(&caption));
    } else {
        EnumWindows(listWindow, 0);
    }
    LocalFree(arguments);
    return 0;
}
