#pragma once

#include <cstdint>
#include <functional>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/PixelScale.h"
#include "platform/host/EditorWindow.h"

struct HWND__;

namespace zozuz {

class Win32Host;
class Win32Window;
class EditorAutomation;

// The editor's child window on Windows: a window of the program's editor class inside a top-level
// window, with the system's scroll bars (WS_VSCROLL, WS_HSCROLL). It paints through GDI on the
// code-page bytes and hands every event to its client, guarded by the host. What an input method
// sends types as characters (WM_IME_CHAR, WM_CHAR without a key press) or, for a finished
// composition, as one committed text; the composition itself shows in the input method's window.
// The program's positions and sizes are logical pixels; the window maps them with the density of its
// top-level window.
class Win32EditorWindow final : public EditorWindow {
public:
    // `host`, `parent` and `client` must outlive the window.
    Win32EditorWindow(Win32Host& host, Win32Window& parent, EditorWindowClient& client);
    ~Win32EditorWindow() override;
    Win32EditorWindow(const Win32EditorWindow&) = delete;
    Win32EditorWindow& operator=(const Win32EditorWindow&) = delete;

    void setBounds(const Rect& bounds) override;
    Rect bounds() const override;
    Size textAreaSize() const override;
    void setVisible(bool visible) override;
    void setFocus() override;
    bool hasFocus() const override;
    void releaseMouse() override;
    void setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) override;
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    void caretMoved() override;
    EditorColours colours() const override;
    void accessibleTextChanged(const AccessibleTextChange& change) override;

    HWND__* handle() const { return handle_; }
    // The window procedure's work; returns whether the message was handled, with its result.
    bool handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);
    void attach(HWND__* handle) { handle_ = handle; }

    // --- For screen readers ---
    // What they see of the editor, created when one first asks.
    EditorAutomation& automation();
    EditorWindowClient& client() const { return client_; }
    // Runs a call into the program under the host's guard; returns whether it finished normally.
    bool guard(const std::function<void()>& call);
    // A rectangle of the text area in the screen's device pixels, and a point of the screen in the
    // text area's coordinates.
    Rect screenRect(const Rect& textArea) const;
    Point textAreaPoint(int screenX, int screenY) const;
    Rect textAreaRect() const { return Rect{0, 0, textAreaSize().width, textAreaSize().height}; }

private:
    void paint();
    void scroll(bool vertical, unsigned request);
    // A character that comes without its key press (from an input method, or one of several a
    // key makes), one UTF-16 unit at a time.
    void typeUnit(wchar_t unit);
    // Takes the input method's result string as one typing step; false when there is none to take.
    bool commitComposition();
    // Puts the input method's composition and candidate windows at the caret, in the text's font.
    void placeInputMethod();
    PixelScale scale() const;
    // WM_GETOBJECT: UI Automation's element for the editor, or its MSAA object.
    bool answerAccessibility(std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);

    Win32Host& host_;
    Win32Window& parent_;
    EditorWindowClient& client_;
    HWND__* handle_ = nullptr;  // null once the system destroyed the window with its parent
    // The scroll bars as last set by the program, which a scroll request moves from.
    ScrollBarState vertical_;
    ScrollBarState horizontal_;
    // The bounds the program gave, laid out again when the density changes.
    Rect bounds_;
    // The first half of a character outside the basic plane, waiting for its second; 0 for none.
    wchar_t highSurrogate_ = 0;
    // The system caret's size while the window has the keyboard: it stays hidden (the editor draws
    // its own), and follows the editor's so that screen readers and magnifiers find the caret.
    // Empty while the window has no caret.
    Size systemCaret_;
    // Null until a screen reader asks; holds one reference.
    EditorAutomation* automation_ = nullptr;
};

}  // namespace zozuz
