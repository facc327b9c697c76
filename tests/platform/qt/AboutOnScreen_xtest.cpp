// The About box on a real X server under openbox, with real X input: its client area has its size
// whatever frame the window manager draws, Enter and Space close it with OK, the pointer turns into
// a hand over its links, and the second showing comes back where the first one was left. With ZOZUZ_SCREENSHOT set to a file name, a picture of the screen with the box
// open is written there.
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include <QCursor>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowWidget.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

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
    Size clientSize;
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
                clientSize = box.clientSize();
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
}

}  // namespace
}  // namespace zozuz
