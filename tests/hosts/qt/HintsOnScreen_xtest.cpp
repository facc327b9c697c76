// The main window's tooltips, status line and menu access keys on a real X server under openbox,
// with real X input through xdotool: the pointer resting on the Cut button brings its tooltip after
// about half a second and its long hint onto the status line; an open menu keeps the status line to
// its highlight whatever the pointer rests on; Alt+F opens the File menu, whose entries carry the
// keys the program gave them, disabled entries take the highlight and show their hints too, and Z
// there runs Open encrypted file, which shows the open dialog. With ZOZUZ_SCREENSHOT set, pictures of the screen are written to that name with
// "-tooltip.png", "-menu.png" and "-dialog.png" appended.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "platform/host/Host.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtTooltip.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {
namespace {

using Clock = std::chrono::steady_clock;

// Runs `action` from the event loop once `ready` holds, looking every `every` ms for up to 20
// seconds; `action` learns whether `ready` held.
void whenReady(Host& host, std::function<bool()> ready, std::function<void(bool)> action, int every = 100,
               Clock::time_point deadline = Clock::now() + std::chrono::seconds(20)) {
    host.startTimer(every, [&host, ready = std::move(ready), action = std::move(action), every, deadline]() mutable {
        if (ready())
            action(true);
        else if (Clock::now() > deadline)
            action(false);
        else
            whenReady(host, std::move(ready), std::move(action), every, deadline);
    });
}

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

Point centreOf(const TControl& control) {
    const Rect r = control.WindowRect();
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool movePointerTo(NativeWindow& window, Point client) {
    const Point screen = window.clientToScreen(client);
    return run("xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

void screenshot(const char* base, const std::string& what) {
    if (base) {
        EXPECT_TRUE(run("import -window root " + std::string(base) + "-" + what + ".png"));
    }
}

// Dark pixels on the screen inside a control of the window: text drawn there.
int inkIn(NativeWindow& window, const TControl& control) {
    const Rect r = control.WindowRect();
    const Point origin = window.clientToScreen({r.left, r.top});
    const QImage image =
        QGuiApplication::primaryScreen()->grabWindow(0, origin.x, origin.y, r.width(), r.height()).toImage();
    int ink = 0;
    for (int y = 3; y < image.height() - 2; ++y)
        for (int x = 4; x < image.width() / 2; ++x)
            if (qGray(image.pixel(x, y)) < 64) ++ink;
    return ink;
}

QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
QFileDialog* openDialog() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

TEST(HintsOnScreen, TooltipStatusLineAndMenuKeysWithRealInput) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (!run("command -v xdotool >/dev/null 2>&1")) GTEST_SKIP() << "xdotool is missing";

    static int argc = 1;
    static char name[] = "HintsOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    TApplication application(host);
    TVeskAppForm* main = nullptr;
    const char* shots = std::getenv("ZOZUZ_SCREENSHOT");
    const std::string cutHint = "Cuts the selection and puts 简切选定内容并将它放入剪贴板";

    // What the script saw, checked after the program has ended.
    std::optional<long> tooltipAfter;
    QString tooltipText;
    int tooltipBelowPointer = 0;
    bool menuOpenOverTitle = true;
    std::string statusOverCut;
    int statusInk = 0;
    std::string statusWithHelpOpen = "<not seen>";
    std::string statusAfterHelp = "<not seen>";
    std::string statusOverEditor = "<not seen>";
    QString openEncryptedCaption;
    std::string statusOnFirstEntry = "<not seen>";
    std::string statusOnSecondEntry = "<not seen>";
    std::string statusOnDisabledEntry = "<not seen>";
    bool dialogShown = false;
    bool encryptAfter = true;
    bool decryptAfter = false;

    NativeWindow* window = nullptr;
    Clock::time_point arrived;
    Point cut;
    auto status = [&] { return main->StatusBar->SimpleText(); };
    auto mainActive = [&] { return host.activeWindow() == main->Native(); };
    auto tooltipShows = [&] { return host.tooltipWindow().label() && host.tooltipWindow().label()->isVisible(); };
    auto menuShows = [] { return openMenu() != nullptr; };
    auto noMenu = [] { return openMenu() == nullptr; };

    // 6. Esc cancels the dialog; the open command still turns Decrypt on. Then the window closes.
    std::function<void(bool)> afterDialog = [&](bool) {
        encryptAfter = main->ToolButton10->Enabled();
        decryptAfter = main->ToolButton11->Enabled();
        whenReady(host, mainActive, [&](bool) { EXPECT_TRUE(run("xdotool key alt+F4")); });
    };
    // 5. Z in the open File menu runs Open encrypted file, whose open dialog comes up.
    std::function<void(bool)> typeZ = [&](bool) {
        whenReady(host, [] { return openDialog() != nullptr; }, [&](bool shown) {
            dialogShown = shown;
            if (shown) {
                screenshot(shots, "dialog");
                EXPECT_TRUE(run("xdotool key Escape"));
            }
            whenReady(host, [] { return openDialog() == nullptr && openMenu() == nullptr; }, afterDialog);
        });
        EXPECT_TRUE(run("xdotool key z"));
    };
    // 4. The File menu opens from the keyboard with its first entry highlighted, and shows its
    // entries with the keys the program gave them. Down highlights the next entry, whose hint stays
    // on the status line while the pointer rests on the editor.
    std::function<void(bool)> inFileMenu = [&](bool open) {
        ASSERT_TRUE(open) << "Alt+F opened no menu";
        for (QAction* action : openMenu()->actions())
            if (action->text().startsWith(QStringLiteral("打开已加密文件")))
                openEncryptedCaption = action->text().section(QLatin1Char('\t'), 0, 0);
        whenReady(host, [&] { return !status().empty(); }, [&](bool) {
            statusOnFirstEntry = status();
            EXPECT_TRUE(run("xdotool key Down"));
            whenReady(host, [&] { return status() != statusOnFirstEntry; }, [&](bool) {
                host.startTimer(500, [&] {
                    statusOnSecondEntry = status();
                    screenshot(shots, "menu");
                    // Four entries on lies the disabled Page setup, which takes the highlight too.
                    EXPECT_TRUE(run("xdotool key --delay 50 Down Down Down Down"));
                    whenReady(host, [&] { return status() != statusOnSecondEntry; }, [&](bool) {
                        host.startTimer(200, [&] {
                            statusOnDisabledEntry = status();
                            typeZ(true);
                        });
                    });
                });
            });
        });
    };
    // 3. Back on the editor the status line empties; Alt+F opens the File menu.
    std::function<void(bool)> overEditor = [&](bool) {
        statusOverEditor = status();
        EXPECT_TRUE(run("xdotool key alt+f"));
        whenReady(host, menuShows, inFileMenu);
    };
    // 2b. Closing the menu gives the status line back to the control under the pointer.
    std::function<void(bool)> helpClosed = [&](bool) {
        whenReady(host, [&] { return status() == cutHint; }, [&](bool) {
            statusAfterHelp = status();
            EXPECT_TRUE(movePointerTo(*window, centreOf(*main->Memo1)));
            whenReady(host, [&] { return status().empty(); }, overEditor);
        });
    };
    // 2a. With the pointer still resting on Cut, Alt+H opens the Help menu beside it: the menu's title
    // has no hint, and the button under the pointer does not take the status line back meanwhile.
    std::function<void(bool)> helpOpen = [&](bool open) {
        ASSERT_TRUE(open) << "Alt+H opened no menu";
        host.startTimer(500, [&] {
            statusWithHelpOpen = status();
            EXPECT_TRUE(run("xdotool key Escape"));
            whenReady(host, noMenu, helpClosed);
        });
    };
    // 2. The tooltip shows: its text, its place, and the status line's text.
    std::function<void(bool)> tooltipShown = [&](bool shown) {
        if (shown) {
            tooltipAfter = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - arrived).count();
            tooltipText = host.tooltipWindow().label()->text();
            tooltipBelowPointer = host.tooltipWindow().label()->y() - window->clientToScreen(cut).y;
        }
        statusOverCut = status();
        statusInk = inkIn(*window, *main->StatusBar);
        screenshot(shots, "tooltip");
        EXPECT_TRUE(run("xdotool key alt+h"));
        whenReady(host, menuShows, helpOpen);
    };

    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        // 1. With the window active and the pointer resting on a title of the menu bar (which opens
        // no menu), the pointer moves onto Cut.
        whenReady(host, mainActive, [&](bool active) {
            ASSERT_TRUE(active) << "the main window never became active";
            window = main->Native();
            EXPECT_TRUE(movePointerTo(*window, {80, -9}));
            host.startTimer(700, [&] {
                menuOpenOverTitle = application.MenuOpen() || openMenu() != nullptr;
                cut = centreOf(dynamic_cast<TControl&>(*main->FindComponent("ToolButton4")));
                EXPECT_TRUE(movePointerTo(*window, cut));
                arrived = Clock::now();
                whenReady(host, tooltipShows, tooltipShown, 10, Clock::now() + std::chrono::seconds(5));
            });
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(menuOpenOverTitle) << "the pointer on a title opens no menu";
    ASSERT_TRUE(tooltipAfter.has_value()) << "no tooltip over the Cut button";
    std::printf("the tooltip showed %ld ms after the pointer came to rest on Cut\n", *tooltipAfter);
    EXPECT_GE(*tooltipAfter, 450) << "the tooltip waits half a second";
    EXPECT_LE(*tooltipAfter, 1500);
    EXPECT_EQ(tooltipText, QStringLiteral("Cut (Ctrl+X)"));
    EXPECT_GT(tooltipBelowPointer, 0) << "below the pointer";
    EXPECT_LE(tooltipBelowPointer, 40);
    EXPECT_EQ(statusOverCut, cutHint);
    EXPECT_GT(statusInk, 0) << "the status line draws its text";
    EXPECT_EQ(statusWithHelpOpen, "") << "a menu's title has no hint, whatever the pointer rests on";
    EXPECT_EQ(statusAfterHelp, cutHint);
    EXPECT_EQ(statusOverEditor, "");
    EXPECT_EQ(openEncryptedCaption, QStringLiteral("打开已加密文件(&Z)")) << "the key the menu gave it";
    EXPECT_EQ(statusOnFirstEntry, "创建新文档");
    EXPECT_EQ(statusOnSecondEntry, "打开现有已加密文档") << "the entry's hint stays while the menu is open";
    EXPECT_EQ(statusOnDisabledEntry, "更改页面设置") << "a disabled entry is highlighted with its hint";
    EXPECT_TRUE(dialogShown) << "Z gave no open dialog";
    EXPECT_FALSE(encryptAfter) << "a cancelled open of an encrypted file still turns Encrypt off";
    EXPECT_TRUE(decryptAfter);
}

}  // namespace
}  // namespace zozuz
