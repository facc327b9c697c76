#include "hosts/win32/Win32Dpi.h"

#include <windows.h>

namespace zozuz {

namespace {

// The later calls, looked up once: a program that names them directly would not start on the
// versions of Windows that lack them.
struct DpiCalls {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
    BOOL(WINAPI* adjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;

    DpiCalls() {
        if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
            forWindow = reinterpret_cast<decltype(forWindow)>(
                reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
            forSystem = reinterpret_cast<decltype(forSystem)>(
                reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
            adjustForDpi = reinterpret_cast<decltype(adjustForDpi)>(
                reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
        }
    }
};

const DpiCalls& calls() {
    static const DpiCalls found;
    return found;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : PixelScale::kLogicalDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

PixelScale windowScale(HWND window) {
    if (window && calls().forWindow) {
        if (const UINT dpi = calls().forWindow(window)) return PixelScale(static_cast<int>(dpi));
    }
    return systemScale();
}

PixelScale systemScale() {
    if (calls().forSystem) {
        if (const UINT dpi = calls().forSystem()) return PixelScale(static_cast<int>(dpi));
    }
    return PixelScale(screenDpi());
}

FrameSize frameSizeFor(int width, int height, unsigned long style, unsigned long extendedStyle, bool menu,
                       const PixelScale& scale) {
    RECT r{0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    if (!calls().adjustForDpi ||
        !calls().adjustForDpi(&r, style, menu ? TRUE : FALSE, extendedStyle, static_cast<UINT>(scale.dpi())))
        AdjustWindowRectEx(&r, style, menu ? TRUE : FALSE, extendedStyle);
    return FrameSize{static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

}  // namespace zozuz
