// The program's application frame on the Qt host (offscreen platform): the main window and the
// About box run the real event loop, the About box is shown modally and closed through its close
// box, and closing the main window ends the loop.
#include <memory>
#include <stdexcept>

#include <QWidget>
#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {
namespace {

QWidget& widgetOf(const AppWindow& window) { return dynamic_cast<QtWindow&>(*window.Native()).widget(); }

TEST(QtApplication, AboutBoxShownModallyClosesWithCancelAndClosingTheMainWindowEndsTheLoop) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "QtApplication_test";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    TApplication application(host);

    TVeskAppForm* main = nullptr;
    TAboutBox* about = nullptr;
    int modalResult = -1;
    bool mainDisabledWhileModal = false;
    bool aboutVisibleWhileModal = false;
    bool mainEnabledAfter = false;
    bool aboutHiddenAfter = false;

    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        application.CreateForm(about);
        // The user's script, played by the host's timers from inside the running loop.
        host.startTimer(50, [&] {
            host.startTimer(50, [&] {
                mainDisabledWhileModal = !main->Native()->enabled();
                aboutVisibleWhileModal = about->Native()->visible();
                widgetOf(*about).close();  // the About box's close box
            });
            modalResult = application.ShowModal(*about);
            mainEnabledAfter = main->Native()->enabled();
            aboutHiddenAfter = !about->Native()->visible();
            widgetOf(*main).close();  // the main window's close box
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(modalResult, mrCancel);
    EXPECT_TRUE(mainDisabledWhileModal);
    EXPECT_TRUE(aboutVisibleWhileModal);
    EXPECT_TRUE(mainEnabledAfter);
    EXPECT_TRUE(aboutHiddenAfter);
    // The title rule, on the path the Qt host reports for the executable.
    EXPECT_EQ(application.Title(), "Qtapplication_test");
}

}  // namespace
}  // namespace zozuz
