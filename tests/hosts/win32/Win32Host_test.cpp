// The Windows host under Wine (on an X server): its windows, message pump, timers, keys, painting,
// text, message boxes and process facts, each through the system's own calls.
#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/gfx/Font.h"
#include "platform/gfx/Image.h"
#include "platform/host/HostListener.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"

namespace zozuz {
namespace {

// Remembers what the host told it; optionally consumes keys or fails on a close request.
class RecordingClient : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        previews.push_back(key);
        return consumeKeys;
    }
    void keyPress(const KeyEvent& key) override { presses.push_back(key); }
    void mouse(const MouseEvent& event) override { mice.push_back(event); }
    void closeRequest() override {
        ++closeRequests;
        if (failOnClose) throw std::runtime_error("close failed");
    }
    void paint(Surface& surface, const Rect& area) override {
        paints.push_back(area);
        Image fill(area.width(), area.height());
        for (int y = 0; y < fill.height(); ++y)
            for (int x = 0; x < fill.width(); ++x) fill.setPixel(x, y, paintColour);
        surface.drawImage(Point{area.left, area.top}, fill, area);
    }
    void activated(bool active) override { activations.push_back(active); }

    bool consumeKeys = false;
    bool failOnClose = false;
    std::uint32_t paintColour = 0x336699;
    std::vector<KeyEvent> previews;
    std::vector<KeyEvent> presses;
    std::vector<MouseEvent> mice;
    std::vector<Rect> paints;
    std::vector<bool> activations;
    int closeRequests = 0;
};

HWND handleOf(NativeWindow& window) { return static_cast<Win32Window&>(window).handle(); }

// Pumps until `done` holds or two seconds pass; Wine answers some requests a little late.
bool pumpUntil(Win32Host& host, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (host.pumpOne() == Host::PumpResult::Empty) Sleep(5);
    }
    return true;
}

void pumpAll(Win32Host& host) {
    while (host.pumpOne() != Host::PumpResult::Empty) {
    }
}

COLORREF screenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

WindowOptions options(WindowFrame frame = WindowFrame::Sizeable, const char* caption = "zozuz") {
    WindowOptions o;
    o.frame = frame;
    o.caption = caption;
    o.bounds = Rect{193, 135, 763, 520};
    return o;
}

TEST(Win32Environment, AnsiCodePageIsChinese) {
    // With any other code page the program's Chinese texts and GBK files turn to mojibake.
    EXPECT_EQ(GetACP(), 936u);
}

TEST(Win32Host, WindowsKeepCaptionBoundsAndStateAsGiven) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options(WindowFrame::Sizeable, "加密 zozuz"));
    EXPECT_FALSE(window->visible());
    EXPECT_TRUE(window->enabled());
    EXPECT_EQ(window->caption(), "加密 zozuz");
    EXPECT_EQ(window->bounds(), (Rect{193, 135, 763, 520}));
    const Size client0 = window->clientSize();
    EXPECT_LT(client0.width, 570);
    EXPECT_LT(client0.height, 385);

    window->setCaption("关于");
    EXPECT_EQ(window->caption(), "关于");
    window->setClientSize(Size{300, 200});
    EXPECT_EQ(window->clientSize(), (Size{300, 200}));
    EXPECT_EQ(window->bounds().left, 193);

    // A state given while hidden is taken on when the window shows.
    window->setState(WindowState::Maximized);
    EXPECT_EQ(window->state(), WindowState::Maximized);
    EXPECT_FALSE(IsZoomed(handleOf(*window)));
    window->show();
    EXPECT_TRUE(window->visible());
    EXPECT_TRUE(IsZoomed(handleOf(*window)));
    // Bounds set while maximised are the ones it returns to.
    window->setBounds(Rect{10, 20, 410, 320});
    EXPECT_EQ(window->bounds(), (Rect{10, 20, 410, 320}));
    window->setState(WindowState::Normal);
    EXPECT_EQ(window->state(), WindowState::Normal);
    EXPECT_EQ(window->bounds(), (Rect{10, 20, 410, 320}));
    window->hide();
    EXPECT_FALSE(window->visible());
    pumpAll(host);
}

// The icons a window's caption and task bar show: (big, small), null for none.
std::pair<LRESULT, LRESULT> iconsOf(NativeWindow& window) {
    return {SendMessageW(handleOf(window), WM_GETICON, ICON_BIG, 0), SendMessageW(handleOf(window), WM_GETICON, ICON_SMALL, 0)};
}

TEST(Win32Host, DialogFrameIsFixedWithoutIconAndOwnedWindowsStayEnabled) {
    Win32Host host;
    host.setApplicationIcon(Image(32, 32));
    RecordingClient mainClient, dialogClient;
    auto main = host.createWindow(mainClient, options());
    WindowOptions o = options(WindowFrame::Dialog, "关于");
    o.owner = main.get();
    auto dialog = host.createWindow(dialogClient, o);
    const HWND handle = handleOf(*dialog);
    EXPECT_EQ(GetWindow(handle, GW_OWNER), handleOf(*main));
    EXPECT_EQ(GetWindowLongPtrW(handle, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(GetWindowLongPtrW(handle, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_NE(GetWindowLongPtrW(handleOf(*main), GWL_STYLE) & WS_THICKFRAME, 0);
    // The application's icon shows on every window but those with the dialog frame, whichever icon
    // they are given.
    const auto none = std::pair<LRESULT, LRESULT>{0, 0};
    EXPECT_NE(iconsOf(*main).first, 0);
    EXPECT_NE(iconsOf(*main).second, 0);
    EXPECT_EQ(iconsOf(*dialog), none);
    host.setApplicationIcon(Image(16, 16));
    dialog->setIcon(Image(16, 16));
    EXPECT_EQ(iconsOf(*dialog), none);
    EXPECT_NE(iconsOf(*main).first, 0);

    // The frame can change afterwards; the outer bounds stay, and the icon goes with the frame.
    main->setFrame(WindowFrame::Dialog);
    EXPECT_EQ(main->frame(), WindowFrame::Dialog);
    EXPECT_EQ(GetWindowLongPtrW(handleOf(*main), GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(main->bounds(), (Rect{193, 135, 763, 520}));
    EXPECT_EQ(iconsOf(*main), none);
    dialog->setFrame(WindowFrame::Sizeable);
    EXPECT_NE(iconsOf(*dialog).second, 0);

    main->setEnabled(false);
    EXPECT_FALSE(main->enabled());
    EXPECT_TRUE(dialog->enabled());
    main->setEnabled(true);
    EXPECT_TRUE(main->enabled());
}

TEST(Win32Host, PumpDeliversWaitingMessagesThenReportsTheQuitRequestOnce) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    pumpAll(host);
    EXPECT_EQ(host.pumpOne(), Host::PumpResult::Empty);
    PostMessageW(handleOf(*window), WM_CLOSE, 0, 0);  // the window is hidden: the request is ignored
    pumpAll(host);
    EXPECT_EQ(client.closeRequests, 0);
    window->show();
    PostMessageW(handleOf(*window), WM_CLOSE, 0, 0);
    host.postQuit();
    Host::PumpResult result = Host::PumpResult::Empty;
    while ((result = host.pumpOne()) == Host::PumpResult::Handled) {
    }
    EXPECT_EQ(result, Host::PumpResult::Quit);
    EXPECT_EQ(client.closeRequests, 1);
    // The window was only asked, never closed.
    EXPECT_TRUE(window->visible());
    EXPECT_TRUE(IsWindow(handleOf(*window)));
}

// Counts the two steps of the desktop session's end and answers the question as it is told.
class SessionListener : public HostListener {
public:
    bool sessionEndQuery() override {
        ++queries;
        if (failQuery) throw std::runtime_error("close check failed");
        return answer;
    }
    void sessionEnding() override { ++endings; }
    bool answer = true;
    bool failQuery = false;
    int queries = 0;
    int endings = 0;
};

TEST(Win32Host, TheSessionsEndIsOnlyAskedAboutUntilWmEndSessionEndsTheProgram) {
    SessionListener listener;
    Win32Host host;
    host.setListener(&listener);
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    pumpAll(host);
    const HWND handle = handleOf(*window);

    // The question's answer is the message's result; the program is not told to end.
    EXPECT_EQ(SendMessageW(handle, WM_QUERYENDSESSION, 0, 0), TRUE);
    listener.answer = false;
    EXPECT_EQ(SendMessageW(handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_EQ(listener.queries, 2);
    EXPECT_EQ(listener.endings, 0);

    // Someone cancelled the end: the program goes on as before.
    SendMessageW(handle, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(listener.endings, 0);

    // The end itself tells the program, and closes no window on the way.
    listener.answer = true;
    EXPECT_EQ(SendMessageW(handle, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(handle, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(listener.endings, 1);
    EXPECT_NO_THROW(pumpAll(host));
    EXPECT_EQ(client.closeRequests, 0);
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(listener.queries, 3);
}

TEST(Win32Host, EveryTopLevelWindowAnswersTheQuestionAndNoneEndsTheProgram) {
    SessionListener listener;
    Win32Host host;
    host.setListener(&listener);
    // The system asks every top-level window of the program, shown or hidden, owned or not.
    RecordingClient mainClient, dialogClient, hiddenClient;
    auto main = host.createWindow(mainClient, options());
    WindowOptions owned = options(WindowFrame::Dialog, "关于");
    owned.owner = main.get();
    auto dialog = host.createWindow(dialogClient, owned);
    auto hidden = host.createWindow(hiddenClient, options());
    main->show();
    dialog->show();
    pumpAll(host);

    for (const bool answer : {true, false}) {
        listener.answer = answer;
        for (NativeWindow* window : {main.get(), dialog.get(), hidden.get()})
            EXPECT_EQ(SendMessageW(handleOf(*window), WM_QUERYENDSESSION, 0, 0), answer ? TRUE : FALSE) << answer;
    }
    // The log-off was refused, so it is cancelled for every window that was asked.
    for (NativeWindow* window : {main.get(), dialog.get(), hidden.get()})
        SendMessageW(handleOf(*window), WM_ENDSESSION, FALSE, 0);
    EXPECT_GE(listener.queries, 2);
    EXPECT_EQ(listener.endings, 0);
    EXPECT_EQ(mainClient.closeRequests + dialogClient.closeRequests + hiddenClient.closeRequests, 0);
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(dialog->visible());
    EXPECT_FALSE(hidden->visible());
    EXPECT_TRUE(IsWindow(handleOf(*hidden)));
    Host::PumpResult result = Host::PumpResult::Empty;
    while ((result = host.pumpOne()) == Host::PumpResult::Handled) {
    }
    EXPECT_EQ(result, Host::PumpResult::Empty) << "no quit request";
}

TEST(Win32Host, AQuestionTheProgramFailsToAnswerRefusesTheEndAndTheErrorComesOutOfThePump) {
    SessionListener listener;
    Win32Host host;
    host.setListener(&listener);
    RecordingClient client;
    auto window = host.createWindow(client, options());
    pumpAll(host);
    listener.failQuery = true;
    // Ending the session while the program cannot say it may would lose the user's text.
    EXPECT_EQ(SendMessageW(handleOf(*window), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_THROW(pumpAll(host), std::runtime_error);
    EXPECT_EQ(listener.endings, 0);

    // Without a listener nothing holds the session up.
    host.setListener(nullptr);
    EXPECT_EQ(SendMessageW(handleOf(*window), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(handleOf(*window), WM_ENDSESSION, TRUE, 0);
    EXPECT_NO_THROW(pumpAll(host));
}

TEST(Win32Host, DisabledWindowCannotBeAskedToClose) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    window->setEnabled(false);
    PostMessageW(handleOf(*window), WM_CLOSE, 0, 0);
    pumpAll(host);
    EXPECT_EQ(client.closeRequests, 0);
}

TEST(Win32Host, AnErrorInTheProgramTravelsOutOfThePumpStepThatDeliveredIt) {
    Win32Host host;
    RecordingClient client;
    client.failOnClose = true;
    auto window = host.createWindow(client, options());
    window->show();
    pumpAll(host);
    PostMessageW(handleOf(*window), WM_CLOSE, 0, 0);
    EXPECT_THROW(pumpAll(host), std::runtime_error);
    // Kept once: the next step goes on normally.
    client.failOnClose = false;
    EXPECT_NO_THROW(pumpAll(host));
}

TEST(Win32Host, TimersFireOnceAndStoppedTimersNever) {
    Win32Host host;
    int fired = 0, stopped = 0;
    host.startTimer(20, [&] { ++fired; });
    const Host::TimerId cancelled = host.startTimer(20, [&] { ++stopped; });
    host.stopTimer(cancelled);
    host.stopTimer(12345);  // unknown: ignored
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(pumpUntil(host, [&] { return fired == 1; }));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(15));
    Sleep(60);
    pumpAll(host);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(stopped, 0);

    host.startTimer(0, [] { throw std::runtime_error("timer failed"); });
    EXPECT_THROW(pumpUntil(host, [] { return false; }), std::runtime_error);
}

TEST(Win32Host, WaitReturnsAtOnceWhenSomethingIsWaitingAndWakesForATimer) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    pumpAll(host);
    PostMessageW(handleOf(*window), WM_NULL, 0, 0);
    host.waitForEvent();  // would block forever if it missed the waiting message
    pumpAll(host);
    bool fired = false;
    host.startTimer(30, [&] { fired = true; });
    while (!fired) {
        host.waitForEvent();
        pumpAll(host);
    }
    EXPECT_TRUE(fired);
}

TEST(Win32Host, KeysAreOfferedToTheWindowFirstWithTheTextTheyType) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    pumpAll(host);
    const HWND handle = handleOf(*window);
    const LPARAM aDown = 1 | (MapVirtualKeyW('A', MAPVK_VK_TO_VSC) << 16);
    PostMessageW(handle, WM_KEYDOWN, 'A', aDown);
    pumpAll(host);
    ASSERT_EQ(client.previews.size(), 1u);
    EXPECT_EQ(client.previews[0].virtualKey, 'A');
    EXPECT_EQ(client.previews[0].kind, KeyEvent::Kind::Down);
    EXPECT_FALSE(client.previews[0].alt);
    EXPECT_EQ(client.previews[0].text, "a");
    // Not consumed: the window's own key handling sees it, with the same text.
    ASSERT_EQ(client.presses.size(), 1u);
    EXPECT_EQ(client.presses[0].text, "a");

    // F12 with Alt held (the message's context bit) types nothing; a consumed key goes no further.
    client.consumeKeys = true;
    PostMessageW(handle, WM_SYSKEYDOWN, VK_F12, 1 | (1 << 29));
    PostMessageW(handle, WM_KEYDOWN, 'B', 1 | (MapVirtualKeyW('B', MAPVK_VK_TO_VSC) << 16));
    pumpAll(host);
    ASSERT_EQ(client.previews.size(), 3u);
    EXPECT_EQ(client.previews[1].virtualKey, VK_F12);
    EXPECT_TRUE(client.previews[1].alt);
    EXPECT_EQ(client.previews[1].text, "");
    EXPECT_EQ(client.previews[1].keyCode(), makeKeyCode(VK_F12, false, false, true));
    EXPECT_EQ(client.presses.size(), 1u);
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, handle, WM_CHAR, WM_CHAR, PM_NOREMOVE));
}

TEST(Win32Host, MouseMessagesArriveInClientCoordinates) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    pumpAll(host);
    PostMessageW(handleOf(*window), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(12, 34));
    PostMessageW(handleOf(*window), WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    pumpAll(host);
    // Wine may slip in pointer moves of its own (a window appearing under the pointer), so the
    // test looks at the button messages only.
    std::vector<MouseEvent> buttons;
    for (const MouseEvent& event : client.mice)
        if (event.kind != MouseEvent::Kind::Move)
            buttons.push_back(event);
    ASSERT_EQ(buttons.size(), 2u);
    const MouseEvent& down = buttons[0];
    EXPECT_EQ(down.kind, MouseEvent::Kind::Down);
    EXPECT_EQ(down.button, MouseEvent::Button::Left);
    EXPECT_EQ(down.position, (Point{12, 34}));
    EXPECT_TRUE(down.shift);
    EXPECT_EQ(buttons[1].button, MouseEvent::Button::Right);
    EXPECT_EQ(buttons[1].kind, MouseEvent::Kind::Up);
    EXPECT_EQ(buttons[1].position, (Point{5, 6}));
}

TEST(Win32Host, DrawingOnTheSurfaceReachesTheWindowAtOnceAndPaintsComeFromTheLoop) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    ASSERT_TRUE(pumpUntil(host, [&] { return !client.paints.empty(); }));
    const Size size = window->clientSize();
    EXPECT_EQ(client.paints.front(), (Rect{0, 0, size.width, size.height}));
    const HWND handle = handleOf(*window);
    EXPECT_EQ(screenPixel(handle, size.width - 1, size.height - 1), RGB(0x33, 0x66, 0x99));

    // Immediate: no pump step between the drawing and the pixel on the window.
    Image red(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) red.setPixel(x, y, 0xFF0000);
    window->surface().drawImage(Point{20, 30}, red, Rect{0, 0, size.width, size.height});
    EXPECT_EQ(screenPixel(handle, 20, 30), RGB(0xFF, 0, 0));
    EXPECT_EQ(screenPixel(handle, 29, 39), RGB(0xFF, 0, 0));
    EXPECT_EQ(screenPixel(handle, 30, 40), RGB(0x33, 0x66, 0x99));

    // Deferred: an invalidated area is painted once, from the loop.
    client.paints.clear();
    client.paintColour = 0x00FF00;
    window->invalidate(Rect{0, 0, 5, 5});
    window->invalidate(Rect{0, 0, 5, 5});
    EXPECT_TRUE(client.paints.empty());
    pumpAll(host);
    ASSERT_EQ(client.paints.size(), 1u);
    EXPECT_EQ(client.paints[0], (Rect{0, 0, 5, 5}));
    EXPECT_EQ(screenPixel(handle, 2, 2), RGB(0, 0xFF, 0));
}

TEST(Win32Host, ActivatingAVisibleWindowMakesItTheActiveWindow) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->activate();  // hidden: nothing happens
    EXPECT_EQ(host.activeWindow(), nullptr);
    window->show();
    window->activate();
    ASSERT_TRUE(pumpUntil(host, [&] { return host.activeWindow() == window.get(); }));
    ASSERT_FALSE(client.activations.empty());
    EXPECT_TRUE(client.activations.back());
    const Rect b = window->bounds();
    EXPECT_EQ(host.windowAt(Point{(b.left + b.right) / 2, (b.top + b.bottom) / 2}), window.get());
    EXPECT_EQ(window->screenToClient(window->clientToScreen(Point{7, 9})), (Point{7, 9}));
}

TEST(Win32Host, PointerTakesTheProgramsShapeOverTheClientAreaOnly) {
    Win32Host host;
    RecordingClient client;
    auto window = host.createWindow(client, options());
    window->show();
    pumpAll(host);
    const HWND handle = handleOf(*window);
    const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    const HCURSOR hand = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    SendMessageW(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
    window->setPointerShape(PointerShape::Hand);
    SendMessageW(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);
    // Over the frame the system decides: the program's hand does not spread there.
    SetCursor(arrow);
    SendMessageW(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), hand);
    window->setPointerShape(PointerShape::Arrow);
    SendMessageW(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(Win32Host, GdiTextUsesTheChineseFontAndDrawsOnlyTheGlyphs) {
    Win32Host host;
    const Font font{"宋体", 12, Font::Charset::GB2312, 0, false};
    const Size chinese = host.textRenderer().measure(font, "中文");
    const Size latin = host.textRenderer().measure(font, "ab");
    EXPECT_GE(chinese.height, 12);
    EXPECT_GT(chinese.width, latin.width);
    EXPECT_EQ(host.textRenderer().measure(font, "").width, 0);

    Image image(40, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) image.setPixel(x, y, 0xFFFFFF);
    host.textRenderer().draw(image, 2, 2, Rect{0, 0, 20, 20}, font, "中文", 0x000000);
    int dark = 0, outside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            if (image.pixel(x, y) == 0xFFFFFF) continue;
            (x < 20 ? dark : outside)++;
        }
    EXPECT_GT(dark, 10);
    EXPECT_EQ(outside, 0);  // clipped
}

TEST(Win32Host, MessageBoxShowsTheTextAndReturnsTheChosenButton) {
    Win32Host host;
    std::wstring seenText;
    // The box runs its own loop, in which the host's timers still fire: one answers it.
    host.startTimer(100, [&] {
        HWND box = FindWindowW(L"#32770", L"zozuz 问题");
        if (!box) return;
        wchar_t text[256] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        seenText = text;
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    MessageBoxRequest request;
    request.caption = "zozuz 问题";
    request.text = "覆盖吗?";
    request.icon = MessageBoxIcon::Question;
    request.buttons = MessageBoxButtons::YesNoCancel;
    EXPECT_EQ(host.messageBox(request), MessageBoxResult::No);
    EXPECT_EQ(seenText, L"覆盖吗?");
}

// What a box showed of itself while it was up.
struct SeenBox {
    std::wstring buttons;  // the texts left to right, each followed by "|"
    int defaultId = 0;  // the button Enter presses
    RECT bounds{};
    bool hasIcon = false;
};

SeenBox lookAtBox(HWND box) {
    SeenBox seen;
    std::vector<std::pair<LONG, std::wstring>> buttons;
    for (const int id : {IDYES, IDNO, IDCANCEL, IDOK}) {
        HWND button = GetDlgItem(box, id);
        if (!button || !IsWindowVisible(button)) continue;
        wchar_t text[64] = {};
        GetWindowTextW(button, text, 64);
        RECT r{};
        GetWindowRect(button, &r);
        buttons.emplace_back(r.left, text);
        if ((GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultId = id;
    }
    std::sort(buttons.begin(), buttons.end());
    for (const auto& [x, text] : buttons) seen.buttons += text + L"|";
    GetWindowRect(box, &seen.bounds);
    // The icon is a static control of its own beside the text.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) seen.hasIcon = true;
    return seen;
}

TEST(Win32Host, EveryBoxStandsInTheMiddleOfTheScreenAndOnlyQuestionsAnswerInEnglish) {
    Win32Host host;
    RecordingClient client;
    WindowOptions o = options();
    o.bounds = Rect{0, 0, 320, 240};  // in a corner, so that centring over it would show
    auto owner = host.createWindow(client, o);
    owner->show();
    pumpAll(host);

    struct Row {
        MessageBoxButtons buttons;
        MessageBoxIcon icon;
        int pressed;
        MessageBoxResult expected;
        const wchar_t* labels;  // null: the system's own label for the one button
        int defaultId;
    };
    const Row rows[] = {
        {MessageBoxButtons::YesNoCancel, MessageBoxIcon::Question, IDYES, MessageBoxResult::Yes, L"&Yes|&No|Cancel|", IDYES},
        {MessageBoxButtons::YesNoCancel, MessageBoxIcon::Question, IDNO, MessageBoxResult::No, L"&Yes|&No|Cancel|", IDYES},
        {MessageBoxButtons::YesNoCancel, MessageBoxIcon::Question, IDCANCEL, MessageBoxResult::Cancel, L"&Yes|&No|Cancel|", IDYES},
        {MessageBoxButtons::Ok, MessageBoxIcon::Stop, IDOK, MessageBoxResult::Ok, nullptr, IDOK},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pressed);
        SeenBox seen;
        std::function<void()> answer = [&] {
            // The box exists before it shows: the system arranges it when it is first activated,
            // and on a busy machine a timer can fire in between.
            HWND box = FindWindowW(L"#32770", L"Confirm");
            if (!box || !IsWindowVisible(box) || GetActiveWindow() != box) {
                host.startTimer(50, answer);
                return;
            }
            seen = lookAtBox(box);
            PostMessageW(box, WM_COMMAND, row.pressed, 0);
        };
        host.startTimer(100, answer);
        MessageBoxRequest request;
        request.owner = owner.get();
        request.caption = "Confirm";
        request.text = "OK to overwrite C:\\文档\\密文.txt";
        request.icon = row.icon;
        request.buttons = row.buttons;
        EXPECT_EQ(host.messageBox(request), row.expected);
        if (row.labels) {
            EXPECT_EQ(seen.buttons, row.labels);
        } else {
            EXPECT_EQ(std::count(seen.buttons.begin(), seen.buttons.end(), L'|'), 1) << "one button";
            EXPECT_EQ(seen.buttons.find(L"&Yes"), std::wstring::npos);
        }
        EXPECT_EQ(seen.defaultId, row.defaultId);
        EXPECT_TRUE(seen.hasIcon);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR(seen.bounds.left + seen.bounds.right, work.left + work.right, 2);
        EXPECT_NEAR(seen.bounds.top + seen.bounds.bottom, work.top + work.bottom, 2);
    }
}

TEST(Win32Host, ProcessFacts) {
    Win32Host host;
    EXPECT_TRUE(host.comInitialised());
    // COM is already initialised for this thread by the host.
    const HRESULT again = CoInitialize(nullptr);
    EXPECT_EQ(again, S_FALSE);
    if (SUCCEEDED(again)) CoUninitialize();

    const std::string path = host.executablePath();
    EXPECT_NE(path.find("Win32HostTests.exe"), std::string::npos) << path;
    EXPECT_NE(path.find('\\'), std::string::npos) << path;
    const Size screen = host.screenSize();
    EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GT(screen.height, 0);
    // The work area is that of the monitor a window is on, or nearest to.
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const Rect area{work.left, work.top, work.right, work.bottom};
    EXPECT_EQ(host.workArea(Rect{40, 30, 340, 230}), area);
    EXPECT_EQ(host.workArea(Rect{-5000, 9000, -4000, 9500}), area);
}

}  // namespace
}  // namespace zozuz
