// The About box on a real X server under openbox, with real X input: its client area has its size
// whatever frame the window manager draws, it asks the window manager for the fixed dialog frame
// while the main window keeps its sizeable one, Enter and Space close it with OK, the pointer turns
// into a hand over its links, and the second showing comes back where the first one was left. With
// ZOZUZ_SCREENSHOT set to a file name, a picture of the screen with the box open is written there.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <QCursor>
#include <QWindow>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMotifHints.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

#include "XProbe.h"

namespace zozuz {
namespace {

// Runs `action` from the event loop once `ready` holds, looking every 100 ms for up to 20 seconds.
void whenReady(Host& host, std::function<bool()> ready, std::function<void()> action, int tries = 200) {
    host.startTimer(100, [&host, ready = std::move(ready), action = std::move(action), tries]() mutable {
        if (ready() || tries <= 0)
            action();
        else
            whenReady(host, std::move(ready), std::move(action), tries - 1);
    });
}

// Runs a shell command through the X server as a user would act; false when it failed.
bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Moves the real pointer to a point of a window's client area.
bool movePointerTo(NativeWindow& window, Point client) {
    const Point screen = window.clientToScreen(client);
    return run("xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

Point centreOf(const TControl& control) {
    const Rect r = control.WindowRect();
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Qt::CursorShape cursorOf(NativeWindow& window) { return static_cast<QtWindow&>(window).widget().cursor().shape(); }

// The X window of a window of the Qt host.
unsigned long xIdOf(NativeWindow& window) { return static_cast<QtWindow&>(window).widget().platformWindow().winId(); }

std::string hexOf(unsigned long value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "0x%lx", value);
    return text.data();
}

// What the window tells the window manager about its frame, and what the window manager made of it,
// as xprop prints the properties.
struct FrameProperties {
    std::string motif;
    std::string normalHints;
    std::string type;
    std::string transientFor;
    std::string allowedActions;
};

FrameProperties framePropertiesOf(NativeWindow& window) {
    const std::string xprop = "xprop -notype -id " + std::to_string(xIdOf(window)) + " ";
    return FrameProperties{outputOf(xprop + "_MOTIF_WM_HINTS"), outputOf(xprop + "WM_NORMAL_HINTS"),
                           outputOf(xprop + "_NET_WM_WINDOW_TYPE"), outputOf(xprop + "WM_TRANSIENT_FOR"),
                           outputOf(xprop + "_NET_WM_ALLOWED_ACTIONS")};
}

// The flags, functions and decorations of a _MOTIF_WM_HINTS line of xprop; all 0 when it has none.
QtMotifHints motifHintsOf(const std::string& line) {
    QtMotifHints hints;
    const auto equals = line.find('=');
    if (equals == std::string::npos) return hints;
    unsigned flags = 0;
    unsigned functions = 0;
    unsigned decorations = 0;
    if (std::sscanf(line.c_str() + equals + 1, " %x, %x, %x", &flags, &functions, &decorations) != 3) return hints;
    hints.flags = flags;
    hints.functions = functions;
    hints.decorations = decorations;
    return hints;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Where the X server has a window's client area and what frame the window manager put around it,
// read from outside the program: the program's own idea of its bounds may be wrong.
struct ScreenPlacement {
    Point client{-1, -1};
    std::string frameExtents;
};

ScreenPlacement placementOf(NativeWindow& window) {
    const unsigned long id = xIdOf(window);
    const Rect client = clientOnScreen(id);
    return ScreenPlacement{Point{client.left, client.top}, frameExtentsOf(id)};
}

TEST(AboutOnScreen, KeysPointerAndPlacementWithRealInput) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (!run("command -v xdotool >/dev/null 2>&1")) GTEST_SKIP() << "xdotool is missing";

    static int argc = 1;
    static char name[] = "AboutOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    TApplication application(host);
    TVeskAppForm* main = nullptr;
    TAboutBox* about = nullptr;
    int firstResult = -1;
    int secondResult = -1;
    Qt::CursorShape overLink = Qt::ArrowCursor;
    Qt::CursorShape overText = Qt::PointingHandCursor;
    Rect firstBounds;
    Rect secondBounds;
    ScreenPlacement firstPlacement;
    ScreenPlacement secondPlacement;
    Size clientSize;
    FrameProperties aboutFrame;
    FrameProperties mainFrame;
    std::string mainId;
    std::string secondMotif;
    const char* screenshot = std::getenv("ZOZUZ_SCREENSHOT");

    auto aboutActive = [&] { return host.activeWindow() == about->Native(); };
    auto mainActive = [&] { return host.activeWindow() == main->Native(); };
    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        application.CreateForm(about);
        whenReady(host, mainActive, [&] {
            whenReady(host, aboutActive, [&] {
                NativeWindow& box = *about->Native();
                firstBounds = box.bounds();
                firstPlacement = placementOf(box);
                clientSize = box.clientSize();
                aboutFrame = framePropertiesOf(box);
                mainFrame = framePropertiesOf(*main->Native());
                mainId = hexOf(xIdOf(*main->Native()));
                EXPECT_TRUE(movePointerTo(box, centreOf(*about->Label1)));
                whenReady(host, [&] { return cursorOf(box) == Qt::PointingHandCursor; }, [&] {
                    overLink = cursorOf(box);
                    EXPECT_TRUE(movePointerTo(box, centreOf(*about->Copyright)));
                    whenReady(host, [&] { return cursorOf(box) == Qt::ArrowCursor; }, [&] {
                        overText = cursorOf(box);
                        if (screenshot) {
                            EXPECT_TRUE(run(std::string("import -window root ") + screenshot));
                        }
                        EXPECT_TRUE(run("xdotool key Return"));
                    });
                });
            });
            firstResult = application.ShowModal(*about);
            whenReady(host, mainActive, [&] {
                whenReady(host, aboutActive, [&] {
                    secondBounds = about->Native()->bounds();
                    secondPlacement = placementOf(*about->Native());
                    secondMotif = framePropertiesOf(*about->Native()).motif;
                    EXPECT_TRUE(run("xdotool key space"));
                });
                secondResult = application.ShowModal(*about);
                whenReady(host, mainActive, [&] { EXPECT_TRUE(run("xdotool key alt+F4")); });
            });
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(firstResult, mrOk);
    EXPECT_EQ(secondResult, mrOk);
    EXPECT_EQ(overLink, Qt::PointingHandCursor);
    EXPECT_EQ(overText, Qt::ArrowCursor);
    EXPECT_EQ(clientSize, (Size{298, 209})) << "whatever frame the window manager gives it";
    EXPECT_EQ(secondBounds.left, firstBounds.left);
    EXPECT_EQ(secondBounds.top, firstBounds.top);
    // On the screen itself the second showing's client area and frame are where the first's were.
    EXPECT_EQ(secondPlacement.client, firstPlacement.client)
        << "first at " << firstPlacement.client.x << "," << firstPlacement.client.y << ", second at "
        << secondPlacement.client.x << "," << secondPlacement.client.y;
    EXPECT_EQ(secondPlacement.frameExtents, firstPlacement.frameExtents);
    EXPECT_TRUE(contains(firstPlacement.frameExtents, "=")) << firstPlacement.frameExtents;

    // The About box: moved and closed, nothing else; a border and a title bar with no window menu,
    // minimise or maximise box; one fixed size; a dialog kept above the main window.
    using H = QtMotifHints;
    const H dialog = motifHintsOf(aboutFrame.motif);
    EXPECT_EQ(dialog.flags, H::kFunctionsFlag | H::kDecorationsFlag) << aboutFrame.motif;
    EXPECT_EQ(dialog.functions, H::kFunctionMove | H::kFunctionClose) << aboutFrame.motif;
    EXPECT_EQ(dialog.decorations, H::kDecorBorder | H::kDecorTitle) << aboutFrame.motif;
    EXPECT_EQ(secondMotif, aboutFrame.motif) << "the second showing asks for the same frame";
    EXPECT_TRUE(contains(aboutFrame.normalHints, "minimum size: 298 by 209")) << aboutFrame.normalHints;
    EXPECT_TRUE(contains(aboutFrame.normalHints, "maximum size: 298 by 209")) << aboutFrame.normalHints;
    EXPECT_TRUE(contains(aboutFrame.type, "= _NET_WM_WINDOW_TYPE_DIALOG")) << aboutFrame.type;
    EXPECT_TRUE(contains(aboutFrame.transientFor, "# " + mainId + "\n")) << aboutFrame.transientFor << " for " << mainId;
    // What the window manager lets the user do with it.
    EXPECT_TRUE(contains(aboutFrame.allowedActions, "_NET_WM_ACTION_CLOSE")) << aboutFrame.allowedActions;
    EXPECT_TRUE(contains(aboutFrame.allowedActions, "_NET_WM_ACTION_MOVE")) << aboutFrame.allowedActions;
    EXPECT_FALSE(contains(aboutFrame.allowedActions, "_NET_WM_ACTION_RESIZE")) << aboutFrame.allowedActions;
    EXPECT_FALSE(contains(aboutFrame.allowedActions, "_NET_WM_ACTION_MAXIMIZE")) << aboutFrame.allowedActions;

    // The main window keeps the sizeable frame with every box.
    const H sizeable = motifHintsOf(mainFrame.motif);
    const std::uint32_t everyFunction =
        H::kFunctionResize | H::kFunctionMove | H::kFunctionMinimize | H::kFunctionMaximize | H::kFunctionClose;
    const std::uint32_t everyBox = H::kDecorTitle | H::kDecorMenu | H::kDecorMinimize | H::kDecorMaximize;
    EXPECT_EQ(sizeable.functions & everyFunction, everyFunction) << mainFrame.motif;
    EXPECT_EQ(sizeable.decorations & everyBox, everyBox) << mainFrame.motif;
    EXPECT_FALSE(contains(mainFrame.normalHints, "maximum size")) << mainFrame.normalHints;
    EXPECT_TRUE(contains(mainFrame.type, "= _NET_WM_WINDOW_TYPE_NORMAL")) << mainFrame.type;
    EXPECT_TRUE(contains(mainFrame.allowedActions, "_NET_WM_ACTION_RESIZE")) << mainFrame.allowedActions;
    EXPECT_TRUE(contains(mainFrame.allowedActions, "_NET_WM_ACTION_MAXIMIZE_HORZ")) << mainFrame.allowedActions;
    EXPECT_TRUE(contains(mainFrame.allowedActions, "_NET_WM_ACTION_MINIMIZE")) << mainFrame.allowedActions;
}

}  // namespace
}  // namespace zozuz
