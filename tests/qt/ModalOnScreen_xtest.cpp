// The application frame on a real X server under openbox: the About box shown modally takes the
// keyboard, the window manager's Alt+F4 closes it with Cancel, the main window is active again
// afterwards, and Alt+F4 on the main window ends the program with exit code 0.
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/Host.h"
#include "platform/qt/QtHost.h"
#include "ui/TAboutBox.h"
#include "ui/TVeskAppForm.h"

namespace zozuz {
namespace {

// Presses Alt+F4 the way a user does: through the X server, to whichever window has the keyboard;
// openbox turns it into a close request.
void pressAltF4() { ASSERT_EQ(std::system("xdotool key alt+F4"), 0); }

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

    // The window manager needs a moment to map and focus a window; the script leaves it that.
    constexpr int kSettle = 800;
    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        application.CreateForm(about);
        host.startTimer(kSettle, [&] {
            host.startTimer(kSettle, [&] {
                aboutActive = host.activeWindow() == about->Native();
                mainDisabled = !main->Native()->enabled();
                pressAltF4();
            });
            modalResult = application.ShowModal(*about);
            host.startTimer(kSettle, [&] {
                mainActiveAfter = host.activeWindow() == main->Native();
                mainEnabledAfter = main->Native()->enabled();
                pressAltF4();
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
