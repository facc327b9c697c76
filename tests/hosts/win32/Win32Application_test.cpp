// The application frame on Windows, as on Linux: the empty main window captioned "zozuz" at its
// designed place with its editor holding the keyboard, the About box hidden until shown modally,
// the main window disabled meanwhile and active again afterwards, and the program ending with exit
// code 0 when its main window closes.
#include <cstdlib>
#include <functional>
#include <utility>

#include <gtest/gtest.h>
#include <windows.h>

#include "app/TApplication.h"
#include "editor/EditorPane.h"
#include "hosts/win32/Win32EditorWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/controls/TMemo.h"

namespace zozuz {
namespace {

HWND handleOf(NativeWindow* window) { return static_cast<Win32Window*>(window)->handle(); }

// Runs `action` from the event loop once `ready` holds, looking every 50 ms for up to 10 seconds.
void whenReady(Host& host, std::function<bool()> ready, std::function<void()> action, int tries = 200) {
    host.startTimer(50, [&host, ready = std::move(ready), action = std::move(action), tries]() mutable {
        if (ready() || tries <= 0)
            action();
        else
            whenReady(host, std::move(ready), std::move(action), tries - 1);
    });
}

TEST(Win32Application, AboutBoxShowsModallyOverTheMainWindowAndTheProgramEndsWithZero) {
    Win32Host host;
    TApplication application(host);
    TVeskAppForm* main = nullptr;
    TAboutBox* about = nullptr;
    RECT mainBounds{};
    std::wstring mainCaption(64, L'\0');
    bool aboutHiddenAtStart = false, aboutVisible = false, mainDisabled = false, aboutOwned = false;
    bool mainEnabledAfter = false, aboutHiddenAfter = false, editorFocused = false;
    int modalResult = -1;

    const int exitCode = application.Execute([&] {
        application.Initialize();
        application.CreateForm(main);
        application.CreateForm(about);
        whenReady(host, [&] { return main->Native()->visible(); }, [&] {
            GetWindowRect(handleOf(main->Native()), &mainBounds);
            mainCaption.resize(static_cast<std::size_t>(
                GetWindowTextW(handleOf(main->Native()), mainCaption.data(), static_cast<int>(mainCaption.size()))));
            aboutHiddenAtStart = !about->Native() || !about->Native()->visible();
            // The editor has the keyboard from the start: its caret shows without a click. (The
            // window manager may still be handing the keyboard about among earlier tests' windows;
            // the main window activated again gives it to the editor all the same.)
            if (GetActiveWindow() != handleOf(main->Native())) main->Native()->activate();
            editorFocused = GetFocus() == static_cast<Win32EditorWindow&>(main->Memo1->Pane()->window()).handle();
            // While the box shows: look, then close it as its close box does.
            whenReady(host, [&] { return about->Native() && about->Native()->visible(); }, [&] {
                aboutVisible = true;
                mainDisabled = !IsWindowEnabled(handleOf(main->Native()));
                aboutOwned = GetWindow(handleOf(about->Native()), GW_OWNER) == handleOf(main->Native());
                // Someone looking at the box (a screenshot) can keep it open for a while.
                const char* hold = std::getenv("ZOZUZ_HOLD_MS");
                host.startTimer(hold ? std::atoi(hold) : 0,
                                [&] { PostMessageW(handleOf(about->Native()), WM_CLOSE, 0, 0); });
            });
            modalResult = application.ShowModal(*about);
            mainEnabledAfter = IsWindowEnabled(handleOf(main->Native())) != FALSE;
            aboutHiddenAfter = !IsWindowVisible(handleOf(about->Native()));
            PostMessageW(handleOf(main->Native()), WM_CLOSE, 0, 0);
        });
        application.Run();
    });

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(mainCaption, L"zozuz");
    EXPECT_EQ(mainBounds.left, 193);
    EXPECT_EQ(mainBounds.top, 135);
    EXPECT_EQ(mainBounds.right - mainBounds.left, 570);
    EXPECT_EQ(mainBounds.bottom - mainBounds.top, 385);
    EXPECT_TRUE(aboutHiddenAtStart);
    EXPECT_TRUE(editorFocused);
    EXPECT_TRUE(aboutVisible);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(aboutOwned);
    EXPECT_EQ(modalResult, 2);
    EXPECT_TRUE(mainEnabledAfter);
    EXPECT_TRUE(aboutHiddenAfter);
}

}  // namespace
}  // namespace zozuz
