// The Qt host's menu bar and save dialog on a real X server under openbox, worked with real X input
// through xdotool: Alt+F and a typed character go through the program's answers, the arrow keys
// highlight a disabled entry on the highlight bar, a click on a title
// opens its menu after the program refreshed it, Esc closes it, and a name typed into the real save
// dialog comes back as a full path with the default extension.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QAction>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <gtest/gtest.h>

#include "../../document/TempFolder.h"
#include "platform/host/FileDialogs.h"
#include "platform/host/Host.h"
#include "platform/host/MenuBar.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMenuBar.h"

namespace zozuz {
namespace {

class Listener : public MenuListener {
public:
    void submenuOpening(MenuId id) override { log.push_back("opening " + std::to_string(id)); }
    void highlighted(MenuId id) override { log.push_back("highlight " + std::to_string(id)); }
    void chosen(MenuId id) override { log.push_back("chosen " + std::to_string(id)); }
    MenuCharAnswer characterTyped(MenuId level, std::string_view ch, MenuId) override {
        log.push_back("char " + std::string(ch) + " in " + std::to_string(level));
        // The program's access keys: F opens the File menu, N runs New inside it.
        if (level == kMenuBarLevel && ch == "f") return {MenuCharAnswer::Action::Execute, 1};
        if (level == 1 && ch == "n") return {MenuCharAnswer::Action::Execute, 10};
        return {};
    }
    bool saw(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
    std::vector<std::string> log;
};

class Client : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        if (key.kind == KeyEvent::Kind::Down) ++keys;
        return false;
    }
    int keys = 0;
};

void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

bool pumpUntil(Host& host, const std::function<bool()>& done, int seconds = 20) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (host.pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

MenuEntry entry(MenuId id, MenuEntry::Kind kind, std::string caption, std::vector<MenuEntry> entries = {}) {
    MenuEntry e;
    e.id = id;
    e.kind = kind;
    e.caption = std::move(caption);
    e.entries = std::move(entries);
    return e;
}

TEST(MenusOnScreen, MenusAndTheSaveDialogAnswerRealInput) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is missing";

    static int argc = 1;
    static char name[] = "MenusOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    Client client;
    WindowOptions options;
    options.caption = "zozuz";
    options.bounds = Rect{193, 135, 763, 520};
    auto window = host.createWindow(client, options);
    Listener listener;
    auto bar = host.createMenuBar(*window, listener);
    using Kind = MenuEntry::Kind;
    MenuEntry disabled = entry(11, Kind::Command, "页面设置(&T)...");
    disabled.enabled = false;
    bar->setEntries(kMenuBarLevel, {entry(1, Kind::Submenu, "文件(&F)", {entry(10, Kind::Command, "新建(&N)"), disabled}),
                                    entry(2, Kind::Submenu, "帮助(&H)", {entry(20, Kind::Command, "关于zozuz(&A)")})});
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    window->show();
    window->activate();
    ASSERT_TRUE(pumpUntil(host, [&] { return host.activeWindow() == window.get(); }));

    // Alt+F reaches the program's key preview first, then comes back as a character on the bar.
    run("xdotool key alt+f");
    ASSERT_TRUE(pumpUntil(host, [&] { return qtBar.menuOf(1)->isVisible(); }));
    EXPECT_GE(client.keys, 1);
    EXPECT_TRUE(listener.saw("char f in 0"));
    EXPECT_TRUE(listener.saw("opening 1"));

    // The arrow keys move the highlight onto the disabled entry too, and the screen shows the
    // highlight bar there.
    run("xdotool key Down Down");
    ASSERT_TRUE(pumpUntil(host, [&] { return listener.saw("highlight 11"); }));
    QMenu* file = qtBar.menuOf(1);
    const QRect greyEntry(file->mapToGlobal(file->actionGeometry(qtBar.actionOf(11)).topLeft()),
                          file->actionGeometry(qtBar.actionOf(11)).size());
    const QColor highlight = file->palette().color(QPalette::Active, QPalette::Highlight);
    int highlighted = 0;
    ASSERT_TRUE(pumpUntil(host, [&] {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        highlighted = 0;
        for (int y = greyEntry.top(); y <= greyEntry.bottom(); ++y)
            for (int x = greyEntry.left(); x <= greyEntry.right(); ++x)
                if ((screen.pixel(x, y) & 0xFFFFFFu) == (highlight.rgb() & 0xFFFFFFu)) ++highlighted;
        return highlighted > greyEntry.width() * greyEntry.height() / 2;
    }, 5)) << highlighted << " of the entry's pixels have the highlight colour";

    run("xdotool key n");
    ASSERT_TRUE(pumpUntil(host, [&] { return listener.saw("chosen 10"); }));
    EXPECT_TRUE(listener.saw("char n in 1"));
    EXPECT_FALSE(qtBar.menuOf(1)->isVisible());

    // A click on a title opens its menu; Esc closes it and the highlight goes.
    const QRect title = qtBar.widget()->actionGeometry(qtBar.actionOf(2));
    const QPoint at = qtBar.widget()->mapToGlobal(title.center());
    run("xdotool mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1");
    ASSERT_TRUE(pumpUntil(host, [&] { return qtBar.menuOf(2)->isVisible(); }));
    EXPECT_TRUE(listener.saw("opening 2"));
    listener.log.clear();
    run("xdotool key Escape key Escape");
    ASSERT_TRUE(pumpUntil(host, [&] { return listener.saw("highlight 0"); }));

    // The real save dialog: a typed name without extension comes back as a full path with it.
    const TempFolder temp;
    const std::filesystem::path folder = temp.root();
    FileDialogRequest request;
    request.owner = window.get();
    request.title = "加密后的文本保存为";
    request.filters = {{"文本文件", "*.txt"}, {"All Files (*.*)", "*.*"}};
    request.defaultExtension = "txt";
    request.initialFolder = folder.string();
    host.startTimer(1500, [] { run("xdotool type --delay 50 secret && xdotool key Return"); });
    const FileDialogResult result = host.fileDialogs().saveFile(request);
    ASSERT_TRUE(result.confirmed);
    EXPECT_EQ(result.path, (folder / "secret.txt").string());
}

}  // namespace
}  // namespace zozuz
