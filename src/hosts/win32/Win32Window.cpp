#include "hosts/win32/Win32Window.h"

#include <windows.h>
#include <oleacc.h>

#include "hosts/win32/IconHandle.h"
#include "hosts/win32/Win32Dpi.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32MenuBar.h"
#include "hosts/win32/ObjectRequest.h"
#include "hosts/win32/UiaCore.h"
#include "hosts/win32/WindowAutomation.h"
#include "hosts/win32/Win32Input.h"
#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

struct Styles {
    DWORD style;
    DWORD extended;
};

Styles stylesFor(WindowFrame frame) {
    // A fixed dialog frame shows no icon in its caption; the modal frame style is what hides it.
    if (frame == WindowFrame::Dialog) return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
}

Rect rectOf(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK tellChild(HWND child, LPARAM) {
    SendMessageW(child, kDensityChangedMessage, 0, 0);
    return TRUE;
}

}  // namespace

class Win32Window::ProgramChange {
public:
    explicit ProgramChange(Win32Window& window) : window_(window) { ++window_.programChanges_; }
    ~ProgramChange() {
        --window_.programChanges_;
        if (window_.programChanges_ == 0 && window_.handle_) {
            window_.reportedBounds_ = window_.bounds();
            window_.reportedState_ = window_.state();
        }
    }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

private:
    Win32Window& window_;
};

Win32Window::Win32Window(Win32Host& host, WindowClient& client, const WindowOptions& options)
    : host_(host), client_(client), frame_(options.frame), surface_(nullptr, host.textRenderer()),
      scale_(systemScale()), reportedBounds_(options.bounds) {
    const Styles styles = stylesFor(frame_);
    auto* owner = dynamic_cast<Win32Window*>(options.owner);
    surface_.setScale(scale_);
    const Rect b = deviceBounds(options.bounds);
    {
        ProgramChange change(*this);
        // The window procedure attaches the handle when the system announces the window, so the
        // messages sent during creation already reach this object.
        CreateWindowExW(styles.extended, Win32Host::windowClassName(), toWide(options.caption).c_str(), styles.style,
                        b.left, b.top, b.width(), b.height(), owner ? owner->handle() : nullptr, nullptr,
                        GetModuleHandleW(nullptr), this);
        if (handle_) {
            // A window that the system placed on a monitor of another density takes its size there.
            if (const PixelScale here = windowScale(handle_); here != scale_) {
                scale_ = here;
                surface_.setScale(scale_);
                const Rect placed = deviceBounds(options.bounds);
                SetWindowPos(handle_, nullptr, placed.left, placed.top, placed.width(), placed.height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            RECT client{};
            GetClientRect(handle_, &client);
            surface_.resize(Size{client.right, client.bottom});
            showIcon();
        }
    }
    host_.windowCreated(this);
    host_.rethrowPending();
}

Win32Window::~Win32Window() {
    host_.windowDestroyed(this);
    if (handle_) {
        // Screen readers let go of the window's elements before it goes.
        if (automation_) UiaCore::get().returnRawElementProvider(handle_, 0, 0, nullptr);
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (automation_) {
        automation_->detach();
        UiaCore::get().disconnect(automation_);
        automation_->Release();
    }
    destroyIcon(icon_);
}

WindowAutomation& Win32Window::automation() {
    if (!automation_) automation_ = new WindowAutomation(*this);
    return *automation_;
}

std::vector<AccessibleNode> Win32Window::accessibleNodes() {
    std::vector<AccessibleNode> nodes;
    host_.guard([&] { nodes = client_.accessibleNodes(); });
    return nodes;
}

Rect Win32Window::screenRect(const Rect& client) const {
    const Rect device = scale_.toDevice(client);
    POINT corners[2] = {{device.left, device.top}, {device.right, device.bottom}};
    if (handle_) MapWindowPoints(handle_, HWND_DESKTOP, corners, 2);
    return Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void Win32Window::accessibleChanged(AccessibleEvent event, std::uint32_t id) {
    // Nobody asked yet: there is nobody to tell.
    if (automation_) automation_->changed(event, id);
}

void Win32Window::setCaption(const std::string& caption) {
    if (handle_) SetWindowTextW(handle_, toWide(caption).c_str());
    host_.rethrowPending();
}

std::string Win32Window::caption() const {
    if (!handle_) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    const int length = GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return fromWide(text);
}

void Win32Window::setIcon(const Image& icon) {
    HICON previous = icon_;
    icon_ = iconFromImage(icon);
    showIcon();
    // Destroyed only once the window no longer shows it.
    destroyIcon(previous);
    host_.rethrowPending();
}

void Win32Window::showIcon() {
    if (!handle_) return;
    // A fixed dialog frame shows no icon in its caption: the modal frame style hides the class's
    // icon, but one sent to the window would show.
    HICON shown = frame_ == WindowFrame::Dialog ? nullptr : icon_ ? icon_ : host_.applicationIcon_;
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shown));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown));
}

void Win32Window::setFrame(WindowFrame frame) {
    if (frame == frame_ || !handle_) return;
    frame_ = frame;
    const Styles styles = stylesFor(frame_);
    ProgramChange change(*this);
    const LONG_PTR keep = GetWindowLongPtrW(handle_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(styles.style) | keep);
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(styles.extended));
    // The outer bounds stay; the client area takes what the new frame leaves.
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    showIcon();
    host_.rethrowPending();
}

void Win32Window::setBounds(const Rect& outer) {
    if (!handle_) return;
    ProgramChange change(*this);
    if (IsIconic(handle_) || IsZoomed(handle_)) {
        // The bounds the window returns to when restored.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(handle_, &placement);
        const Rect device = deviceBounds(outer);
        placement.rcNormalPosition = RECT{device.left, device.top, device.right, device.bottom};
        SetWindowPlacement(handle_, &placement);
    } else {
        const Rect device = deviceBounds(outer);
        SetWindowPos(handle_, nullptr, device.left, device.top, device.width(), device.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    host_.rethrowPending();
}

Rect Win32Window::bounds() const {
    if (!handle_) return reportedBounds_;
    if (IsIconic(handle_) || IsZoomed(handle_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(handle_, &placement);
        return logicalBounds(rectOf(placement.rcNormalPosition));
    }
    RECT r{};
    GetWindowRect(handle_, &r);
    return logicalBounds(rectOf(r));
}

Rect Win32Window::deviceBounds(const Rect& outer) const {
    // The position counts in the screen's pixels, the size in the window's own.
    const PixelScale& screen = host_.screenScale();
    const int left = screen.toDevice(outer.left);
    const int top = screen.toDevice(outer.top);
    return Rect{left, top, left + scale_.toDevice(outer.width()), top + scale_.toDevice(outer.height())};
}

Rect Win32Window::logicalBounds(const Rect& device) const {
    const PixelScale& screen = host_.screenScale();
    const int left = screen.toLogical(device.left);
    const int top = screen.toLogical(device.top);
    return Rect{left, top, left + scale_.toLogical(device.width()), top + scale_.toLogical(device.height())};
}

Size Win32Window::clientSize() const {
    if (!handle_) return Size{};
    RECT r{};
    GetClientRect(handle_, &r);
    return scale_.toLogical(Size{r.right - r.left, r.bottom - r.top});
}

void Win32Window::setClientSize(Size size) {
    if (!handle_) return;
    const Styles styles = stylesFor(frame_);
    const Size device = scale_.toDevice(size);
    const FrameSize outer = frameSizeFor(device.width, device.height, styles.style, styles.extended, false, scale_);
    ProgramChange change(*this);
    SetWindowPos(handle_, nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host_.rethrowPending();
}

Point Win32Window::screenToClient(Point screen) const {
    const Point device = host_.screenScale().toDevice(screen);
    POINT p{device.x, device.y};
    if (handle_) ScreenToClient(handle_, &p);
    return scale_.toLogical(Point{p.x, p.y});
}

Point Win32Window::clientToScreen(Point client) const {
    const Point device = scale_.toDevice(client);
    POINT p{device.x, device.y};
    if (handle_) ClientToScreen(handle_, &p);
    return host_.screenScale().toLogical(Point{p.x, p.y});
}

void Win32Window::show() {
    if (!handle_ || IsWindowVisible(handle_)) return;
    {
        ProgramChange change(*this);
        // The desktop's own rule, as a window manager applies it to a newly mapped window: a
        // program's window without owner that shows while none of the program's windows is active
        // gets the keyboard. Any other window shows without activation.
        const bool takesKeyboard = !GetWindow(handle_, GW_OWNER) && !GetActiveWindow();
        switch (hiddenState_) {
            case WindowState::Normal: ShowWindow(handle_, takesKeyboard ? SW_SHOW : SW_SHOWNA); break;
            case WindowState::Minimized: ShowWindow(handle_, SW_SHOWMINNOACTIVE); break;
            // The system shows a maximised window only by activating it.
            case WindowState::Maximized: ShowWindow(handle_, SW_SHOWMAXIMIZED); break;
        }
    }
    host_.rethrowPending();
}

void Win32Window::hide() {
    if (!handle_ || !IsWindowVisible(handle_)) return;
    {
        ProgramChange change(*this);
        hiddenState_ = systemState();
        ShowWindow(handle_, SW_HIDE);
    }
    host_.rethrowPending();
}

bool Win32Window::visible() const { return handle_ && IsWindowVisible(handle_); }

void Win32Window::activate() {
    // The system does not activate a window nobody can see.
    if (!visible()) return;
    BringWindowToTop(handle_);
    SetForegroundWindow(handle_);
    SetActiveWindow(handle_);
    host_.rethrowPending();
}

void Win32Window::setEnabled(bool enabled) {
    if (!handle_) return;
    EnableWindow(handle_, enabled ? TRUE : FALSE);
    host_.rethrowPending();
}

bool Win32Window::enabled() const { return handle_ && IsWindowEnabled(handle_); }

WindowState Win32Window::systemState() const {
    if (IsIconic(handle_)) return WindowState::Minimized;
    if (IsZoomed(handle_)) return WindowState::Maximized;
    return WindowState::Normal;
}

void Win32Window::setState(WindowState state) {
    if (!handle_) return;
    if (!IsWindowVisible(handle_)) {
        hiddenState_ = state;
        reportedState_ = state;
        return;
    }
    if (state == systemState()) return;
    {
        ProgramChange change(*this);
        switch (state) {
            case WindowState::Normal: ShowWindow(handle_, SW_RESTORE); break;
            case WindowState::Minimized: ShowWindow(handle_, SW_SHOWMINNOACTIVE); break;
            case WindowState::Maximized: ShowWindow(handle_, SW_SHOWMAXIMIZED); break;
        }
    }
    host_.rethrowPending();
}

WindowState Win32Window::state() const {
    if (!handle_) return reportedState_;
    return IsWindowVisible(handle_) ? systemState() : hiddenState_;
}

void Win32Window::invalidate(const Rect& area) {
    if (!handle_ || area.empty()) return;
    const Rect device = scale_.coveringDevice(area);
    const RECT r{device.left, device.top, device.right, device.bottom};
    InvalidateRect(handle_, &r, FALSE);
}

void Win32Window::invalidateAll() {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void Win32Window::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(handle_, &ps);
    const Rect area = scale_.coveringLogical(rectOf(ps.rcPaint)).intersected(surface_.backing().bounds());
    if (!area.empty()) {
        // Nothing is erased first: the client paints every pixel of the area into the image, which
        // then goes to the screen in one piece.
        surface_.setPainting(true);
        host_.guard([&] { client_.paint(surface_, area); });
        surface_.setPainting(false);
        surface_.show(dc, area);
    }
    EndPaint(handle_, &ps);
}

void Win32Window::positionChanged() {
    if (programChanges_ > 0 || !IsWindowVisible(handle_)) return;
    const WindowState now = systemState();
    if (now != reportedState_) {
        reportedState_ = now;
        host_.guard([&] { client_.stateChanged(now); });
    }
    if (now != WindowState::Normal) return;
    const Rect outer = bounds();
    if (outer == reportedBounds_) return;
    reportedBounds_ = outer;
    host_.guard([&] { client_.boundsChanged(outer); });
}

void Win32Window::densityChanged(int dpi, const Rect& suggested) {
    scale_ = PixelScale(dpi);
    surface_.setScale(scale_);
    {
        ProgramChange change(*this);
        SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.width(), suggested.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnumChildWindows(handle_, tellChild, 0);
    InvalidateRect(handle_, nullptr, FALSE);
}

bool Win32Window::restoreChildFocus() {
    const auto usable = [this](HWND child) {
        return child && IsChild(handle_, child) && IsWindowVisible(child) && IsWindowEnabled(child);
    };
    const HWND focus = GetFocus();
    if (usable(focus)) {
        focusedChild_ = focus;
        return true;
    }
    if (!usable(focusedChild_) || !SetFocus(focusedChild_)) return false;
    return GetFocus() == focusedChild_;
}

bool Win32Window::activationChanged(std::uintptr_t wParam) {
    const bool active = LOWORD(wParam) != WA_INACTIVE;
    // The child that has the keyboard as the window goes, to have it again when it comes back.
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(handle_, focus)) focusedChild_ = focus;
    }
    if (active != active_) {
        active_ = active;
        host_.announce(HostListener::InputKind::Activation);
        host_.guard([&] { client_.activated(active); });
    }
    // The default handling gives the keyboard to the window itself, also when the program just gave
    // it to a child on this activation (the editor, when the window first shows), or the child had
    // it before. A minimised window keeps it for itself.
    if (!active || HIWORD(wParam) != 0 || !handle_) return false;
    return restoreChildFocus();
}

bool Win32Window::answerAccessibility(std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    return answerObjectRequest(handle_, wParam, lParam, automation(), result);
}

bool Win32Window::handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    result = 0;
    if (menuBar_ && menuBar_->handleMessage(message, wParam, lParam, result)) return true;
    switch (message) {
        case WM_PAINT:
            paint();
            return true;
        case WM_ERASEBKGND:
            // The paint covers every pixel; erasing first would only flicker.
            result = 1;
            return true;
        case WM_SIZE:
            // A minimised window keeps the picture it had.
            if (wParam != SIZE_MINIMIZED) surface_.resize(Size{LOWORD(lParam), HIWORD(lParam)});
            return true;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            densityChanged(LOWORD(wParam), rectOf(*suggested));
            return true;
        }
        case WM_WINDOWPOSCHANGED:
            positionChanged();
            // The default handling sends WM_SIZE and WM_MOVE.
            return false;
        case WM_ACTIVATE:
            return activationChanged(wParam);
        case WM_CLOSE:
            // The client decides what closing means; a window that takes no input cannot be closed.
            if (IsWindowVisible(handle_) && IsWindowEnabled(handle_)) host_.guard([&] { client_.closeRequest(); });
            return true;
        case WM_SETCURSOR:
            // Over the client area the pointer takes the shape the program chose; over the frame
            // the system's own shapes apply.
            if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != handle_) return false;
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(pointerShape_ == PointerShape::Hand ? IDC_HAND
                                                                                                         : IDC_ARROW)));
            result = TRUE;
            return true;
        case WM_GETOBJECT:
            return answerAccessibility(wParam, lParam, result);
        case kAccessibleActionMessage:
            // A screen reader pressed a drawn control.
            host_.guard([&] { client_.accessibleAction(static_cast<std::uint32_t>(wParam)); });
            return true;
        case WM_DESTROY:
            if (automation_) UiaCore::get().returnRawElementProvider(handle_, 0, 0, nullptr);
            return false;
        case WM_NCDESTROY:
            // Destroyed by the system with its owner: the object stays, without a window.
            if (automation_) automation_->detach();
            handle_ = nullptr;
            focusedChild_ = nullptr;
            surface_.setWindow(nullptr);
            return false;
        case WM_QUERYENDSESSION: {
            // Only the question: the program answers without asking the user, and the session may
            // still not end (another program refuses, the user cancels). Every top-level window of
            // the program is asked, and each gives the program's answer. An answer that failed is
            // a no, since ending then could lose the user's text; the error comes out of the next
            // pump step.
            bool mayEnd = true;
            if (HostListener* listener = host_.listener())
                mayEnd = host_.guard([&] { mayEnd = listener->sessionEndQuery(); }) && mayEnd;
            result = mayEnd ? TRUE : FALSE;
            return true;
        }
        case WM_ENDSESSION:
            // wParam FALSE: the end asked about was cancelled, and the program goes on.
            if (wParam && host_.listener()) host_.guard([&] { host_.listener()->sessionEnding(); });
            return true;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            return host_.deliverKeyMessage(message, wParam, lParam, [&](const KeyEvent& key) { client_.keyPress(key); });
        default:
            break;
    }
    if (auto mouse = mouseEventOfWindow(handle_, message, wParam, lParam, scale_)) {
        host_.guard([&] { client_.mouse(*mouse); });
        return true;
    }
    return false;
}

}  // namespace zozuz
