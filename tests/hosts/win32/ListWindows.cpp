// A helper for the end-to-end check of zozuz.exe under Wine, where the X tools cannot read Chinese
// captions or the texts inside dialogs: lists the visible top-level windows of the Wine session, one
// a line, as
//   CAPTION<TAB>CLASS<TAB>LEFT,TOP,RIGHT,BOTTOM<TAB>enabled|disabled[<TAB>TEXT OF ITS STATIC CONTROLS]
// in UTF-8. With "close CAPTION" it asks every visible window of that caption to close instead.
// With "controls CAPTION" it reads that window as a screen reader does (MSAA): one line for each
// described control, ROLE<TAB>NAME<TAB>enabled|disabled, then "editor<TAB>VALUE" for the editor
// (its caret's line). With "press CAPTION NAME" it presses the control of that name.
#include <string>

#include <windows.h>
#include <oleacc.h>

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

HWND windowCaptioned(const std::wstring& caption) {
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"zozuzWindow", nullptr); w; w = FindWindowExW(nullptr, w, L"zozuzWindow", nullptr))
        if (IsWindowVisible(w) && textOf(w) == caption) found = w;
    return found;
}

IAccessible* clientObject(HWND window) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    return object;
}

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring take(BSTR text) {
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

const wchar_t* roleName(long role) {
    switch (role) {
        case ROLE_SYSTEM_TOOLBAR: return L"toolbar";
        case ROLE_SYSTEM_PUSHBUTTON: return L"button";
        case ROLE_SYSTEM_STATUSBAR: return L"statusbar";
        case ROLE_SYSTEM_PROGRESSBAR: return L"progressbar";
        case ROLE_SYSTEM_STATICTEXT: return L"label";
        case ROLE_SYSTEM_GRAPHIC: return L"image";
        default: return L"other";
    }
}

// Lists the controls, or presses the one named `press`; returns the exit code.
int readControls(const std::wstring& caption, const std::wstring* press) {
    const HWND window = windowCaptioned(caption);
    IAccessible* object = window ? clientObject(window) : nullptr;
    if (!object) return 2;
    long count = 0;
    object->get_accChildCount(&count);
    int status = press ? 3 : 0;
    for (long i = 1; i <= count; ++i) {
        BSTR name = nullptr;
        VARIANT role, state;
        object->get_accName(child(i), &name);
        object->get_accRole(child(i), &role);
        object->get_accState(child(i), &state);
        const std::wstring text = take(name);
        if (press) {
            if (text == *press) status = SUCCEEDED(object->accDoDefaultAction(child(i))) ? 0 : 4;
            continue;
        }
        write(utf8(roleName(role.lVal)) + "\t" + utf8(text) + "\t" +
              ((state.lVal & STATE_SYSTEM_UNAVAILABLE) ? "disabled" : "enabled") + "\n");
    }
    object->Release();
    if (press) return status;
    if (const HWND editor = FindWindowExW(window, nullptr, L"zozuzEditor", nullptr)) {
        if (IAccessible* text = clientObject(editor)) {
            BSTR value = nullptr;
            text->get_accValue(child(CHILDID_SELF), &value);
            write("editor\t" + utf8(take(value)) + "\n");
            text->Release();
        }
    }
    return 0;
}

}  // namespace

int main() {
    // The bounds in the display's own pixels, whatever its density.
    SetProcessDPIAware();
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count >= 3 && (lstrcmpW(arguments[1], L"controls") == 0 || lstrcmpW(arguments[1], L"press") == 0)) {
        CoInitialize(nullptr);
        const std::wstring caption = arguments[2];
        const std::wstring press = count >= 4 ? arguments[3] : L"";
        const int status = readControls(caption, lstrcmpW(arguments[1], L"press") == 0 ? &press : nullptr);
        LocalFree(arguments);
        CoUninitialize();
        return status;
    }
    if (count == 3 && lstrcmpW(arguments[1], L"close") == 0) {
        const std::wstring caption = arguments[2];
        EnumWindows(listWindow, reinterpret_cast<LPARAM>(&caption));
    } else {
        EnumWindows(listWindow, 0);
    }
    LocalFree(arguments);
    return 0;
}
