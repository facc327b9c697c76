// The application frame on a real X server under openbox: the About box shown modally takes the
// keyboard, the window manager's Alt+F4 closes it with Cancel, the main window is active again
// afterwards, and Alt+F4 on the main window ends the program with exit code 0. A message box shows
// centred on the screen, frame and all.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <QWindow>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "platform/host/MessageBox.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

#include "XProbe.h"

namespace zozuz {
namespace {

// Runs `action` from the event loop once `ready` holds, looking every 100 ms for up to 20 seconds:
// the window manager maps and focuses windows in its own time, slower on a busy machine.
void whenReady(Host& host, std::function<bool()> ready, std::function<void()> action, int tries = 200) {
    host.startTimer(100, [&host, ready = std::move(ready), action = std::move(action), tries]() mutable {
        if (ready() || tries <= 0)
            action();
        else
            whenReady(host, std::move(ready), std::move(action), tries - 1);
    });
}

// Presses Alt+F4 the way a user does: through the X server, to whichever window has the keyboard;
// openbox turns it into a close request.
void pressAltF4() { ASSERT_EQ(std::system("xdotool key alt+F4"), 0); }

// Presses Alt+F4, and again every 3 seconds until `done` holds (up to 10 times): on a busy machine
// openbox may not yet have moved the keyboard to the window the program already reports active,
// and the first press is then lost.
void pressAltF4Until(Host& host, std::function<bool()> done, int tries = 10) {
    pressAltF4();
    if (tries <= 1) return;
    host.startTimer(3000, [&host, done = std::move(done), tries]() mutable {
        if (!done()) pressAltF4Until(host, std::move(done), tries - 1);
    });
}

TEST(ModalOnScreen, AboutBoxTakesTheKeyboardAndClosesThroughTheWindowManager) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is missing";

    static int argc = 1;
    static char name[] = "ModalOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    TApplication application(host);
    TVeskAppForm* main = nullptr;
    TAboutBox* about = nullptr;
    int modalResult = -1;
    bool aboutActive = false;
    bool mainDisabled = false;
    bool mainActiveAfter = false;
    bool mainEnabledAfter = false;

    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        application.CreateForm(about);
        whenReady(host, [&] { return host.activeWindow() == main->Native(); }, [&] {
            whenReady(host, [&] { return host.activeWindow() == about->Native(); }, [&] {
                aboutActive = host.activeWindow() == about->Native();
                mainDisabled = !main->Native()->enabled();
                pressAltF4Until(host, [&] { return modalResult != -1; });
            });
            modalResult = application.ShowModal(*about);
            whenReady(host, [&] { return host.activeWindow() == main->Native(); }, [&] {
                mainActiveAfter = host.activeWindow() == main->Native();
                mainEnabledAfter = main->Native()->enabled();
                pressAltF4Until(host, [] { return false; });
            });
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(aboutActive);
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(modalResult, mrCancel);
    EXPECT_TRUE(mainActiveAfter);
    EXPECT_TRUE(mainEnabledAfter);
}

// The X window the window manager has made active; 0 when there is none.
unsigned long activeXWindow() { return std::strtoul(outputOf("xdotool getactivewindow 2>/dev/null").c_str(), nullptr, 10); }

TEST(ModalOnScreen, MessageBoxIsCentredWithItsFrame) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is missing";

    static int argc = 1;
    static char name[] = "ModalOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    TApplication application(host);
    TVeskAppForm* main = nullptr;
    Rect outer{-1, -1, -1, -1};
    MessageBoxResult answer = MessageBoxResult::Yes;
    Size screen;

    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        whenReady(host, [&] { return host.activeWindow() == main->Native(); }, [&] {
            const unsigned long mainId = static_cast<QtWindow&>(*main->Native()).widget().platformWindow().winId();
            screen = host.screenSize();
            // Once the box is active and framed, where it stands is read and it is closed with Escape.
            whenReady(host, [&, mainId] {
                const unsigned long active = activeXWindow();
                return active != 0 && active != mainId && outerOnScreen(active).left >= 0;
            }, [&] {
                outer = outerOnScreen(activeXWindow());
                EXPECT_EQ(std::system("xdotool key Escape"), 0);
            });
            MessageBoxRequest confirm;
            confirm.owner = main->Native();
            confirm.caption = "Confirm";
            confirm.text = "OK to overwrite /tmp/a.txt";
            confirm.icon = MessageBoxIcon::Question;
            confirm.buttons = MessageBoxButtons::YesNoCancel;
            answer = application.ShowMessageBox(confirm);
            whenReady(host, [&] { return host.activeWindow() == main->Native(); }, [&] {
                pressAltF4Until(host, [] { return false; });
            });
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(answer, MessageBoxResult::Cancel);
    ASSERT_GE(outer.left, 0) << "the box was not found on the screen";
    // Rounded down, as the program's own boxes are centred.
    EXPECT_EQ(outer.left, (screen.width - outer.width()) / 2);
    EXPECT_EQ(outer.top, (screen.height - outer.height()) / 2)
        << "outer " << outer.left << "," << outer.top << " " << outer.width() << "x" << outer.height();
}

}  // namespace
}  // namespace zozuz
