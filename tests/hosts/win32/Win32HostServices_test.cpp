// The Windows host's services for the editor and the program's commands under Wine: the clipboard,
// measuring and painting code-page text, the editor's child window, the menu bar, the print and save
// dialogs, and the shell.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>
#include <imm.h>

#include "base/Exception.h"
#include "base/LeadByteSet.h"
#include "editor/CharacterKinds.h"
#include "editor/EditControl.h"
#include "editor/EditorPane.h"
#include "editor/PrintLayout.h"
#include "platform/gfx/Font.h"
#include "platform/host/EditorWindow.h"
#include "platform/host/FileDialogs.h"
#include "platform/host/MenuBar.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/GdiPrintPainter.h"
#include "hosts/win32/Win32EditorWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "hosts/win32/WideText.h"

namespace zozuz {
namespace {

const Font kSong{"宋体", 12, Font::Charset::GB2312, 0, false};

void pumpAll(Win32Host& host) {
    while (host.pumpOne() != Host::PumpResult::Empty) {
    }
}

// Pumps until `done` holds or `limit` passes; Wine answers some requests a little late.
bool pumpUntil(Win32Host& host, const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (host.pumpOne() == Host::PumpResult::Empty) Sleep(5);
    }
    return true;
}

class QuietWindow : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        previews.push_back(key);
        return false;
    }
    std::vector<KeyEvent> previews;
};

class RecordingEditor : public EditorWindowClient {
public:
    void key(const KeyEvent& k) override { keys.push_back(k); }
    void mouse(const MouseEvent& m) override { mice.push_back(m); }
    void paint(CodePageCanvas& canvas, const Rect& area) override {
        paints.push_back(area);
        canvas.fill(area, 0xFFFFFF);
        canvas.fill(Rect{0, 0, 8, 8}, 0x336699);
        canvas.drawText(Point{20, 2}, "\xD6\xD0\xCE\xC4", kSong, 0x000000);
    }
    void resized(Size size) override { sizes.push_back(size); }
    void focusChanged(bool focused) override { focus.push_back(focused); }
    void scrolled(bool vertical, std::int64_t position) override { scrolls.emplace_back(vertical, position); }

    std::vector<KeyEvent> keys;
    std::vector<MouseEvent> mice;
    std::vector<Rect> paints;
    std::vector<Size> sizes;
    std::vector<bool> focus;
    std::vector<std::pair<bool, std::int64_t>> scrolls;
};

WindowOptions frameOptions() {
    WindowOptions o;
    o.caption = "zozuz";
    o.bounds = Rect{100, 100, 600, 450};
    return o;
}

TEST(Win32HostServices, ClipboardKeepsTheExactBytesBesideUnicodeTextWithTheSystemsLineBreaks) {
    Win32Host host;
    Clipboard& clipboard = host.clipboard();
    const std::string bytes("\xD6\xD0\n\x81\x20\0z", 6);  // an invalid pair and a zero survive
    clipboard.put("中\nz", bytes);
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), "中\nz");
    EXPECT_EQ(clipboard.bytes(), bytes);

    // Other programs see the desktop's line breaks.
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* wide = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::wstring(wide), L"中\r\nz");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));

    // Text another program put there carries no bytes of the program's own.
    EmptyClipboard();
    const wchar_t other[] = L"外\r\n";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof other);
    std::memcpy(GlobalLock(memory), other, sizeof other);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    EXPECT_EQ(clipboard.bytes(), std::nullopt);
    EXPECT_EQ(clipboard.text(), "外\n");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), std::nullopt);
}

// What another program's clipboard window renders for the program's own format when it is read:
// nothing (a refusal), or the record given.
std::optional<std::string> renderedRecord;

LRESULT CALLBACK renderingOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RENDERFORMAT && renderedRecord) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(renderedRecord->size(), 1));
        std::memcpy(GlobalLock(memory), renderedRecord->data(), renderedRecord->size());
        GlobalUnlock(memory);
        if (!SetClipboardData(static_cast<UINT>(wParam), memory)) GlobalFree(memory);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createRenderingOwner() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = renderingOwner;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"zozuzTestClipboardOwner";
    RegisterClassW(&windowClass);  // fails harmlessly when the class is there already
    return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
}

// Makes `owner` the clipboard's owner with the program's format to be rendered when read, and text
// either in place or to be rendered too.
void offerFrom(HWND owner, bool textInPlace) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(RegisterClipboardFormatW(L"zozuz.CodePage936Text"), nullptr);
    if (textInPlace) {
        const wchar_t text[] = L"粘贴";
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
        std::memcpy(GlobalLock(memory), text, sizeof text);
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
    } else {
        SetClipboardData(CF_UNICODETEXT, nullptr);
    }
    CloseClipboard();
}

// Another window owns the clipboard and renders the program's format only when it is read. When it
// refuses, or renders a record that no copy puts there, the paste takes the text beside it. An owner
// whose thread takes no messages at all costs the paste, never the selection, and only briefly.
TEST(Win32HostServices, PasteTakesTheTextWhenTheClipboardsOwnerWithholdsTheExactBytes) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    EditControl edit;
    EditorPane pane(host, *window, edit);
    const HWND owner = createRenderingOwner();
    ASSERT_NE(owner, nullptr);
    const auto record = [](std::uint64_t length, std::string_view bytes) {
        return std::string(reinterpret_cast<const char*>(&length), sizeof length) + std::string(bytes);
    };
    struct Row {
        const char* what;
        std::optional<std::string> rendered;
        const char* expected;
    };
    const Row rows[] = {
        {"refused", std::nullopt, "[\xD5\xB3\xCC\xF9]"},
        {"empty", record(0, ""), "[\xD5\xB3\xCC\xF9]"},
        {"cut short", record(100, "abc"), "[\xD5\xB3\xCC\xF9]"},
        {"with a zero", record(3, std::string_view("a\0b", 3)), "[\xD5\xB3\xCC\xF9]"},
        {"rendered", record(2, "\x81\xFF"), "[\x81\xFF]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        renderedRecord = row.rendered;
        offerFrom(owner, true);
        edit.setText("[keep]");
        pane.view().select(1, 5);
        EXPECT_TRUE(pane.view().paste());
        EXPECT_EQ(edit.text(), row.expected);
    }
    renderedRecord.reset();
    DestroyWindow(owner);

    // An owner on a thread that stops taking messages once it has offered both formats.
    struct Hung {
        HANDLE offered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    } hung;
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* context) -> DWORD {
            auto& hung = *static_cast<Hung*>(context);
            const HWND owner = createRenderingOwner();
            offerFrom(owner, false);
            SetEvent(hung.offered);
            WaitForSingleObject(hung.released, INFINITE);
            DestroyWindow(owner);
            return 0;
        },
        &hung, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(hung.offered, 10000), WAIT_OBJECT_0);
    edit.setText("[keep]");
    pane.view().select(1, 5);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pane.view().paste());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(edit.text(), "[keep]");
    EXPECT_EQ(edit.selectionStart(), 1);
    EXPECT_EQ(edit.selectionEnd(), 5);
    SetEvent(hung.released);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(hung.offered);
    CloseHandle(hung.released);
}

TEST(Win32HostServices, CodePageTextIsMeasuredAsTheChineseFontHasIt) {
    Win32Host host;
    CodePageTextMeasure& measure = host.codePageTextMeasure();
    const int wide = measure.advance(kSong, "\xD6\xD0");
    const int narrow = measure.advance(kSong, "a");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);  // a lead byte and its trail byte are one full-width character
    EXPECT_GE(measure.lineHeight(kSong), 12);
    EXPECT_GT(measure.averageCharWidth(kSong), 0);
    EXPECT_EQ(host.codePageCodec().decode("\xD6\xD0"), U'中');
}

TEST(Win32HostServices, EditorWindowPaintsScrollsAndTakesKeysAfterItsWindowsPreview) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    window->show();
    RecordingEditor client;
    auto editor = host.createEditorWindow(*window, client);
    editor->setBounds(Rect{10, 10, 310, 210});
    EXPECT_EQ(editor->bounds(), (Rect{10, 10, 310, 210}));
    const Size area = editor->textAreaSize();
    EXPECT_GT(area.width, 250);  // the frame's edge only, no scroll bars yet
    ASSERT_FALSE(client.sizes.empty());
    EXPECT_EQ(client.sizes.back(), area);

    ScrollBarState vertical{true, 99, 10, 5};
    editor->setScrollBars(vertical, ScrollBarState{});
    EXPECT_LT(editor->textAreaSize().width, area.width);

    ASSERT_TRUE(pumpUntil(host, [&] { return !client.paints.empty(); }));
    const HWND handle = static_cast<Win32EditorWindow&>(*editor).handle();
    editor->repaintNow();
    HDC dc = GetDC(handle);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0x33, 0x66, 0x99));
    int dark = 0;
    for (int y = 2; y < 16; ++y)
        for (int x = 20; x < 44; ++x) dark += GetPixel(dc, x, y) != RGB(0xFF, 0xFF, 0xFF);
    ReleaseDC(handle, dc);
    EXPECT_GT(dark, 10);  // the two characters were drawn

    // The scroll bar's requests move from the position the program set, within its range.
    SendMessageW(handle, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(handle, WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(handle, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_EQ(client.scrolls.size(), 3u);
    EXPECT_EQ(client.scrolls[0], (std::pair<bool, std::int64_t>{true, 6}));
    EXPECT_EQ(client.scrolls[1], (std::pair<bool, std::int64_t>{true, 0}));
    EXPECT_EQ(client.scrolls[2], (std::pair<bool, std::int64_t>{true, 90}));

    editor->setFocus();
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(client.focus, (std::vector<bool>{true}));
    PostMessageW(handle, WM_KEYDOWN, 'A', 1 | (MapVirtualKeyW('A', MAPVK_VK_TO_VSC) << 16));
    pumpAll(host);
    ASSERT_EQ(frame.previews.size(), 1u);
    ASSERT_EQ(client.keys.size(), 1u);
    EXPECT_EQ(client.keys[0].text, "a");

    PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
    pumpAll(host);
    // Wine may add pointer moves of its own; the press is the one that counts.
    const auto press = std::find_if(client.mice.begin(), client.mice.end(),
                                    [](const MouseEvent& m) { return m.kind == MouseEvent::Kind::Down; });
    ASSERT_NE(press, client.mice.end());
    EXPECT_EQ(press->position, (Point{7, 9}));
    EXPECT_EQ(GetCapture(), handle);  // a held button keeps the pointer's events coming
    PostMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
    pumpAll(host);
    EXPECT_EQ(GetCapture(), nullptr);

    const EditorColours colours = editor->colours();
    EXPECT_NE(colours.window, colours.text);
}

// An editor window on a shown frame window, placed and settled, as the editor window's tests start.
struct EditorOnFrame {
    explicit EditorOnFrame(Win32Host& host) : window(host.createWindow(frame, frameOptions())) {
        window->show();
        editor = host.createEditorWindow(*window, client);
        editor->setBounds(Rect{10, 10, 310, 210});
        pumpAll(host);
    }
    HWND handle() const { return static_cast<Win32EditorWindow&>(*editor).handle(); }

    QuietWindow frame;
    std::unique_ptr<NativeWindow> window;
    RecordingEditor client;
    std::unique_ptr<EditorWindow> editor;
};

TEST(Win32HostServices, EditorScrollBarsShownWithNothingToScrollStayAndChangeNoFrame) {
    Win32Host host;
    EditorOnFrame placed(host);
    RecordingEditor& client = placed.client;
    const std::unique_ptr<EditorWindow>& editor = placed.editor;
    const HWND handle = placed.handle();

    // One short line with room for twelve: neither bar has anything to scroll, yet both are shown.
    const ScrollBarState vertical{true, 0, 12, 0};
    const ScrollBarState horizontal{true, 280, 290, 0};
    editor->setScrollBars(vertical, horizontal);
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    EXPECT_NE(style & WS_VSCROLL, 0);
    EXPECT_NE(style & WS_HSCROLL, 0);
    const Size area = editor->textAreaSize();
    const std::size_t resizes = client.sizes.size();

    // The view reports its bars after every caret move and scroll; the same report again must not
    // take a bar away and bring it back, which resizes the text area twice each time.
    for (int i = 0; i < 3; ++i) editor->setScrollBars(vertical, horizontal);
    EXPECT_EQ(client.sizes.size(), resizes);
    EXPECT_EQ(editor->textAreaSize(), area);

    // Such a bar is shown disabled, and works again once there is something to scroll.
    const auto usable = [&](LONG object) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        GetScrollBarInfo(handle, object, &info);
        return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    };
    EXPECT_FALSE(usable(OBJID_VSCROLL));
    editor->setScrollBars(ScrollBarState{true, 99, 12, 0}, horizontal);
    EXPECT_TRUE(usable(OBJID_VSCROLL));
    EXPECT_FALSE(usable(OBJID_HSCROLL));
    EXPECT_EQ(client.sizes.size(), resizes);

    // Bars that are not shown leave the whole window to the text, whatever their range.
    editor->setScrollBars(ScrollBarState{false, 99, 10, 5}, ScrollBarState{});
    const LONG_PTR bare = GetWindowLongPtrW(handle, GWL_STYLE);
    EXPECT_EQ(bare & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_GT(editor->textAreaSize().width, area.width);
    EXPECT_GT(editor->textAreaSize().height, area.height);
}

// A window moved to a monitor of 144 dpi: the system suggests 1.5 times its size, the program keeps
// its logical pixels, and the editor inside is laid out, painted and pointed at in device pixels.
TEST(Win32HostServices, AWindowMovedToADenserMonitorScalesItselfItsEditorAndTheirEvents) {
    Win32Host host;
    EditorOnFrame placed(host);
    const HWND frame = static_cast<Win32Window&>(*placed.window).handle();
    RECT suggested{150, 120, 150 + 750, 120 + 525};
    SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer{};
    GetWindowRect(frame, &outer);
    EXPECT_EQ(outer.right - outer.left, 750);
    EXPECT_EQ(placed.window->bounds(), (Rect{150, 120, 650, 470}));

    EXPECT_EQ(placed.editor->bounds(), (Rect{10, 10, 310, 210}));
    RECT editor{};
    GetWindowRect(placed.handle(), &editor);
    EXPECT_EQ(editor.right - editor.left, 450);
    EXPECT_EQ(editor.bottom - editor.top, 300);

    // The client's 8 x 8 square fills 12 x 12 device pixels.
    InvalidateRect(placed.handle(), nullptr, FALSE);
    UpdateWindow(placed.handle());
    HDC dc = GetDC(placed.handle());
    EXPECT_EQ(GetPixel(dc, 11, 11), RGB(0x33, 0x66, 0x99));
    EXPECT_EQ(GetPixel(dc, 12, 12), RGB(0xFF, 0xFF, 0xFF));
    ReleaseDC(placed.handle(), dc);

    PostMessageW(placed.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 45));
    PostMessageW(placed.handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 45));
    pumpAll(host);
    const auto press = std::find_if(placed.client.mice.begin(), placed.client.mice.end(),
                                    [](const MouseEvent& m) { return m.kind == MouseEvent::Kind::Down; });
    ASSERT_NE(press, placed.client.mice.end());
    EXPECT_EQ(press->position, (Point{20, 30}));
}

TEST(Win32HostServices, TheEditorWindowGivesUpThePointerItTookOnAPressAndNoOtherWindows) {
    Win32Host host;
    EditorOnFrame placed(host);
    const std::unique_ptr<EditorWindow>& editor = placed.editor;
    const HWND handle = placed.handle();

    // Holding nothing, it leaves the pointer where it is, also with another of the program's windows.
    editor->releaseMouse();
    EXPECT_EQ(GetCapture(), nullptr);
    const HWND frameHandle = static_cast<Win32Window&>(*placed.window).handle();
    SetCapture(frameHandle);
    editor->releaseMouse();
    EXPECT_EQ(GetCapture(), frameHandle);
    ReleaseCapture();

    for (const auto& [down, flag] : {std::pair{WM_LBUTTONDOWN, MK_LBUTTON}, std::pair{WM_RBUTTONDOWN, MK_RBUTTON}}) {
        PostMessageW(handle, down, flag, MAKELPARAM(7, 9));
        pumpAll(host);
        ASSERT_EQ(GetCapture(), handle) << down;
        editor->releaseMouse();
        EXPECT_EQ(GetCapture(), nullptr) << down;
        editor->releaseMouse();  // again: nothing more to give up
        EXPECT_EQ(GetCapture(), nullptr) << down;
    }
}

TEST(Win32HostServices, ACancelledDragGivesUpThePointerAndThePaneSelectsNoFurther) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    window->show();
    EditControl edit;
    edit.setText(std::string(1000, 'x'));  // wider than the drag scrolls during the test
    EditorPane pane(host, *window, edit);
    pane.window().setBounds(Rect{10, 10, 310, 210});
    pumpAll(host);
    const HWND handle = static_cast<Win32EditorWindow&>(pane.window()).handle();
    const int right = pane.window().textAreaSize().width;

    // A press and a drag past the right edge: the selection grows, and the text goes on scrolling
    // while the pointer stays out there.
    PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 5));
    PostMessageW(handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right + 40, 5));
    // Under Wine on a busy machine one step of the editor may take a good part of a second.
    const std::chrono::seconds slow(10);
    ASSERT_TRUE(pumpUntil(host, [&] { return edit.selectionEnd() > edit.selectionStart(); }, slow));
    const int dragged = pane.view().horizontalOffset();
    ASSERT_TRUE(pumpUntil(host, [&] { return pane.view().horizontalOffset() > dragged; }, slow));
    ASSERT_EQ(GetCapture(), handle);
    ASSERT_TRUE(pane.view().dragging());

    // A box or a modal window comes up.
    pane.cancelMode();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(pane.view().dragging());
    const EditControl::Pos selected = edit.selectionEnd() - edit.selectionStart();
    const int offset = pane.view().horizontalOffset();

    // Moves with the button still held, the drag scrolling's pace and the release change nothing.
    PostMessageW(handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right + 80, 5));
    pumpAll(host);
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(4 * EditorPane::kDragScrollMilliseconds);
    pumpUntil(host, [&] { return std::chrono::steady_clock::now() > until; }, slow);
    PostMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(right + 80, 5));
    pumpAll(host);
    EXPECT_EQ(edit.selectionEnd() - edit.selectionStart(), selected);
    EXPECT_EQ(pane.view().horizontalOffset(), offset) << "the drag's scrolling stopped";
    EXPECT_EQ(GetCapture(), nullptr);
}

// An editor pane on a shown frame window, with the keyboard, as the input method's tests start.
struct PaneOnFrame {
    explicit PaneOnFrame(Win32Host& host) : window(host.createWindow(frame, frameOptions())) {
        window->show();
        pane = std::make_unique<EditorPane>(host, *window, edit);
        pane->window().setBounds(Rect{10, 10, 310, 210});
        pane->window().setFocus();
        pumpAll(host);
    }
    HWND handle() const { return static_cast<Win32EditorWindow&>(pane->window()).handle(); }

    QuietWindow frame;
    std::unique_ptr<NativeWindow> window;
    EditControl edit;
    std::unique_ptr<EditorPane> pane;
};

// Puts `text` into the editor's input context as a finished composition, as an input method does
// when the user picks a candidate; Wine's input context sends the editor the composition messages.
void composeInto(HWND editor, const std::wstring& text) {
    HIMC context = ImmGetContext(editor);
    ASSERT_NE(context, nullptr);
    ImmSetOpenStatus(context, TRUE);
    ASSERT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text.c_str()),
                                         static_cast<DWORD>(text.size() * sizeof(wchar_t)), nullptr, 0));
    ASSERT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    ImmReleaseContext(editor, context);
}

void postUnits(HWND editor, UINT message, std::wstring_view units) {
    for (const wchar_t unit : units) PostMessageW(editor, message, unit, 1);
}

TEST(Win32HostServices, TheEditorTypesWhatAnInputMethodSendsOnceAndUndoesAResultWhole) {
    Win32Host host;
    PaneOnFrame placed(host);
    const HWND handle = placed.handle();
    ASSERT_EQ(GetFocus(), handle);
    struct Row {
        const char* what;
        std::function<void()> send;
        std::string typed;      // the editor's bytes afterwards, after an "x" typed before
        std::string afterUndo;  // and after one Alt+Backspace
    };
    const Row rows[] = {
        {"characters without a key press: the input method's default path, and a bare WM_CHAR",
         [&] {
             postUnits(handle, WM_IME_CHAR, L"中文");
             postUnits(handle, WM_CHAR, L"X");
         },
         "x\xD6\xD0\xCE\xC4X", ""},
        {"Tab types nothing, neither as a key nor as its character",
         [&] { PostMessageW(handle, WM_KEYDOWN, VK_TAB, 1 | (MapVirtualKeyW(VK_TAB, MAPVK_VK_TO_VSC) << 16)); }, "x", ""},
        {"a key press types its character once",
         [&] { PostMessageW(handle, WM_KEYDOWN, 'A', 1 | (MapVirtualKeyW('A', MAPVK_VK_TO_VSC) << 16)); }, "xa", ""},
        {"a character outside the basic plane comes in halves and is one \"?\"; control characters type nothing",
         [&] {
             postUnits(handle, WM_IME_CHAR, L"\U0001F600");
             postUnits(handle, WM_CHAR, L"\x01\x1B\x7F");
         },
         "x?", ""},
        {"a composition's result is typed once, as one step", [&] { composeInto(handle, L"中文"); },
         "x\xD6\xD0\xCE\xC4", "x"},
        {"what code page 936 cannot hold becomes \"?\"", [&] { composeInto(handle, L"中\U0001F600文"); },
         "x\xD6\xD0?\xCE\xC4", "x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        placed.edit.setText("");
        PostMessageW(handle, WM_CHAR, 'x', 1);
        pumpAll(host);
        ASSERT_EQ(placed.edit.text(), "x");
        row.send();
        pumpAll(host);
        EXPECT_EQ(placed.edit.text(), row.typed);
        EXPECT_TRUE(placed.pane->view().preedit().empty());
        PostMessageW(handle, WM_SYSKEYDOWN, VK_BACK, 1 | (1 << 29));
        pumpAll(host);
        EXPECT_EQ(placed.edit.text(), row.afterUndo);
    }

    // The input method's windows stand at the caret, which moved on with the text, in its font.
    const Rect caret = placed.pane->view().caretRect();
    ASSERT_GT(caret.left, 0);
    HIMC context = ImmGetContext(handle);
    COMPOSITIONFORM composition{};
    EXPECT_TRUE(ImmGetCompositionWindow(context, &composition));
    EXPECT_EQ(composition.dwStyle, static_cast<DWORD>(CFS_POINT | CFS_FORCE_POSITION));
    EXPECT_EQ(composition.ptCurrentPos.x, caret.left);
    EXPECT_EQ(composition.ptCurrentPos.y, caret.top);
    CANDIDATEFORM candidates{};
    EXPECT_TRUE(ImmGetCandidateWindow(context, 0, &candidates));
    EXPECT_EQ(candidates.ptCurrentPos.y, caret.bottom);
    LOGFONTW font{};
    EXPECT_TRUE(ImmGetCompositionFontW(context, &font));
    EXPECT_EQ(std::wstring(font.lfFaceName), toWide(placed.pane->view().font().family));
    EXPECT_EQ(font.lfHeight, -placed.pane->view().font().pixelHeight);
    ImmReleaseContext(handle, context);
}

TEST(Win32HostServices, TheEditorsTextShowsInTheWindowTextColourLatinAndChineseAlike) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    window->show();
    EditControl edit;
    // The caret stays on the first line, out of the way of the text looked at.
    edit.setText("\r\nabc\r\n\xD6\xD0");
    EditorPane pane(host, *window, edit);
    pane.window().setBounds(Rect{10, 10, 310, 210});
    pumpAll(host);
    pane.window().repaintNow();
    const HWND handle = static_cast<Win32EditorWindow&>(pane.window()).handle();
    const int lineHeight = pane.view().lineHeight();
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    HDC dc = GetDC(handle);
    for (const int line : {1, 2}) {
        SCOPED_TRACE(line == 1 ? "Latin letters" : "a Chinese character");
        // The darkest pixel of the line, by the sum of its channels' distances from the text colour.
        int nearest = 3 * 255;
        for (int y = line * lineHeight; y < (line + 1) * lineHeight; ++y) {
            for (int x = 0; x < 60; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                const int distance = std::abs(GetRValue(pixel) - GetRValue(text)) +
                                     std::abs(GetGValue(pixel) - GetGValue(text)) +
                                     std::abs(GetBValue(pixel) - GetBValue(text));
                nearest = std::min(nearest, distance);
            }
        }
        EXPECT_LE(nearest, 24) << "the glyphs' strokes are not in the text colour";
    }
    ReleaseDC(handle, dc);
}

// Gives the editor the keyboard each time the window is activated, as the program's windows do.
class FocusingWindow : public QuietWindow {
public:
    void activated(bool active) override {
        if (active && editor) editor->setFocus();
    }
    EditorWindow* editor = nullptr;
};

TEST(Win32HostServices, TheEditorHasTheKeyboardWhenItsWindowShowsAndWhenItComesBack) {
    for (const bool onActivation : {false, true}) {
        SCOPED_TRACE(onActivation ? "focused by the window on its activation" : "focused before the window shows");
        Win32Host host;
        FocusingWindow frame;
        auto window = host.createWindow(frame, frameOptions());
        RecordingEditor client;
        auto editor = host.createEditorWindow(*window, client);
        editor->setBounds(Rect{10, 10, 310, 210});
        const HWND handle = static_cast<Win32EditorWindow&>(*editor).handle();
        if (onActivation)
            frame.editor = editor.get();
        else
            editor->setFocus();
        window->show();
        window->activate();
        pumpAll(host);
        EXPECT_EQ(GetFocus(), handle);
        EXPECT_TRUE(editor->hasFocus());

        // Another window takes the keyboard; the first one activated again gives it to its editor.
        QuietWindow otherFrame;
        auto other = host.createWindow(otherFrame, frameOptions());
        other->show();
        other->activate();
        // The window manager follows with its own focus changes, which Wine then applies; the
        // test goes on once they are through.
        const auto settle = [&] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
            pumpUntil(host, [&] { return std::chrono::steady_clock::now() > until; });
        };
        settle();
        ASSERT_EQ(host.activeWindow(), other.get());
        EXPECT_NE(GetFocus(), handle);
        window->activate();
        settle();
        ASSERT_EQ(host.activeWindow(), window.get());
        EXPECT_EQ(GetFocus(), handle);
        EXPECT_EQ(client.focus.back(), true);
    }
}

class RecordingMenus : public MenuListener {
public:
    void submenuOpening(MenuId submenu) override { opened.push_back(submenu); }
    void highlighted(MenuId entry) override { highlights.push_back(entry); }
    void chosen(MenuId entry) override { chosenIds.push_back(entry); }
    MenuCharAnswer characterTyped(MenuId level, std::string_view character, MenuId) override {
        typed.emplace_back(level, std::string(character));
        return answer;
    }
    std::vector<MenuId> opened, highlights, chosenIds;
    std::vector<std::pair<MenuId, std::string>> typed;
    MenuCharAnswer answer;
};

MenuEntry command(MenuId id, const char* caption) {
    MenuEntry e;
    e.id = id;
    e.caption = caption;
    return e;
}

TEST(Win32HostServices, MenuBarShowsItsEntriesAndReportsTheMenuMessages) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    const HWND handle = static_cast<Win32Window&>(*window).handle();
    RecordingMenus listener;
    auto bar = host.createMenuBar(*window, listener);
    MenuEntry file = command(1, "文件(&F)");
    file.kind = MenuEntry::Kind::Submenu;
    file.entries = {command(2, "打开(&O)..."), MenuEntry{}, command(3, "退出(&X)")};
    file.entries[1].kind = MenuEntry::Kind::Separator;
    file.entries[0].shortcutText = "Ctrl+O";
    bar->setEntries(kMenuBarLevel, {file});
    const HMENU menu = GetMenu(handle);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    const HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 3);
    wchar_t text[64] = {};
    GetMenuStringW(popup, 2, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"打开(&O)...\tCtrl+O");

    // Ids are the program's: one used twice or a level the bar does not hold is refused.
    EXPECT_THROW(bar->setEntries(1, {command(3, "a"), command(3, "b")}), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(77, {}), std::invalid_argument);
    EXPECT_THROW(bar->updateEntry(command(77, "x")), std::invalid_argument);
    EXPECT_EQ(GetMenuItemCount(popup), 3);  // a refused change changes nothing

    MenuEntry disabled = command(3, "退出(&X)");
    disabled.enabled = false;
    bar->updateEntry(disabled);
    EXPECT_NE(GetMenuState(popup, 3, MF_BYCOMMAND) & MF_GRAYED, 0u);

    SendMessageW(handle, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_EQ(listener.opened, (std::vector<MenuId>{1}));
    SendMessageW(handle, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(menu));
    SendMessageW(handle, WM_MENUSELECT, MAKEWPARAM(2, MF_STRING), reinterpret_cast<LPARAM>(popup));
    SendMessageW(handle, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(listener.highlights, (std::vector<MenuId>{1, 2, kNoMenuEntry}));

    listener.answer = MenuCharAnswer{MenuCharAnswer::Action::Execute, 3};
    const LRESULT answer = SendMessageW(handle, WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP), reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(answer, MAKELRESULT(2, MNC_EXECUTE));
    ASSERT_EQ(listener.typed.size(), 1u);
    EXPECT_EQ(listener.typed[0], (std::pair<MenuId, std::string>{1, "x"}));

    PostMessageW(handle, WM_COMMAND, MAKEWPARAM(2, 0), 0);
    pumpAll(host);
    EXPECT_EQ(listener.chosenIds, (std::vector<MenuId>{2}));

    bar.reset();
    EXPECT_EQ(GetMenu(handle), nullptr);
}

// A 16 x 16 picture on the menu background: a dark square at the top left, a light one beside it.
Image menuPicture() {
    Image picture(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixel(x, y, y < 6 && x < 6 ? 0x203060u : y < 6 && x < 12 ? 0xFFFFE0u : kMenuPictureBackground);
    return picture;
}

// The pixels of the bitmap a menu item shows (0xAARRGGBB), or nothing for an item without one.
std::optional<Image> itemBitmap(HMENU menu, MenuId id) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    if (!GetMenuItemInfoW(menu, id, FALSE, &info) || !info.hbmpItem) return std::nullopt;
    DIBSECTION section{};
    if (GetObjectW(info.hbmpItem, sizeof section, &section) != sizeof section || !section.dsBm.bmBits) return Image();
    if (section.dsBmih.biBitCount != 32) return Image();
    // Read as a top-down bitmap: one drawn bottom-up shows the pictures upside down here.
    Image pixels(section.dsBm.bmWidth, section.dsBm.bmHeight);
    const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) pixels.setPixel(x, y, bits[y * pixels.width() + x]);
    return pixels;
}

TEST(Win32HostServices, MenuEntriesShowTheirPicturesGreyedWhileDisabledAndUpdatesChangeThem) {
    Win32Host host;
    QuietWindow frame;
    auto window = host.createWindow(frame, frameOptions());
    RecordingMenus listener;
    auto bar = host.createMenuBar(*window, listener);
    MenuEntry edit = command(1, "编辑(&E)");
    edit.kind = MenuEntry::Kind::Submenu;
    MenuEntry copy = command(2, "复制(&C)"), send = command(3, "发送(&S)"), exit = command(4, "退出(&X)");
    copy.image = send.image = menuPicture();
    send.enabled = false;
    edit.entries = {copy, send, exit};
    bar->setEntries(kMenuBarLevel, {edit});
    const HMENU popup = GetSubMenu(GetMenu(static_cast<Win32Window&>(*window).handle()), 0);
    ASSERT_NE(popup, nullptr);

    struct Row {
        MenuId id;
        bool picture, greyedPicture;
    };
    // A disabled picture keeps its dark ink as a grey and loses its light parts.
    const auto greyed = [](std::uint32_t pixel) { return pixel != 0xFF203060u && (pixel >> 24) == 0xFF; };
    for (const Row& row : {Row{2, true, false}, Row{3, true, true}, Row{4, false, false}}) {
        SCOPED_TRACE(row.id);
        const std::optional<Image> shown = itemBitmap(popup, row.id);
        ASSERT_EQ(shown.has_value(), row.picture);
        if (!shown) continue;
        ASSERT_EQ(shown->width(), 16);
        ASSERT_EQ(shown->height(), 16);
        EXPECT_EQ(shown->pixel(2, 12) >> 24, 0u) << "transparent where the menu shows through";
        if (row.greyedPicture) {
            EXPECT_TRUE(greyed(shown->pixel(2, 2))) << std::hex << shown->pixel(2, 2);
            EXPECT_EQ(shown->pixel(9, 3) >> 24, 0u) << "the light part drops out";
        } else {
            EXPECT_EQ(shown->pixel(2, 2), 0xFF203060u);
            EXPECT_EQ(shown->pixel(8, 2), 0xFFFFFFE0u);
        }
    }

    // The picture comes and goes with the entry's updates, and follows its enabled state.
    exit.image = menuPicture();
    bar->updateEntry(exit);
    ASSERT_TRUE(itemBitmap(popup, 4).has_value());
    EXPECT_EQ(itemBitmap(popup, 4)->pixel(2, 2), 0xFF203060u);
    exit.enabled = false;
    bar->updateEntry(exit);
    EXPECT_TRUE(greyed(itemBitmap(popup, 4)->pixel(2, 2)));
    const auto bitmapOf = [popup](MenuId id) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP;
        GetMenuItemInfoW(popup, id, FALSE, &info);
        return info.hbmpItem;
    };
    const HBITMAP dropped = bitmapOf(4);
    exit.image = Image();
    bar->updateEntry(exit);
    EXPECT_FALSE(itemBitmap(popup, 4).has_value());
    BITMAP gone{};
    EXPECT_EQ(GetObjectW(dropped, sizeof gone, &gone), 0) << "the bitmap no item shows is deleted";
    // Replacing the level lets the old bitmaps go with their items.
    const HBITMAP replaced = bitmapOf(2);
    bar->setEntries(1, {command(5, "全选(&A)")});
    EXPECT_FALSE(itemBitmap(popup, 5).has_value());
    EXPECT_EQ(GetObjectW(replaced, sizeof gone, &gone), 0);
}

// The visible tooltip window of this process, or null.
HWND visibleTooltip() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpiW(name, L"tooltips_class32") == 0) {
                reinterpret_cast<Search*>(data)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(Win32HostServices, TooltipShowsItsTextBelowThePointerOnTheScreenAndHides) {
    Win32Host host;
    host.tooltipWindow().show("剪切 (Ctrl+X)", Point{200, 150});
    ASSERT_TRUE(pumpUntil(host, [] { return visibleTooltip() != nullptr; }));
    RECT shown{};
    GetWindowRect(visibleTooltip(), &shown);
    EXPECT_GT(shown.top, 150);
    EXPECT_GE(shown.left, 0);
    EXPECT_LE(shown.right, GetSystemMetrics(SM_CXSCREEN));
    // Near the screen's bottom right corner it stays on the screen, above the pointer.
    const Point corner{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2};
    host.tooltipWindow().show("剪切 (Ctrl+X)", corner);
    pumpAll(host);
    GetWindowRect(visibleTooltip(), &shown);
    EXPECT_LE(shown.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(shown.bottom, corner.y + 1);
    host.tooltipWindow().hide();
    EXPECT_TRUE(pumpUntil(host, [] { return visibleTooltip() == nullptr; }));
    host.tooltipWindow().hide();  // hiding a hidden tooltip does nothing
    host.warningSound().play();   // a system without sound stays silent, and nothing fails
}

TEST(Win32HostServices, ACancelledPrintDialogPrintsNothing) {
    Win32Host host;
    // The dialog runs its own loop, in which the host's timers still fire: one cancels it. Without
    // any printer the system may refuse to show it at all, which is an error and prints nothing too.
    std::function<void()> cancel = [&] {
        if (HWND dialog = FindWindowW(L"#32770", nullptr)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        else host.startTimer(100, cancel);
    };
    host.startTimer(100, cancel);
    PrintJob job;
    job.title = "zozuz";
    job.font = kSong;
    job.lineCount = 2;
    int asked = 0;
    job.line = [&](std::size_t) {
        ++asked;
        return std::string("中文");
    };
    try {
        EXPECT_FALSE(host.printer().print(job));
    } catch (const EPrinter&) {
    }
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(host.fileDialogs().documentsFolder().empty());
}

// The texts a metafile draws with ExtTextOutW, with the left end of each.
struct DrawnText {
    int x;
    int y;
    std::wstring text;
};

std::vector<DrawnText> textsOf(HENHMETAFILE metafile) {
    std::vector<DrawnText> texts;
    EnumEnhMetaFile(
        nullptr, metafile,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
            if (record->iType == EMR_EXTTEXTOUTW) {
                const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
                const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(out) + out->emrtext.offString);
                reinterpret_cast<std::vector<DrawnText>*>(data)->push_back(
                    {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y, std::wstring(chars, out->emrtext.nChars)});
            }
            return 1;
        },
        &texts, nullptr);
    return texts;
}

TEST(Win32HostServices, PrintedRowsKeepEveryCharacterInOrderWithinTheMargins) {
    // Wine offers no printer to print on, so the page is drawn into a metafile and read back.
    Win32Host host;
    std::string sentence;  // 这是一行很长的文字，
    for (const char* c : {"\xD5\xE2", "\xCA\xC7", "\xD2\xBB", "\xD0\xD0", "\xBA\xDC", "\xB3\xA4", "\xB5\xC4", "\xCE\xC4", "\xD7\xD6", "\xA3\xAC"})
        sentence += c;
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += sentence;
    const std::vector<std::string> lines{longLine, "a\tb\xFF"};

    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(dc, nullptr);
    const int margin = MulDiv(200, GetDeviceCaps(dc, LOGPIXELSX), 254);
    const int areaWidth = GetDeviceCaps(dc, HORZRES);
    PrintLayout::Geometry geometry;
    int pages = 0;
    {
        GdiPrintPainter painter(dc, kSong, host.codePageCodec());
        geometry = painter.geometry();
        EXPECT_EQ(painter.left(), margin);
        EXPECT_EQ(geometry.width, areaWidth - 2 * margin);
        const CharacterKinds kinds(LeadByteSet::codePage936(), host.codePageCodec());
        PrintLayout layout(kinds, painter, geometry, lines.size(), [&](std::size_t i) { return lines[i]; });
        for (PrintLayout::Page page; layout.nextPage(page); ++pages) painter.draw(page);
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    const std::vector<DrawnText> texts = textsOf(metafile);
    DeleteEnhMetaFile(metafile);

    // The long line's rows, then "a", "b", the box's digits and the page number: nothing left out.
    EXPECT_EQ(pages, 1);
    std::wstring drawn;
    for (const DrawnText& text : texts) drawn += text.text;
    EXPECT_EQ(drawn, toWide(host.codePageCodec().decodeText(longLine)) + L"abFF1");
    ASSERT_GE(texts.size(), 5u);
    const std::size_t rows = texts.size() - 4;
    EXPECT_GE(rows, 2u);
    const int advance = kSong.pixelHeight;  // a Chinese character is one em wide
    for (std::size_t i = 0; i < rows; ++i) {
        EXPECT_EQ(texts[i].x, margin) << i;
        EXPECT_EQ(texts[i].y, margin + static_cast<int>(i) * geometry.lineHeight) << i;
        // Each row fits the area, and every row but the last is full.
        const int characters = static_cast<int>(texts[i].text.size());
        EXPECT_LE(characters * advance, geometry.width) << i;
        if (i + 1 < rows) {
            EXPECT_GT((characters + 1) * advance, geometry.width) << i;
        }
    }
    // "b" stands at the first tab stop, and the page number is centred at the foot.
    EXPECT_EQ(texts[rows + 1].x, margin + geometry.tabStop);
    const DrawnText& number = texts.back();
    EXPECT_NEAR(number.x, areaWidth / 2, kSong.pixelHeight);
    EXPECT_EQ(number.y, margin + geometry.height - geometry.lineHeight);
}

// Dismisses every dialog of this thread, a file dialog and any complaint it shows.
void cancelThreadDialogs() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wcscmp(className, L"#32770") == 0) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        },
        0);
}

TEST(Win32HostServices, TheSaveDialogTakesANameInAFolderThatDoesNotExist) {
    Win32Host host;
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"zozuz-no-such-folder";
    RemoveDirectoryW(folder.c_str());
    const std::wstring missing = folder + L"\\密文.txt";
    FileDialogRequest request;
    request.title = "zozuz 另存为";
    request.filters = {{"文本文件", "*.txt"}};
    request.defaultExtension = "txt";
    request.initialFolder = fromWide(temp);

    // The user types the full name and presses Save; a dialog still up a second later refused it.
    int presses = 0;
    bool refused = false;
    Host::TimerId pending = 0;
    std::function<void()> act = [&] {
        HWND dialog = FindWindowW(L"#32770", L"zozuz 另存为");
        if (!dialog) {
            pending = host.startTimer(50, act);
            return;
        }
        if (presses++ == 0) {
            SetDlgItemTextW(dialog, cmb13, missing.c_str());
            SetDlgItemTextW(dialog, edt1, missing.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            pending = host.startTimer(1000, act);
            return;
        }
        refused = true;
        cancelThreadDialogs();
        pending = host.startTimer(200, act);
    };
    pending = host.startTimer(100, act);
    const FileDialogResult result = host.fileDialogs().saveFile(request);
    host.stopTimer(pending);
    EXPECT_FALSE(refused);
    ASSERT_TRUE(result.confirmed);
    EXPECT_EQ(result.path, fromWide(missing));
}

// A file type whose one action is a default other than "open": it deletes the file it is given.
class TidyingFileType {
public:
    TidyingFileType() {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring command = L"\"" + std::wstring(system) + L"\\cmd.exe\" /c del \"%1\"";
        set(L".zozuztidy", nullptr, L"zozuz.tidy");
        set(L"zozuz.tidy\\shell", nullptr, L"tidy");
        set(L"zozuz.tidy\\shell\\tidy\\command", nullptr, command);
    }
    ~TidyingFileType() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".zozuztidy");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"zozuz.tidy");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L".zozuztidy");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"zozuz.tidy");
    }

private:
    static void set(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, name, REG_SZ, value.c_str(), bytes), ERROR_SUCCESS);
    }
};

TEST(Win32HostServices, AnAddressIsOpenedWithItsHandlersDefaultAction) {
    Win32Host host;
    TidyingFileType type;
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring file = std::wstring(temp) + L"zozuz-address.zozuztidy";
    HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);

    EXPECT_TRUE(host.openAddress(fromWide(file), nullptr));
    // The handler runs in a process of its own.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES && std::chrono::steady_clock::now() < deadline)
        Sleep(50);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "the default action did not run";
    DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace zozuz
