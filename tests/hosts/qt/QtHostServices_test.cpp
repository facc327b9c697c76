// The Qt host's menus, file dialogs and printing on Qt's offscreen platform, without a display.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QPalette>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProxyStyle>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "../../document/TempFolder.h"
#include "base/Exception.h"
#include "platform/gfx/Font.h"
#include "platform/host/FileDialogs.h"
#include "platform/host/MenuBar.h"
#include "platform/host/Printer.h"
#include "hosts/qt/QtFileDialogs.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMenuBar.h"
#include "hosts/qt/QtPrinter.h"
#include "hosts/qt/QtTranslations.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kClientColour = 0x00336699;

class PaintingClient : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        previewed.push_back(key);
        return false;
    }
    void mouse(const MouseEvent& event) override { mice.push_back(event); }
    void paint(Surface& surface, const Rect& area) override {
        Image fill(area.width(), area.height());
        for (int y = 0; y < fill.height(); ++y)
            for (int x = 0; x < fill.width(); ++x) fill.setPixel(x, y, kClientColour);
        surface.drawImage(Point{area.left, area.top}, fill, area);
    }
    std::vector<KeyEvent> previewed;
    std::vector<MouseEvent> mice;
};

class RecordingMenuListener : public MenuListener {
public:
    void submenuOpening(MenuId id) override {
        log.push_back("opening " + std::to_string(id));
        if (onOpening) onOpening(id);
    }
    void highlighted(MenuId id) override { log.push_back("highlight " + std::to_string(id)); }
    void chosen(MenuId id) override { log.push_back("chosen " + std::to_string(id)); }
    MenuCharAnswer characterTyped(MenuId level, std::string_view ch, MenuId highlighted) override {
        log.push_back("char " + std::string(ch) + " in " + std::to_string(level) + " at " + std::to_string(highlighted));
        return answer;
    }
    bool saw(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }

    std::vector<std::string> log;
    MenuCharAnswer answer;
    std::function<void(MenuId)> onOpening;
};

MenuEntry command(MenuId id, std::string caption, std::string shortcut = {}, bool enabled = true) {
    MenuEntry entry;
    entry.id = id;
    entry.caption = std::move(caption);
    entry.shortcutText = std::move(shortcut);
    entry.enabled = enabled;
    return entry;
}

MenuEntry submenu(MenuId id, std::string caption, std::vector<MenuEntry> entries) {
    MenuEntry entry;
    entry.id = id;
    entry.kind = MenuEntry::Kind::Submenu;
    entry.caption = std::move(caption);
    entry.entries = std::move(entries);
    return entry;
}

class QtHostServicesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtHostServices_test";
        static char* argv[] = {name, nullptr};
        host_ = new QtHost(argc, argv);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    QtHost& host() { return *host_; }

    bool pumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (host().pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    void drain() {
        for (int i = 0; i < 100 && host().pumpOne() != Host::PumpResult::Empty; ++i) {
        }
    }

    // Acts on the next modal dialog once it shows, from inside its own event loop. A message box
    // that the dialog opens in answer (a file it cannot find, a name it will not take) would wait
    // for a click that never comes: it fails the test and is closed instead, so a fault shows as a
    // failure and not as a hung suite.
    static void whenDialogShows(std::function<void(QDialog&)> act) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            // A timer does not fire again while its own slot runs, so a second one watches the
            // message boxes that open from inside act. It belongs to the dialog and goes with it.
            auto* watch = new QTimer(dialog);
            QObject::connect(watch, &QTimer::timeout, watch, [watch, dialog] {
                if (!dialog->isVisible()) {
                    watch->stop();
                } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box != dialog) {
                    ADD_FAILURE() << "the dialog answered with a message box: " << box->text().toStdString();
                    box->reject();
                }
            });
            watch->start(5);
            act(*dialog);
        });
        poll->start(5);
    }

    static QtHost* host_;
};

QtHost* QtHostServicesTest::host_ = nullptr;

std::vector<MenuEntry> fileAndHelp() {
    MenuEntry wrap = command(12, "自动换行(&W)");
    wrap.checked = true;
    wrap.image = Image(16, 16);
    return {submenu(1, "文件(&F)", {command(10, "新建(&N)", "Ctrl+N"), command(11, "页面设置(&T)...", "", false),
                                     MenuEntry{0, MenuEntry::Kind::Separator, "", "", {}, true, false, {}}, wrap}),
            submenu(2, "帮助(&H)", {})};
}

TEST_F(QtHostServicesTest, TheMenuBarShowsItsEntriesAndTakesItsRoomFromTheClientArea) {
    PaintingClient client;
    WindowOptions options;
    options.bounds = Rect{40, 30, 440, 330};
    auto window = host().createWindow(client, options);
    const Size before = window->clientSize();
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    bar->setEntries(kMenuBarLevel, fileAndHelp());
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    const int top = qtBar.height();
    ASSERT_GT(top, 0);
    EXPECT_EQ(window->bounds(), options.bounds);
    EXPECT_EQ(window->clientSize().height, before.height - top);
    EXPECT_EQ(window->clientSize().width, before.width);

    // Shortcut text follows a tab, where Qt draws it right-aligned, and no key is bound.
    QAction* newEntry = qtBar.actionOf(10);
    ASSERT_NE(newEntry, nullptr);
    EXPECT_EQ(newEntry->text(), QStringLiteral("新建(&N)\tCtrl+N"));
    EXPECT_TRUE(newEntry->shortcut().isEmpty());
    EXPECT_FALSE(qtBar.actionOf(11)->isEnabled());
    EXPECT_TRUE(qtBar.actionOf(12)->isChecked());
    EXPECT_FALSE(qtBar.actionOf(12)->icon().isNull());
    EXPECT_TRUE(newEntry->icon().isNull());
    EXPECT_EQ(qtBar.menuOf(1)->actions().size(), 4);
    EXPECT_TRUE(qtBar.menuOf(1)->actions().at(2)->isSeparator());

    MenuEntry unchecked = command(12, "自动换行(&W)");
    bar->updateEntry(unchecked);
    EXPECT_FALSE(qtBar.actionOf(12)->isChecked());
    EXPECT_TRUE(qtBar.actionOf(12)->icon().isNull());
    EXPECT_THROW(bar->updateEntry(command(99, "x")), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(10, {}), std::invalid_argument);
    EXPECT_THROW(bar->setEntries(2, {command(10, "again")}), std::invalid_argument);

    // The client's pixels and mouse coordinates start below the bar.
    window->show();
    drain();
    QWidget& widget = static_cast<QtWindow&>(*window).widget();
    const QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(5, top + 2) & 0xFFFFFFu, kClientColour);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, top + 7), widget.mapToGlobal(QPointF(10, top + 7)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    ASSERT_FALSE(client.mice.empty());
    EXPECT_EQ(client.mice.back().position, (Point{10, 7}));
    EXPECT_EQ(window->clientToScreen(Point{0, 0}).y, widget.mapToGlobal(QPoint(0, top)).y());

    // Without its bar the window's client area has the room again.
    const Size withBar = window->clientSize();
    bar.reset();
    EXPECT_EQ(window->clientSize().height, withBar.height + top);
    EXPECT_EQ(window->bounds(), options.bounds);
}

TEST_F(QtHostServicesTest, KeysStayTheProgramsAndTypedCharactersAreResolvedByIt) {
    PaintingClient client;
    WindowOptions options;
    options.bounds = Rect{40, 30, 440, 330};
    auto window = host().createWindow(client, options);
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    bar->setEntries(kMenuBarLevel, fileAndHelp());
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    window->show();
    drain();
    QWidget& widget = static_cast<QtWindow&>(*window).widget();
    QWindow* handle = widget.windowHandle();
    ASSERT_NE(handle, nullptr);

    // No shortcut of Qt's may take a key before the program's key preview.
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    override.ignore();
    QCoreApplication::sendEvent(&widget, &override);
    EXPECT_TRUE(override.isAccepted());

    // Alt+F that the program lets pass comes back as a character on the bar; its answer opens the menu.
    listener.answer = {MenuCharAnswer::Action::Execute, 1};
    QKeyEvent altF(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    QCoreApplication::sendEvent(handle, &altF);
    ASSERT_EQ(client.previewed.size(), 1u);
    EXPECT_TRUE(listener.saw("char f in 0 at 0"));
    QMenu* file = qtBar.menuOf(1);
    ASSERT_TRUE(pumpUntil([&] { return file->isVisible(); }));
    EXPECT_TRUE(listener.saw("opening 1"));

    // A character the program ignores leaves the menu open.
    listener.answer = {};
    QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(file, &q);
    EXPECT_TRUE(file->isVisible());

    // Select moves the highlight; Execute runs the entry once the menus have closed.
    listener.answer = {MenuCharAnswer::Action::Select, 12};
    QKeyEvent w(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    QCoreApplication::sendEvent(file, &w);
    EXPECT_EQ(file->activeAction(), qtBar.actionOf(12));
    EXPECT_TRUE(listener.saw("highlight 12"));

    listener.answer = {MenuCharAnswer::Action::Execute, 10};
    QKeyEvent n(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier, QStringLiteral("n"));
    QCoreApplication::sendEvent(file, &n);
    EXPECT_TRUE(listener.saw("char n in 1 at 12"));
    ASSERT_TRUE(pumpUntil([&] { return listener.saw("chosen 10"); }));
    EXPECT_FALSE(file->isVisible());
    ASSERT_TRUE(pumpUntil([&] { return listener.saw("highlight 0"); }));
    const auto closed = std::find(listener.log.begin(), listener.log.end(), "highlight 0");
    const auto ran = std::find(listener.log.begin(), listener.log.end(), "chosen 10");
    EXPECT_LT(closed, ran) << "the menus close before the command runs";

    // Close shuts every open menu.
    listener.answer = {MenuCharAnswer::Action::Execute, 1};
    QKeyEvent again(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
    QCoreApplication::sendEvent(handle, &again);
    ASSERT_TRUE(pumpUntil([&] { return file->isVisible(); }));
    listener.answer = {MenuCharAnswer::Action::Close, 0};
    QKeyEvent t(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
    QCoreApplication::sendEvent(file, &t);
    EXPECT_FALSE(file->isVisible());
    drain();
}

TEST_F(QtHostServicesTest, ASubmenuIsRebuiltByTheProgramJustBeforeItOpens) {
    PaintingClient client;
    auto window = host().createWindow(client, WindowOptions{});
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    bar->setEntries(kMenuBarLevel, fileAndHelp());
    listener.onOpening = [&](MenuId id) {
        if (id == 2) bar->setEntries(2, {command(20, "访问主页(&I)"), command(21, "关于zozuz(&A)")});
    };
    window->show();
    drain();
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    qtBar.widget()->setActiveAction(qtBar.actionOf(2));
    ASSERT_TRUE(pumpUntil([&] { return qtBar.menuOf(2)->isVisible(); }));
    EXPECT_EQ(qtBar.menuOf(2)->actions().size(), 2);
    EXPECT_NE(qtBar.actionOf(21), nullptr);
    qtBar.menuOf(2)->close();
    drain();
}

// How many pixels of `image` inside `area` have exactly this colour.
int pixelsOf(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == (colour.rgb() & 0xFFFFFFu)) ++count;
    return count;
}

TEST_F(QtHostServicesTest, TheBarAndItsMenusAreInTheDesktopsMenuFontNotTheWindows) {
    PaintingClient client;
    auto window = host().createWindow(client, WindowOptions{});
    Font serif;
    serif.family = "仿宋_GB2312";
    window->setFont(serif);
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    bar->setEntries(kMenuBarLevel, fileAndHelp());
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    const QFont menuFont = QApplication::font("QMenu");
    ASSERT_NE(static_cast<QtWindow&>(*window).widget().font(), menuFont);
    EXPECT_EQ(qtBar.widget()->font(), menuFont);
    EXPECT_EQ(qtBar.menuOf(1)->font(), menuFont);
    EXPECT_EQ(qtBar.menuOf(2)->font(), menuFont);
}

TEST_F(QtHostServicesTest, AHighlightedDisabledEntryIsDrawnOnTheHighlightBarWithGreyText) {
    PaintingClient client;
    auto window = host().createWindow(client, WindowOptions{});
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    bar->setEntries(kMenuBarLevel, fileAndHelp());
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    window->show();
    drain();
    QMenu* file = qtBar.menuOf(1);
    file->popup(QPoint(0, 0));
    ASSERT_TRUE(pumpUntil([&] { return file->isVisible(); }));

    // What the highlight of an enabled entry looks like in this style.
    const QPalette palette = file->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor highlightedText = palette.color(QPalette::Active, QPalette::HighlightedText);
    file->setActiveAction(qtBar.actionOf(10));
    const QRect enabledRect = file->actionGeometry(qtBar.actionOf(10));
    const QImage enabledShot = file->grab().toImage();
    ASSERT_GT(pixelsOf(enabledShot, enabledRect, highlight), enabledRect.width() * enabledRect.height() / 2);

    // The disabled entry takes the same bar, and its text stays in the disabled colour.
    file->setActiveAction(qtBar.actionOf(11));
    ASSERT_EQ(file->activeAction(), qtBar.actionOf(11));
    const QRect disabledRect = file->actionGeometry(qtBar.actionOf(11));
    const QImage disabledShot = file->grab().toImage();
    EXPECT_GT(pixelsOf(disabledShot, disabledRect, highlight), disabledRect.width() * disabledRect.height() / 2);
    EXPECT_EQ(pixelsOf(disabledShot, disabledRect, highlightedText), 0);
    EXPECT_EQ(pixelsOf(disabledShot, enabledRect, highlight), 0) << "only one entry is highlighted";
    file->close();
    drain();
}

TEST_F(QtHostServicesTest, TheBarOfADisabledWindowKeepsItsLookAndItsGreyEntriesGrey) {
    PaintingClient client;
    WindowOptions options;
    options.bounds = Rect{40, 30, 440, 330};
    auto window = host().createWindow(client, options);
    RecordingMenuListener listener;
    auto bar = host().createMenuBar(*window, listener);
    std::vector<MenuEntry> entries = fileAndHelp();
    entries.push_back(submenu(3, "搜索(&S)", {}));
    entries.back().enabled = false;
    bar->setEntries(kMenuBarLevel, entries);
    auto& qtBar = static_cast<QtMenuBar&>(*bar);
    window->show();
    drain();
    const QImage enabledShot = qtBar.widget()->grab().toImage();
    window->setEnabled(false);
    drain();
    EXPECT_FALSE(qtBar.widget()->isEnabled()) << "the bar takes no input while its window is disabled";
    const QImage disabledShot = qtBar.widget()->grab().toImage();
    EXPECT_EQ(disabledShot, enabledShot);
    // The disabled title is drawn grey either way, unlike the others.
    const QRect grey = qtBar.widget()->actionGeometry(qtBar.actionOf(3));
    const QRect normal = qtBar.widget()->actionGeometry(qtBar.actionOf(2));
    const QColor text = qtBar.widget()->palette().color(QPalette::Active, QPalette::ButtonText);
    EXPECT_EQ(pixelsOf(disabledShot, grey, text), 0);
    EXPECT_GT(pixelsOf(disabledShot, normal, text), 0);

    // Enabled again, the window's bar still has the program's disabled title.
    window->setEnabled(true);
    drain();
    EXPECT_FALSE(qtBar.actionOf(3)->isEnabled());
    EXPECT_TRUE(qtBar.actionOf(2)->isEnabled());
    EXPECT_EQ(qtBar.widget()->grab().toImage(), enabledShot);
}

TEST_F(QtHostServicesTest, FileDialogsPassTheRequestAndReturnFullPaths) {
    // Folders of this run's own: a second copy of the suite running beside this one must not take
    // away the files the dialogs are about to choose.
    const TempFolder temp;
    const std::filesystem::path folder = temp.root() / "dialogs";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "notes") << "x";
    FileDialogRequest request;
    request.title = "加密后的文本保存为";
    request.filters = {{"文本文件", "*.txt"}, {"All Files (*.*)", "*.*"}};
    request.defaultExtension = "txt";
    request.initialFolder = folder.string();

    EXPECT_EQ(QtFileDialogs::nameFilters(request),
              (QStringList{QStringLiteral("文本文件 (*.txt)"), QStringLiteral("All Files (*.*) (*)")}));

    QString seenTitle;
    QStringList seenFilters;
    whenDialogShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        seenTitle = files.windowTitle();
        seenFilters = files.nameFilters();
        files.selectFile(QStringLiteral("密文"));
        static_cast<QDialog&>(files).accept();
    });
    const FileDialogResult saved = host().fileDialogs().saveFile(request);
    EXPECT_EQ(seenTitle, QStringLiteral("加密后的文本保存为"));
    EXPECT_EQ(seenFilters.size(), 2);
    ASSERT_TRUE(saved.confirmed);
    EXPECT_EQ(saved.path, (folder / "密文.txt").string());

    // An existing file without a dot opens as it is named.
    whenDialogShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        files.selectNameFilter(files.nameFilters().at(1));
        files.selectFile(QStringLiteral("notes"));
        static_cast<QDialog&>(files).accept();
    });
    const FileDialogResult opened = host().fileDialogs().openFile(request);
    ASSERT_TRUE(opened.confirmed);
    EXPECT_EQ(opened.path, (folder / "notes").string());
    EXPECT_EQ(opened.filterIndex, 1);
    EXPECT_FALSE(opened.readOnly);
    // So does a link that leads nowhere: the error then names what the user chose. A name that
    // names nothing is tried with the default extension.
    const std::filesystem::path links = temp.root() / "links";
    std::filesystem::create_directories(links);
    std::filesystem::create_symlink(links / "gone", links / "dangling");
    EXPECT_EQ(QtFileDialogs::openedPath((links / "dangling").string(), "txt"), (links / "dangling").string());
    EXPECT_EQ(QtFileDialogs::openedPath((links / "gone").string(), "txt"), (links / "gone.txt").string());

    whenDialogShows([](QDialog& dialog) { dialog.reject(); });
    const FileDialogResult cancelled = host().fileDialogs().openFile(request);
    EXPECT_FALSE(cancelled.confirmed);
    EXPECT_TRUE(cancelled.path.empty());
}

TEST_F(QtHostServicesTest, QtsOwnDialogsSpeakTheUsersLanguage) {
    const auto qtText = [](const char* context, const char* text) {
        return QCoreApplication::translate(context, text).toStdString();
    };
    {
        const QtTranslations chinese(QLocale(QLocale::Chinese, QLocale::China));
        ASSERT_TRUE(chinese.loaded()) << "Qt's translations are not installed";
        EXPECT_EQ(qtText("QFileDialog", "Open"), "打开");
        EXPECT_EQ(qtText("QFileDialog", "Look in:"), "查找范围：");
        EXPECT_EQ(qtText("QPlatformTheme", "Cancel"), "取消");
        EXPECT_EQ(qtText("QPrintDialog", "Print"), "打印");
    }
    EXPECT_EQ(qtText("QFileDialog", "Open"), "Open") << "the catalogue goes with its owner";
    EXPECT_FALSE(QtTranslations(QLocale::c()).loaded());
}

TEST_F(QtHostServicesTest, TheSaveDialogTakesANameInAFolderThatDoesNotExist) {
    // The save that follows reports the folder; the dialog itself must not refuse the name.
    const TempFolder temp;
    const std::filesystem::path missing = temp.root() / "no-such-folder" / "密文.txt";
    FileDialogRequest request;
    request.filters = {{"文本文件", "*.txt"}};
    request.defaultExtension = "txt";
    request.initialFolder = temp.root().string();
    bool accepted = false;
    whenDialogShows([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name) name->setText(QString::fromStdString(missing.string()));
        // The dialog's own check of a typed name, as its Save button runs it (a virtual call).
        static_cast<QDialog&>(files).accept();
        accepted = !files.isVisible();
        if (!accepted) files.reject();
    });
    const FileDialogResult saved = host().fileDialogs().saveFile(request);
    EXPECT_TRUE(accepted);
    ASSERT_TRUE(saved.confirmed);
    EXPECT_EQ(saved.path, missing.string());
}

TEST_F(QtHostServicesTest, TheDocumentsFolderIsTheDesktopsElseHome) {
    const TempFolder temp;
    const std::filesystem::path home = temp.root();
    std::filesystem::create_directories(home / ".config");
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(home.string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / ".config").string()));
    std::ofstream(home / ".config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n";
    EXPECT_EQ(host().fileDialogs().documentsFolder(), home.string());
    std::filesystem::create_directories(home / "文档");
    EXPECT_EQ(host().fileDialogs().documentsFolder(), (home / "文档").string());
    qputenv("HOME", oldHome);
    if (oldConfig.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", oldConfig);
}

// Lines "第N行 line" in code page 936.
PrintJob numberedLines(std::size_t count) {
    PrintJob job;
    job.title = "zozuz";
    job.font.pixelHeight = 16;
    job.lineCount = count;
    job.line = [](std::size_t i) { return "\xB5\xDA" + std::to_string(i + 1) + "\xD0\xD0 line"; };
    return job;
}

int pdfPages(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
    return pages;
}

std::string commandOutput(const std::string& command) {
    std::string out;
    const std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
    return out;
}

std::string withoutSpaces(const std::string& text) {
    std::string result;
    std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    return result;
}

// The numbers of `attribute="..."` in the order they come in poppler's bounding-box output.
std::vector<double> attributes(const std::string& html, const std::string& attribute) {
    std::vector<double> values;
    const std::string key = " " + attribute + "=\"";
    for (std::size_t at = html.find(key); at != std::string::npos; at = html.find(key, at + 1))
        values.push_back(std::stod(html.substr(at + key.size())));
    return values;
}

TEST_F(QtHostServicesTest, APrintedTextKeepsEveryCharacterInOrderWithinTheMarginsOnNumberedPages) {
    const TempFolder temp;
    const std::filesystem::path pdf = temp.root() / "print.pdf";
    // 120 lines; the 60th is 300 characters long and ends in a byte that is no character.
    std::string sentence;  // 这是一行很长的文字，
    for (const char* c : {"\xD5\xE2", "\xCA\xC7", "\xD2\xBB", "\xD0\xD0", "\xBA\xDC", "\xB3\xA4", "\xB5\xC4", "\xCE\xC4", "\xD7\xD6", "\xA3\xAC"})
        sentence += c;
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += sentence;
    longLine += "\xFF";
    PrintJob job = numberedLines(120);
    job.line = [longLine, numbered = job.line](std::size_t i) { return i == 59 ? longLine : numbered(i); };
    std::string expected;
    for (std::size_t i = 0; i < 120; ++i) {
        const std::string bytes = job.line(i);
        expected += i == 59 ? host().codePageCodec().decodeText(longLine.substr(0, 600)) + "FF"
                            : host().codePageCodec().decodeText(bytes);
    }
    // Through the dialog, which keeps the margins it was given.
    whenDialogShows([&](QDialog& dialog) {
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            if (edit->objectName() == QLatin1String("filename")) edit->setText(QString::fromStdString(pdf.string()));
        dialog.accept();
    });
    ASSERT_TRUE(host().printer().print(job));
    drain();

    // Each page ends in its number; the rows before it hold the text, every character in order.
    const std::string text = commandOutput("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
    ASSERT_FALSE(text.empty()) << "pdftotext (poppler-utils) must be installed";
    std::string printed;
    int pages = 0;
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos; start = end + 1) {
        std::string page = withoutSpaces(text.substr(start, end - start));
        const std::string number = std::to_string(++pages);
        ASSERT_TRUE(page.ends_with(number)) << "page " << pages;
        printed += page.substr(0, page.size() - number.size());
    }
    EXPECT_EQ(pages, pdfPages(pdf));
    EXPECT_GE(pages, 3);
    EXPECT_EQ(printed, withoutSpaces(expected));

    // Every word lies within margins of 20 mm (with a point to spare for the glyphs' side bearings).
    const std::string boxes = commandOutput("pdftotext -bbox '" + pdf.string() + "' -");
    const double pageWidth = attributes(boxes, "width").at(0);
    const double pageHeight = attributes(boxes, "height").at(0);
    const double margin = 20 / 25.4 * 72;
    const std::vector<double> left = attributes(boxes, "xMin"), right = attributes(boxes, "xMax");
    const std::vector<double> top = attributes(boxes, "yMin"), bottom = attributes(boxes, "yMax");
    ASSERT_FALSE(left.empty());
    EXPECT_NEAR(*std::min_element(left.begin(), left.end()), margin, 1.5);
    EXPECT_LE(*std::max_element(right.begin(), right.end()), pageWidth - margin + 1);
    EXPECT_GE(*std::min_element(top.begin(), top.end()), margin - 1);
    EXPECT_LE(*std::max_element(bottom.begin(), bottom.end()), pageHeight - margin + 1);
    // The long line fills rows to the right margin, and the last word of a page, its number, sits
    // centred.
    EXPECT_GT(*std::max_element(right.begin(), right.end()), pageWidth - margin - 15);
    EXPECT_NEAR((left.back() + right.back()) / 2, pageWidth / 2, 3);
}

TEST_F(QtHostServicesTest, PrintingIntoAFileThatCannotBeWrittenIsAnError) {
    QPrinter nowhere(QPrinter::HighResolution);
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    nowhere.setOutputFileName(QStringLiteral("/nonexistent-folder/x.pdf"));
    try {
        QtPrinter::printOn(nowhere, numberedLines(3), host().codePageCodec());
        FAIL() << "printing into a file that cannot be written must raise";
    } catch (const EPrinter& error) {
        EXPECT_EQ(error.message(), "Cannot print to /nonexistent-folder/x.pdf");
    }
}

TEST_F(QtHostServicesTest, ThePrintDialogShowsOnceAndCancelPrintsNothing) {
    int dialogs = 0;
    whenDialogShows([&](QDialog& dialog) {
        ++dialogs;
        EXPECT_NE(qobject_cast<QPrintDialog*>(&dialog), nullptr);
        dialog.reject();
    });
    EXPECT_FALSE(host().printer().print(numberedLines(3)));
    EXPECT_EQ(dialogs, 1);
    drain();
}

// Reports the given dialog button layout, as a desktop's theme does, over the style it wraps.
class DesktopLayoutStyle : public QProxyStyle {
public:
    DesktopLayoutStyle(QStyle* base, QDialogButtonBox::ButtonLayout layout) : QProxyStyle(base), layout_(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_DialogButtonLayout) return layout_;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

private:
    QDialogButtonBox::ButtonLayout layout_;
};

TEST_F(QtHostServicesTest, TheConfirmBoxAsksWithItsThreeButtonsInTheirOrderOnEveryDesktop) {
    const QString styleName = QApplication::style()->name();
    for (const QDialogButtonBox::ButtonLayout layout :
         {QDialogButtonBox::WinLayout, QDialogButtonBox::MacLayout, QDialogButtonBox::KdeLayout,
          QDialogButtonBox::GnomeLayout, QDialogButtonBox::AndroidLayout}) {
        QApplication::setStyle(new DesktopLayoutStyle(QStyleFactory::create(styleName), layout));
        for (const auto& [pressed, expected] : {std::pair{"&Yes", MessageBoxResult::Yes},
                                                std::pair{"&No", MessageBoxResult::No},
                                                std::pair{"Cancel", MessageBoxResult::Cancel}}) {
            SCOPED_TRACE(testing::Message() << "layout " << layout << ", pressing " << pressed);
            QStringList texts;
            QString defaultText;
            QString escapeText;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            QPoint centre;
            whenDialogShows([&, pressed = pressed](QDialog& dialog) {
                auto& box = static_cast<QMessageBox&>(dialog);
                centre = box.frameGeometry().center();
                // The buttons as the user sees them, left to right.
                QList<QAbstractButton*> buttons = box.buttons();
                std::sort(buttons.begin(), buttons.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
                    return a->mapToGlobal(QPoint(0, 0)).x() < b->mapToGlobal(QPoint(0, 0)).x();
                });
                for (QAbstractButton* button : buttons) texts << button->text();
                defaultText = box.defaultButton() ? box.defaultButton()->text() : QString();
                escapeText = box.escapeButton() ? box.escapeButton()->text() : QString();
                icon = box.icon();
                for (QAbstractButton* button : buttons)
                    if (button->text() == QLatin1String(pressed)) button->click();
                if (box.isVisible()) box.reject();
            });
            PaintingClient client;
            WindowOptions options;
            options.bounds = Rect{0, 0, 300, 200};
            auto owner = host().createWindow(client, options);
            owner->show();
            MessageBoxRequest request;
            request.owner = owner.get();
            request.caption = "Confirm";
            request.text = "OK to overwrite /home/u/密文.txt";
            request.icon = MessageBoxIcon::Question;
            request.buttons = MessageBoxButtons::YesNoCancel;
            EXPECT_EQ(host().messageBox(request), expected);
            EXPECT_EQ(texts.join(QStringLiteral(", ")).toStdString(), "&Yes, &No, Cancel");
            EXPECT_EQ(defaultText.toStdString(), "&Yes");
            EXPECT_EQ(escapeText.toStdString(), "Cancel");
            EXPECT_EQ(icon, QMessageBox::Question);
            // Centred on the screen, not over the window it belongs to.
            const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
            EXPECT_LE((centre - screenCentre).manhattanLength(), 4);
        }
    }
    QApplication::setStyle(QStyleFactory::create(styleName));
}

TEST_F(QtHostServicesTest, TheConfirmBoxAnswersEscapeAndItsCloseButtonWithCancel) {
    for (const bool escape : {true, false}) {
        bool closed = false;
        whenDialogShows([escape, &closed](QDialog& dialog) {
            if (escape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&dialog, &key);
            } else {
                dialog.close();
            }
            closed = !dialog.isVisible();
            if (!closed) dialog.done(0);
        });
        MessageBoxRequest request;
        request.caption = "Confirm";
        request.text = "OK to overwrite /tmp/a.txt";
        request.buttons = MessageBoxButtons::YesNoCancel;
        EXPECT_EQ(host().messageBox(request), MessageBoxResult::Cancel) << (escape ? "Esc" : "close");
        EXPECT_TRUE(closed) << (escape ? "Esc" : "close");
    }
}

}  // namespace
}  // namespace zozuz
