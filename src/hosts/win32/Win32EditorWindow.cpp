#include "hosts/win32/Win32EditorWindow.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <utility>

#include <windows.h>
#include <imm.h>
#include <oleacc.h>

#include "base/Exception.h"
#include "hosts/win32/EditorAutomation.h"
#include "hosts/win32/GdiCodePageText.h"
#include "hosts/win32/GdiTextRenderer.h"
#include "hosts/win32/ObjectRequest.h"
#include "hosts/win32/UiaCore.h"
#include "hosts/win32/Win32Dpi.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Input.h"
#include "hosts/win32/Win32Window.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/WindowProcedure.h"

namespace zozuz {

namespace {

constexpr wchar_t kEditorClass[] = L"zozuzEditor";

void registerEditorClass(HINSTANCE instance) {
    WNDCLASSEXW editor{};
    editor.cbSize = sizeof editor;
    editor.style = CS_DBLCLKS;
    editor.lpfnWndProc = objectWindowProcedure<Win32EditorWindow>;
    editor.hInstance = instance;
    editor.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
    editor.lpszClassName = kEditorClass;
    // Registered again by a later host in the same process, which the system refuses harmlessly.
    RegisterClassExW(&editor);
}

// The system's scroll bars count in int; a longer range is cut at its limit.
int systemInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX)); }

// A shown bar stays shown, disabled while it has nothing to scroll: left to itself the system hides
// a bar without range and shows it again with the next range, and each time the text area changes
// size. A bar that is not shown only keeps its range with the program.
void applyScrollBar(HWND handle, int bar, const ScrollBarState& state) {
    if (!state.shown) {
        ShowScrollBar(handle, bar, FALSE);
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = systemInt(state.maximum);
    info.nPage = static_cast<UINT>(systemInt(state.page));
    info.nPos = systemInt(state.position);
    SetScrollInfo(handle, bar, &info, TRUE);
    ShowScrollBar(handle, bar, TRUE);
}

std::uint32_t rgbOf(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 | static_cast<std::uint32_t>(GetGValue(colour)) << 8 |
           GetBValue(colour);
}

}  // namespace

Win32EditorWindow::Win32EditorWindow(Win32Host& host, Win32Window& parent, EditorWindowClient& client)
    : host_(host), parent_(parent), client_(client) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerEditorClass(instance);
    const HWND created = CreateWindowExW(WS_EX_CLIENTEDGE, kEditorClass, L"",
                                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                         parent.handle(), nullptr, instance, this);
    if (!created) throw EInvalidOperation("Cannot create the editor window");
    // The scroll bars show only when the program asks for them.
    ShowScrollBar(handle_, SB_BOTH, FALSE);
}

Win32EditorWindow::~Win32EditorWindow() {
    if (handle_) {
        if (automation_) UiaCore::get().returnRawElementProvider(handle_, 0, 0, nullptr);
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (automation_) {
        automation_->detach();
        UiaCore::get().disconnect(automation_);
        automation_->Release();
    }
}

EditorAutomation& Win32EditorWindow::automation() {
    if (!automation_) automation_ = new EditorAutomation(*this);
    return *automation_;
}

bool Win32EditorWindow::guard(const std::function<void()>& call) { return host_.guard(call); }

Rect Win32EditorWindow::screenRect(const Rect& textArea) const {
    const Rect device = scale().toDevice(textArea);
    POINT corners[2] = {{device.left, device.top}, {device.right, device.bottom}};
    if (handle_) MapWindowPoints(handle_, HWND_DESKTOP, corners, 2);
    return Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

Point Win32EditorWindow::textAreaPoint(int screenX, int screenY) const {
    POINT p{screenX, screenY};
    if (handle_) ScreenToClient(handle_, &p);
    return scale().toLogical(Point{p.x, p.y});
}

void Win32EditorWindow::accessibleTextChanged(const AccessibleTextChange& change) {
    if (automation_) automation_->changed(change);
}

bool Win32EditorWindow::answerAccessibility(std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) {
    return answerObjectRequest(handle_, wParam, lParam, automation(), result);
}

PixelScale Win32EditorWindow::scale() const { return parent_.scale(); }

void Win32EditorWindow::setBounds(const Rect& bounds) {
    bounds_ = bounds;
    const Rect device = scale().toDevice(bounds);
    if (handle_) MoveWindow(handle_, device.left, device.top, device.width(), device.height(), TRUE);
}

Rect Win32EditorWindow::bounds() const {
    if (!handle_) return {};
    RECT r{};
    GetWindowRect(handle_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    return scale().toLogical(Rect{r.left, r.top, r.right, r.bottom});
}

Size Win32EditorWindow::textAreaSize() const {
    if (!handle_) return {};
    RECT r{};
    GetClientRect(handle_, &r);
    return scale().toLogical(Size{r.right - r.left, r.bottom - r.top});
}

void Win32EditorWindow::setVisible(bool visible) {
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32EditorWindow::setFocus() {
    if (handle_) SetFocus(handle_);
}

bool Win32EditorWindow::hasFocus() const { return handle_ && GetFocus() == handle_; }

void Win32EditorWindow::releaseMouse() {
    // Taken on a button press below; a box that comes up meanwhile must get the pointer's input.
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
}

void Win32EditorWindow::setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) {
    vertical_ = vertical;
    horizontal_ = horizontal;
    if (!handle_) return;
    applyScrollBar(handle_, SB_VERT, vertical);
    applyScrollBar(handle_, SB_HORZ, horizontal);
}

void Win32EditorWindow::invalidate(const Rect& area) {
    if (!handle_ || area.empty()) return;
    const Rect device = scale().coveringDevice(area);
    const RECT r{device.left, device.top, device.right, device.bottom};
    InvalidateRect(handle_, &r, FALSE);
}

void Win32EditorWindow::repaintNow() {
    if (!handle_) return;
    InvalidateRect(handle_, nullptr, FALSE);
    UpdateWindow(handle_);
    host_.rethrowPending();
}

void Win32EditorWindow::caretMoved() {
    // The input method's composition window follows the caret.
    if (handle_ && GetFocus() == handle_) placeInputMethod();
}

void Win32EditorWindow::placeInputMethod() {
    std::optional<Rect> caret;
    std::optional<Font> font;
    host_.guard([&] {
        caret = client_.caretRect();
        font = client_.textFont();
    });
    if (!caret || !font) return;
    // The program's caret is in logical pixels, the system's windows in the display's.
    const PixelScale density = scale();
    const Rect at = density.toDevice(*caret);
    // A hidden system caret of the editor's caret's size marks where the caret is for screen
    // readers and magnifiers; the editor draws the one the user sees.
    const Size caretSize{std::max(1, at.width()), std::max(1, at.height())};
    if (caretSize != systemCaret_ && GetFocus() == handle_ && CreateCaret(handle_, nullptr, caretSize.width, caretSize.height))
        systemCaret_ = caretSize;
    SetCaretPos(at.left, at.top);
    if (systemCaret_ != Size{}) NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, handle_, OBJID_CARET, CHILDID_SELF);
    HIMC context = ImmGetContext(handle_);
    if (!context) return;
    // The composition starts where the caret stands, and the candidates show below the caret's
    // line without covering it.
    COMPOSITIONFORM composition{};
    composition.dwStyle = CFS_POINT | CFS_FORCE_POSITION;
    composition.ptCurrentPos = POINT{at.left, at.top};
    ImmSetCompositionWindow(context, &composition);
    CANDIDATEFORM candidates{};
    candidates.dwIndex = 0;
    candidates.dwStyle = CFS_EXCLUDE;
    candidates.ptCurrentPos = POINT{at.left, at.bottom};
    candidates.rcArea = RECT{at.left, at.top, at.right, at.bottom};
    ImmSetCandidateWindow(context, &candidates);
    Font shown = *font;
    shown.pixelHeight = density.toDevice(font->pixelHeight);
    LOGFONTW logFont{};
    if (GetObjectW(host_.gdiRenderer().handleOf(shown), sizeof logFont, &logFont) == sizeof logFont)
        ImmSetCompositionFontW(context, &logFont);
    ImmReleaseContext(handle_, context);
}

bool Win32EditorWindow::commitComposition() {
    HIMC context = ImmGetContext(handle_);
    if (!context) return false;
    const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::wstring result(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(wchar_t) : 0, L'\0');
    const LONG read = result.empty() ? 0
                                     : ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(),
                                                                static_cast<DWORD>(result.size() * sizeof(wchar_t)));
    ImmReleaseContext(handle_, context);
    if (read <= 0) return false;
    result.resize(static_cast<std::size_t>(read) / sizeof(wchar_t));
    // Control characters type nothing here either.
    std::erase_if(result, [](wchar_t unit) { return unit < 0x20 || unit == 0x7F; });
    highSurrogate_ = 0;
    if (!result.empty()) host_.guard([&] { client_.textCommitted(fromWide(result)); });
    return true;
}

void Win32EditorWindow::typeUnit(wchar_t unit) {
    std::wstring character;
    if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
        character = {std::exchange(highSurrogate_, 0), unit};
    } else {
        // A first half without its second types as the replacement character, as a second half
        // without its first does.
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            typeUnit(0xFFFD);
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
            return;
        }
        // Control characters (Ctrl+letter, Backspace, Enter, Escape) type no text; their keys act.
        if (unit < 0x20 || unit == 0x7F) return;
        character = {unit};
    }
    // Typed as a key press of no key, which the editor takes as typing.
    KeyEvent key;
    key.kind = KeyEvent::Kind::Down;
    key.text = fromWide(character);
    host_.guard([&] { client_.key(key); });
}

EditorColours Win32EditorWindow::colours() const {
    EditorColours colours;
    colours.window = rgbOf(GetSysColor(COLOR_WINDOW));
    colours.text = rgbOf(GetSysColor(COLOR_WINDOWTEXT));
    colours.highlight = rgbOf(GetSysColor(COLOR_HIGHLIGHT));
    colours.highlightedText = rgbOf(GetSysColor(COLOR_HIGHLIGHTTEXT));
    return colours;
}

void Win32EditorWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    if (dc) {
        const PixelScale density = scale();
        GdiCodePageCanvas canvas(dc, host_.gdiRenderer(), host_.gdiCodePageText(), density);
        const Rect area =
            density.coveringLogical(Rect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
        host_.guard([&] { client_.paint(canvas, area); });
    }
    EndPaint(handle_, &ps);
}

void Win32EditorWindow::scroll(bool vertical, unsigned request) {
    const ScrollBarState& state = vertical ? vertical_ : horizontal_;
    const std::int64_t last = std::max<std::int64_t>(0, state.maximum - std::max<std::int64_t>(state.page, 1) + 1);
    std::int64_t position = state.position;
    switch (request) {
        case SB_LINEUP: position -= 1; break;
        case SB_LINEDOWN: position += 1; break;
        case SB_PAGEUP: position -= std::max<std::int64_t>(state.page, 1); break;
        case SB_PAGEDOWN: position += std::max<std::int64_t>(state.page, 1); break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = last; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The message carries only 16 bits of the position; the scroll bar itself has all 32.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(handle_, vertical ? SB_VERT : SB_HORZ, &info);
            position = info.nTrackPos;
            break;
        }
        default: return;
    }
    position = std::clamp<std::int64_t>(position, 0, last);
    if (position == state.position) return;
    host_.guard([&] { client_.scrolled(vertical, position); });
}

bool Win32EditorWindow::handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                      std::intptr_t& result) {
    result = 0;
    switch (message) {
        case WM_PAINT:
            paint();
            return true;
        case WM_ERASEBKGND:
            // The client paints every pixel it is asked for.
            result = 1;
            return true;
        case WM_SIZE:
            host_.guard([&] { client_.resized(scale().toLogical(Size{LOWORD(lParam), HIWORD(lParam)})); });
            return true;
        case WM_SETFOCUS:
            host_.guard([&] { client_.focusChanged(true); });
            if (handle_) placeInputMethod();
            return true;
        case WM_KILLFOCUS:
            if (systemCaret_ != Size{}) {
                DestroyCaret();
                systemCaret_ = Size{};
            }
            host_.guard([&] { client_.focusChanged(false); });
            return true;
        case WM_GETOBJECT:
            return answerAccessibility(wParam, lParam, result);
        case WM_VSCROLL:
        case WM_HSCROLL:
            scroll(message == WM_VSCROLL, LOWORD(wParam));
            return true;
        case WM_GETDLGCODE:
            // The editor takes every key, arrows and Tab included.
            result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
            return true;
        case WM_CHAR:
        case WM_IME_CHAR:
            // The text a key types comes with its key press, which takes its characters from the
            // queue; what arrives here came without one: an input method's result, or a second
            // character of a key (a dead key followed by one it does not combine with).
            typeUnit(static_cast<wchar_t>(wParam));
            return true;
        case WM_IME_STARTCOMPOSITION:
            placeInputMethod();
            return false;
        case WM_IME_COMPOSITION: {
            // The text being composed shows in the input method's own window at the caret. The
            // result is typed here; the default handling would type it again as WM_IME_CHAR, so
            // it sees only what else the message reports.
            if ((lParam & GCS_RESULTSTR) == 0 || !commitComposition()) return false;
            const LPARAM rest = lParam & ~(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE);
            if (rest != 0 && handle_) result = DefWindowProcW(handle_, message, wParam, rest);
            return true;
        }
        case WM_NCDESTROY:
            if (automation_) automation_->detach();
            handle_ = nullptr;
            return false;
        case kDensityChangedMessage:
            // The top-level window moved to a monitor of another density.
            setBounds(bounds_);
            InvalidateRect(handle_, nullptr, FALSE);
            return true;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            return host_.deliverKeyMessage(message, wParam, lParam, [&](const KeyEvent& key) { client_.key(key); });
        default:
            break;
    }
    // A held button keeps the pointer's events coming also outside the window.
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        SetFocus(handle_);
        SetCapture(handle_);
    } else if ((message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) &&
               (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        ReleaseCapture();
    }
    if (auto mouse = mouseEventOfWindow(handle_, message, wParam, lParam, scale())) {
        host_.guard([&] { client_.mouse(*mouse); });
        return true;
    }
    return false;
}

}  // namespace zozuz
