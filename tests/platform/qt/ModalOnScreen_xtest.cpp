// The application frame on a real X server under openbox: the About box shown modally takes the
// keyboard, the window manager's Alt+F4 closes it with Cancel, the main window is active again
// afterwards, and Alt+F4 on the main window ends the program with exit code 0.
#include <cstdlib>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "platform/qt/QtHost.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

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

}  // namespace
}  // namespace zozuz
