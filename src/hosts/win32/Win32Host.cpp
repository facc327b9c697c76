#include "hosts/win32/Win32Host.h"

#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "base/Exception.h"
#include "platform/host/ShowCommand.h"
#include "hosts/win32/GdiCodePageText.h"
#include "hosts/win32/GdiTextRenderer.h"
#include "hosts/win32/IconHandle.h"
#include "hosts/win32/Win32Clipboard.h"
#include "hosts/win32/Win32Dpi.h"
#include "hosts/win32/Win32EditorWindow.h"
#include "hosts/win32/Win32FileDialogs.h"
#include "hosts/win32/Win32Input.h"
#include "hosts/win32/Win32MenuBar.h"
#include "hosts/win32/Win32Printer.h"
#include "hosts/win32/Win32Window.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/WindowProcedure.h"

namespace zozuz {

namespace {

constexpr wchar_t kWindowClass[] = L"zozuzWindow";
constexpr wchar_t kMessageClass[] = L"zozuzMessages";

// The host's own hidden window, which only receives the timers' messages.
LRESULT CALLBACK messageProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == WM_TIMER) {
        if (auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(handle, GWLP_USERDATA))) {
            host->timerMessage(wParam);
            return 0;
        }
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance) {
    WNDCLASSEXW windows{};
    windows.cbSize = sizeof windows;
    windows.style = CS_DBLCLKS;
    windows.lpfnWndProc = objectWindowProcedure<Win32Window>;
    windows.hInstance = instance;
    // The executable's own icon, where it has one; the system's application icon otherwise.
    windows.hIcon = LoadIconW(instance, L"MAINICON");
    if (!windows.hIcon) windows.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windows.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windows.lpszClassName = kWindowClass;
    // A second host in the same process (tests make one after another) finds the classes there.
    RegisterClassExW(&windows);

    WNDCLASSEXW messages{};
    messages.cbSize = sizeof messages;
    messages.lpfnWndProc = messageProcedure;
    messages.hInstance = instance;
    messages.lpszClassName = kMessageClass;
    RegisterClassExW(&messages);
}

// Takes the characters TranslateMessage made of a key press for `window`, as the text the key types.
std::wstring takeCharacters(HWND window, std::vector<MSG>& taken) {
    std::wstring text;
    MSG character;
    while (PeekMessageW(&character, window, WM_CHAR, WM_CHAR, PM_REMOVE)) {
        taken.push_back(character);
        const auto unit = static_cast<wchar_t>(character.wParam);
        // Control characters (Ctrl+letter, Backspace, Enter, Escape) type no text.
        if (unit >= 0x20 && unit != 0x7F) text.push_back(unit);
        // A character outside the basic plane comes as two messages; anything else as one.
        if (unit < 0xD800 || unit > 0xDBFF) break;
    }
    return text;
}

// The message box about to show on this thread, while it waits for its first activation: the hook
// that waits, the screen it is centred on and whether it asks a question.
struct PendingBox {
    HHOOK hook = nullptr;
    HMONITOR monitor = nullptr;
    bool question = false;
};
thread_local PendingBox pendingBox;

// Moves the box from over its owner to the centre of the screen the user works on, and gives a
// question the program's own English answers, which the system would label in the user's language.
LRESULT CALLBACK arrangeBox(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT next = CallNextHookEx(pendingBox.hook, code, wParam, lParam);
    if (code != HCBT_ACTIVATE) return next;
    const auto box = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    GetClassNameW(box, className, 16);
    // Nothing but the box is activated on this thread while it is being made; a window of
    // another class is let by.
    if (std::wcscmp(className, L"#32770") != 0) return next;
    const PendingBox arranging = std::exchange(pendingBox, PendingBox{});
    UnhookWindowsHookEx(arranging.hook);
    if (arranging.question) {
        // A box without one of these buttons leaves that call without effect.
        SetDlgItemTextW(box, IDYES, L"&Yes");
        SetDlgItemTextW(box, IDNO, L"&No");
        SetDlgItemTextW(box, IDCANCEL, L"Cancel");
    }
    RECT bounds{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR screen = arranging.monitor ? arranging.monitor : MonitorFromWindow(box, MONITOR_DEFAULTTOPRIMARY);
    if (GetWindowRect(box, &bounds) && GetMonitorInfoW(screen, &monitor)) {
        const RECT& work = monitor.rcWork;
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        SetWindowPos(box, nullptr, work.left + (work.right - work.left - width) / 2,
                     work.top + (work.bottom - work.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return next;
}

// The screen the user works on: that of the box's owner, else of the active window, else the one
// under the pointer.
HMONITOR workingMonitor(HWND owner) {
    if (!owner) owner = GetActiveWindow();
    if (owner) return MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    POINT pointer{};
    GetCursorPos(&pointer);
    return MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
}

}  // namespace

const wchar_t* Win32Host::windowClassName() { return kWindowClass; }

Win32Host::Win32Host()
    : renderer_(std::make_unique<GdiTextRenderer>()),
      codePageText_(std::make_unique<GdiCodePageTextMeasure>(*renderer_)),
      clipboard_(std::make_unique<Win32Clipboard>()),
      fileDialogs_(std::make_unique<Win32FileDialogs>()),
      printer_(std::make_unique<Win32Printer>(codec_)) {
    // COM for the user-interface thread, as a single-threaded apartment. A failure is not reported:
    // only what needs COM would notice, and it is then not uninitialised either.
    comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    screenScale_ = systemScale();
    tooltip_.setScreenScale(screenScale_);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClasses(instance);
    messageWindow_ = CreateWindowExW(0, kMessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

Win32Host::~Win32Host() {
    for (const auto& [id, callback] : timers_) KillTimer(messageWindow_, static_cast<UINT_PTR>(id));
    if (messageWindow_) DestroyWindow(messageWindow_);
    destroyIcon(applicationIcon_);
    codePageText_.reset();
    renderer_.reset();
    if (comInitialised_) CoUninitialize();
}

void Win32Host::rethrowPending() {
    if (!pending_) return;
    std::exception_ptr error = std::exchange(pending_, nullptr);
    std::rethrow_exception(error);
}

void Win32Host::announce(HostListener::InputKind kind) {
    if (listener_) guard([&] { listener_->inputArriving(kind); });
}

// --- Windows ---

std::unique_ptr<NativeWindow> Win32Host::createWindow(WindowClient& client, const WindowOptions& options) {
    return std::make_unique<Win32Window>(*this, client, options);
}

std::unique_ptr<EditorWindow> Win32Host::createEditorWindow(NativeWindow& parent, EditorWindowClient& client) {
    return std::make_unique<Win32EditorWindow>(*this, static_cast<Win32Window&>(parent), client);
}

std::unique_ptr<NativeMenuBar> Win32Host::createMenuBar(NativeWindow& window, MenuListener& listener) {
    return std::make_unique<Win32MenuBar>(*this, static_cast<Win32Window&>(window), listener);
}

FileDialogs& Win32Host::fileDialogs() { return *fileDialogs_; }

Printer& Win32Host::printer() { return *printer_; }

CodePageTextMeasure& Win32Host::codePageTextMeasure() { return *codePageText_; }

Clipboard& Win32Host::clipboard() { return *clipboard_; }

void Win32Host::windowDestroyed(Win32Window* window) { std::erase(windows_, window); }

Win32Window* Win32Host::windowOf(HWND handle) const {
    if (!handle) return nullptr;
    const HWND root = GetAncestor(handle, GA_ROOT);
    for (Win32Window* window : windows_)
        if (window->handle() && (window->handle() == handle || window->handle() == root)) return window;
    return nullptr;
}

NativeWindow* Win32Host::activeWindow() const { return windowOf(GetActiveWindow()); }

// --- The event queue ---

Host::PumpResult Win32Host::pumpOne() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // Messages sent from elsewhere are handled inside PeekMessage; their errors come out here.
        rethrowPending();
        return PumpResult::Empty;
    }
    if (msg.message == WM_QUIT) return PumpResult::Quit;
    if (const auto kind = hintEndingInput(msg.message)) announce(*kind);

    std::optional<KeyEvent> key =
        keyEventFromMessage(msg.message, msg.wParam, msg.lParam, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
    if (!key) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        rethrowPending();
        return PumpResult::Handled;
    }

    // A key goes first to the window that has the mouse captured, if it is the program's, and
    // otherwise to the program's window it is addressed to, which may consume it.
    std::vector<MSG> characters;
    if (key->kind == KeyEvent::Kind::Down) {
        TranslateMessage(&msg);
        key->text = fromWide(takeCharacters(msg.hwnd, characters));
    }
    Win32Window* target = windowOf(GetCapture());
    if (!target) target = windowOf(msg.hwnd);
    bool consumed = false;
    if (target) guard([&] { consumed = target->client().keyPreview(*key); });
    if (consumed || pending_) {
        // A consumed key types nothing.
        rethrowPending();
        return PumpResult::Handled;
    }
    // The characters go with the key to the program's windows, which type them from the key;
    // another window (a system dialog's field on the thread) still gets its characters.
    for (const MSG& character : characters) {
        if (!windowOf(character.hwnd))
            PostMessageW(character.hwnd, character.message, character.wParam, character.lParam);
    }
    dispatchingKey_ = key;
    DispatchMessageW(&msg);
    dispatchingKey_.reset();
    rethrowPending();
    return PumpResult::Handled;
}

bool Win32Host::deliverKeyMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                  const std::function<void(const KeyEvent&)>& deliver) {
    std::optional<KeyEvent> key = dispatchingKey_;
    if (!key) key = keyEventFromMessage(message, wParam, lParam, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
    if (key) guard([&] { deliver(*key); });
    return message == WM_KEYDOWN || message == WM_KEYUP;
}

void Win32Host::waitForEvent() {
    // Something already waiting (a message, a paint, a timer due) ends the wait at once; otherwise
    // the thread sleeps in the system until a new message arrives.
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) return;
    WaitMessage();
}

void Win32Host::postQuit() { PostQuitMessage(0); }

// --- Timers ---

Host::TimerId Win32Host::startTimer(int milliseconds, std::function<void()> callback) {
    const TimerId id = ++nextTimer_;
    const UINT delay = milliseconds > 0 ? static_cast<UINT>(milliseconds) : 0u;
    if (!SetTimer(messageWindow_, static_cast<UINT_PTR>(id), delay, nullptr)) return 0;
    timers_[id] = std::move(callback);
    return id;
}

void Win32Host::stopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    KillTimer(messageWindow_, static_cast<UINT_PTR>(id));
    timers_.erase(it);
}

void Win32Host::timerMessage(std::uintptr_t systemId) {
    const TimerId id = systemId;
    // The system's timers repeat: a one-shot timer stops at its first expiry.
    KillTimer(messageWindow_, static_cast<UINT_PTR>(systemId));
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    std::function<void()> callback = std::move(it->second);
    timers_.erase(it);
    guard(callback);
}

// --- Pointer and screen ---

Point Win32Host::pointerPosition() const {
    POINT p{0, 0};
    GetCursorPos(&p);
    return screenScale_.toLogical(Point{p.x, p.y});
}

NativeWindow* Win32Host::windowAt(Point screen) const {
    // The topmost visible top-level window there, enabled or not; the program's only if it is one.
    struct Search {
        POINT point;
        HWND found = nullptr;
    } search{POINT{screenScale_.toDevice(screen.x), screenScale_.toDevice(screen.y)}};
    EnumWindows(
        [](HWND handle, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            RECT r{};
            if (!IsWindowVisible(handle) || IsIconic(handle) || !GetWindowRect(handle, &r)) return TRUE;
            if (!PtInRect(&r, s->point)) return TRUE;
            s->found = handle;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return windowOf(search.found);
}

Size Win32Host::screenSize() const {
    return screenScale_.toLogical(Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

Rect Win32Host::workArea(const Rect& window) const {
    const Rect device = screenScale_.toDevice(window);
    const RECT wanted{device.left, device.top, device.right, device.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const Size screen = screenSize();
        return Rect{0, 0, screen.width, screen.height};
    }
    const RECT& work = monitor.rcWork;
    return screenScale_.toLogical(Rect{work.left, work.top, work.right, work.bottom});
}

// --- Message boxes ---

MessageBoxResult Win32Host::messageBox(const MessageBoxRequest& request) {
    UINT flags = 0;
    switch (request.icon) {
        case MessageBoxIcon::None: break;
        case MessageBoxIcon::Stop: flags |= MB_ICONHAND; break;
        case MessageBoxIcon::Question: flags |= MB_ICONQUESTION; break;
        case MessageBoxIcon::Warning: flags |= MB_ICONEXCLAMATION; break;
        case MessageBoxIcon::Information: flags |= MB_ICONASTERISK; break;
    }
    switch (request.buttons) {
        case MessageBoxButtons::Ok: flags |= MB_OK; break;
        case MessageBoxButtons::OkCancel: flags |= MB_OKCANCEL; break;
        case MessageBoxButtons::YesNo: flags |= MB_YESNO; break;
        case MessageBoxButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    if (request.taskModal) flags |= MB_TASKMODAL;
    // Every box stands in the middle of the screen the user works on, not over its owner. A box that
    // asks Yes or No is the program's question: its answers are English and fixed; the other boxes
    // keep the system's labels.
    auto* owner = dynamic_cast<Win32Window*>(request.owner);
    const HWND ownerHandle = owner ? owner->handle() : nullptr;
    if (!pendingBox.hook) {
        pendingBox.monitor = workingMonitor(ownerHandle);
        pendingBox.question =
            request.buttons == MessageBoxButtons::YesNo || request.buttons == MessageBoxButtons::YesNoCancel;
        pendingBox.hook = SetWindowsHookExW(WH_CBT, arrangeBox, nullptr, GetCurrentThreadId());
    }
    const int answer = MessageBoxW(ownerHandle, toWide(request.text).c_str(), toWide(request.caption).c_str(), flags);
    // A box that never showed leaves the hook behind.
    if (pendingBox.hook) UnhookWindowsHookEx(std::exchange(pendingBox, PendingBox{}).hook);
    rethrowPending();
    switch (answer) {
        case IDCANCEL: return MessageBoxResult::Cancel;
        case IDYES: return MessageBoxResult::Yes;
        case IDNO: return MessageBoxResult::No;
        default: return MessageBoxResult::Ok;
    }
}

// --- Text, shell and process ---

TextRenderer& Win32Host::textRenderer() { return *renderer_; }

bool Win32Host::openAddress(std::string_view address, NativeWindow* owner) {
    if (address.empty()) return false;
    auto* window = dynamic_cast<Win32Window*>(owner);
    // No verb: the handler's default action runs, which for some handlers is not "open".
    const HINSTANCE result = ShellExecuteW(window ? window->handle() : nullptr, nullptr, toWide(address).c_str(),
                                           nullptr, nullptr, SW_SHOWNORMAL);
    // The shell reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string Win32Host::executablePath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return fromWide(path);
        }
        // Cut short: a longer buffer, up to the longest path the system has.
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

int Win32Host::initialShowCommand() const {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW) return startup.wShowWindow;
    return show_command::kShowDefault;
}

void Win32Host::setApplicationIcon(const Image& icon) {
    HICON previous = std::exchange(applicationIcon_, iconFromImage(icon));
    // Windows without an icon of their own show the application's; the old one is destroyed once
    // none shows it.
    for (Win32Window* window : windows_) window->showIcon();
    destroyIcon(previous);
}

}  // namespace zozuz
