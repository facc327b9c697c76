// The Qt host on Qt's offscreen platform: windows, painting, text, timers, the event pump, key
// preview, close requests and message boxes, without a display.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QStringList>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/gfx/Font.h"
#include "platform/host/Host.h"
#include "platform/host/HostListener.h"
#include "platform/gfx/Image.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/WindowClient.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {
namespace {

// A window client that records what reaches it.
class RecordingClient : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        previewed.push_back(key);
        return consumeKeys;
    }
    void keyPress(const KeyEvent& key) override { pressed.push_back(key); }
    void closeRequest() override { ++closeRequests; }
    void paint(Surface& surface, const Rect& area) override {
        paints.push_back(area);
        if (throwOnPaint) throw std::runtime_error("paint failed");
        Image fill(area.width(), area.height());
        for (int y = 0; y < fill.height(); ++y)
            for (int x = 0; x < fill.width(); ++x) fill.setPixel(x, y, background);
        surface.drawImage(Point{area.left, area.top}, fill, area);
    }
    void activated(bool active) override { activations.push_back(active); }

    bool consumeKeys = false;
    bool throwOnPaint = false;
    std::uint32_t background = 0x00F0F0F0;
    std::vector<KeyEvent> previewed;
    std::vector<KeyEvent> pressed;
    std::vector<Rect> paints;
    std::vector<bool> activations;
    int closeRequests = 0;
};

class QtHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtHost_test";
        static char* argv[] = {name, nullptr};
        host_ = new QtHost(argc, argv);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    QtHost& host() { return *host_; }

    std::unique_ptr<NativeWindow> makeWindow(RecordingClient& client, Rect bounds = Rect{40, 30, 340, 230}) {
        WindowOptions options;
        options.caption = "zozuz";
        options.bounds = bounds;
        return host().createWindow(client, options);
    }

    // Pumps until `done` holds or a second has gone by; returns whether it holds.
    bool pumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (host().pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // Delivers everything that is waiting.
    void drain() {
        for (int i = 0; i < 100 && host().pumpOne() != Host::PumpResult::Empty; ++i) {
        }
    }

    static QWidget& widgetOf(NativeWindow& window) { return static_cast<QtWindow&>(window).widget(); }

    static QtHost* host_;
};

QtHost* QtHostTest::host_ = nullptr;

TEST_F(QtHostTest, WindowKeepsCaptionAndBoundsAndShowsWhenAsked) {
    RecordingClient client;
    auto window = makeWindow(client);
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(window->caption(), "zozuz");
    window->setCaption("宋体 caption");
    EXPECT_EQ(window->caption(), "宋体 caption");
    EXPECT_EQ(window->bounds(), (Rect{40, 30, 340, 230}));

    window->setClientSize(Size{250, 120});
    window->show();
    EXPECT_TRUE(window->visible());
    ASSERT_TRUE(pumpUntil([&] { return !client.paints.empty(); }));
    // Once shown the window knows its frame (the offscreen platform draws a thin one); the client
    // size asked for stands and the outer bounds grow around it.
    const Rect f = static_cast<QtWindow&>(*window).frameInsets();
    EXPECT_EQ(window->clientSize(), (Size{250, 120}));
    EXPECT_EQ(window->bounds(), (Rect{40, 30, 40 + 250 + f.left + f.right, 30 + 120 + f.top + f.bottom}));
    // The first paint covers the whole client area, which nothing has painted yet.
    EXPECT_EQ(client.paints.front(), (Rect{0, 0, 250, 120}));
    EXPECT_EQ(window->clientToScreen(Point{0, 0}), (Point{40 + f.left, 30 + f.top}));
    EXPECT_EQ(window->screenToClient(Point{50, 35}), (Point{10 - f.left, 5 - f.top}));

    window->hide();
    EXPECT_FALSE(window->visible());
}

TEST_F(QtHostTest, OuterBoundsIncludeTheFrameOnceItIsKnown) {
    RecordingClient first;
    auto window = makeWindow(first, Rect{10, 20, 410, 320});
    window->show();
    ASSERT_TRUE(pumpUntil([&] { return !first.paints.empty(); }));
    drain();
    const Rect f = static_cast<QtWindow&>(*window).frameInsets();
    EXPECT_EQ(window->bounds(), (Rect{10, 20, 410, 320}));
    EXPECT_EQ(window->clientSize(), (Size{400 - f.left - f.right, 300 - f.top - f.bottom}));

    // A window made after the frame has been seen is sized for it before it is ever shown.
    RecordingClient second;
    auto next = makeWindow(second, Rect{0, 0, 200, 100});
    EXPECT_EQ(next->clientSize(), (Size{200 - f.left - f.right, 100 - f.top - f.bottom}));
    EXPECT_EQ(next->bounds(), (Rect{0, 0, 200, 100}));
}

TEST_F(QtHostTest, StatesAndEnablingAreKept) {
    RecordingClient client;
    auto window = makeWindow(client);
    EXPECT_EQ(window->state(), WindowState::Normal);
    window->setState(WindowState::Maximized);
    EXPECT_EQ(window->state(), WindowState::Maximized);
    window->setState(WindowState::Normal);
    EXPECT_EQ(window->state(), WindowState::Normal);
    EXPECT_TRUE(window->enabled());
    window->setEnabled(false);
    EXPECT_FALSE(window->enabled());
}

TEST_F(QtHostTest, ImmediateDrawingReachesTheWidgetWithoutAskingTheClientToPaint) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    ASSERT_TRUE(pumpUntil([&] { return !client.paints.empty(); }));
    drain();
    const std::size_t paintsBefore = client.paints.size();

    // A waiting invalidation must not be painted from inside the drawing call.
    window->invalidate(Rect{200, 100, 220, 120});
    Image red(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) red.setPixel(x, y, 0xFF0000);
    window->surface().drawImage(Point{10, 10}, red, Rect{0, 0, 25, 100});
    EXPECT_EQ(client.paints.size(), paintsBefore);

    const QImage shown = widgetOf(*window).grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(shown.pixel(24, 19) & 0xFFFFFFu, 0xFF0000u);
    // Clipped at x = 25, and nothing beyond the image.
    EXPECT_EQ(shown.pixel(25, 10) & 0xFFFFFFu, 0xF0F0F0u);
    EXPECT_EQ(shown.pixel(10, 20) & 0xFFFFFFu, 0xF0F0F0u);

    // The invalidated area is painted later, from the event loop.
    ASSERT_TRUE(pumpUntil([&] { return client.paints.size() > paintsBefore; }));
    const Rect& later = client.paints.back();
    EXPECT_LE(later.left, 200);
    EXPECT_GE(later.right, 220);
}

TEST_F(QtHostTest, ErrorsEscapingThePaintComeOutOfThePumpStep) {
    RecordingClient client;
    client.throwOnPaint = true;
    auto window = makeWindow(client);
    window->show();
    bool thrown = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!thrown && std::chrono::steady_clock::now() < deadline) {
        try {
            host().pumpOne();
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "paint failed");
            thrown = true;
        }
    }
    EXPECT_TRUE(thrown);
    client.throwOnPaint = false;
}

TEST_F(QtHostTest, TextIsMeasuredAndDrawnInAChineseFontWithoutTouchingTheTopByte) {
    TextRenderer& renderer = host().textRenderer();
    Font font;  // 宋体, which a Linux desktop lacks: a Chinese fallback stands in
    font.pixelHeight = 13;
    const Size latin = renderer.measure(font, "37%");
    const Size chinese = renderer.measure(font, "加密");
    EXPECT_GT(latin.width, 0);
    EXPECT_GE(latin.height, font.pixelHeight);
    EXPECT_GE(chinese.width, 2 * 10);  // two full-width characters, not empty boxes of nothing
    EXPECT_EQ(renderer.measure(font, "").width, 0);

    Image image(60, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) image.setPixel(x, y, 0x000000);
    const Rect clip{5, 0, 40, 30};
    renderer.draw(image, 5, 5, clip, font, "加密", 0xFFFFFF);
    int lit = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            const std::uint32_t p = image.pixel(x, y);
            EXPECT_EQ(p & 0xFF000000u, 0u) << "at " << x << "," << y;
            if (p != 0) {
                ++lit;
                EXPECT_TRUE(clip.contains(Point{x, y})) << "outside the clip at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(lit, 20);
}

TEST_F(QtHostTest, TimersFireOnceAndStoppedOnesNever) {
    int fired = 0;
    int stoppedFired = 0;
    host().startTimer(5, [&] { ++fired; });
    const Host::TimerId stopped = host().startTimer(5, [&] { ++stoppedFired; });
    host().stopTimer(stopped);
    host().stopTimer(987654);  // unknown: ignored
    ASSERT_TRUE(pumpUntil([&] { return fired > 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    drain();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(stoppedFired, 0);
}

TEST_F(QtHostTest, AnErrorFromATimerComesOutOfThePumpStep) {
    host().startTimer(0, [] { throw std::logic_error("timer failed"); });
    EXPECT_THROW(pumpUntil([] { return false; }), std::logic_error);
    drain();
}

TEST_F(QtHostTest, QuitIsReportedOnceAndAlsoAfterAWait) {
    drain();
    host().postQuit();
    EXPECT_EQ(host().pumpOne(), Host::PumpResult::Quit);
    EXPECT_NE(host().pumpOne(), Host::PumpResult::Quit);

    // A wait may deliver the request itself; the next step still reports it, and a wait with the
    // request pending does not block.
    host().postQuit();
    host().waitForEvent();
    host().waitForEvent();
    EXPECT_EQ(host().pumpOne(), Host::PumpResult::Quit);
}

TEST_F(QtHostTest, WaitingReturnsWhenATimerFires) {
    drain();
    bool fired = false;
    host().startTimer(30, [&] { fired = true; });
    const auto start = std::chrono::steady_clock::now();
    while (!fired) host().waitForEvent();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
}

TEST_F(QtHostTest, KeysAreOfferedToTheWindowBeforeAnythingElse) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();
    QWindow* handle = widgetOf(*window).windowHandle();
    ASSERT_NE(handle, nullptr);

    QKeyEvent press(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier);
    QCoreApplication::sendEvent(handle, &press);
    ASSERT_EQ(client.previewed.size(), 1u);
    EXPECT_EQ(client.previewed[0].keyCode(), makeKeyCode('O', false, true, false));
    // Not consumed, and nothing on the window has the focus: the window hears of it itself.
    ASSERT_EQ(client.pressed.size(), 1u);

    client.consumeKeys = true;
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &f12);
    EXPECT_EQ(client.previewed.size(), 2u);
    EXPECT_EQ(client.pressed.size(), 1u);

    // A disabled window takes no keys.
    window->setEnabled(false);
    QKeyEvent again(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &again);
    EXPECT_EQ(client.previewed.size(), 2u);
}

TEST_F(QtHostTest, InputThatEndsATooltipIsAnnouncedBeforeItIsDelivered) {
    class Listener : public HostListener {
    public:
        void inputArriving(InputKind kind) override { kinds.push_back(kind); }
        std::vector<InputKind> kinds;
    };
    Listener listener;
    host().setListener(&listener);
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();
    listener.kinds.clear();
    QWindow* handle = widgetOf(*window).windowHandle();

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(handle, &key);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &press);
    const std::vector<HostListener::InputKind> expected{HostListener::InputKind::Key,
                                                        HostListener::InputKind::MouseButton};
    EXPECT_EQ(listener.kinds, expected);

    // Input for a disabled window goes nowhere and ends nothing.
    window->setEnabled(false);
    QCoreApplication::sendEvent(handle, &key);
    QCoreApplication::sendEvent(handle, &press);
    EXPECT_EQ(listener.kinds, expected);
    host().setListener(nullptr);
}

TEST_F(QtHostTest, TheSessionsEndIsOnlyAskedAboutUntilQtsQuitEventEndsTheProgram) {
    class Listener : public HostListener {
    public:
        bool sessionEndQuery() override {
            ++queries;
            if (fails) throw std::runtime_error("the close check failed");
            return answer;
        }
        void sessionEnding() override { ++endings; }
        bool answer = true;
        bool fails = false;
        int queries = 0;
        int endings = 0;
    };
    Listener listener;
    host().setListener(&listener);
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();

    // The session manager's question is answered; the program is not told to end.
    EXPECT_TRUE(host().askSessionEnd());
    listener.answer = false;
    EXPECT_FALSE(host().askSessionEnd());
    // A failed answer is no answer: the session may not end, and the error comes out of the pump.
    listener.answer = true;
    listener.fails = true;
    EXPECT_FALSE(host().askSessionEnd());
    EXPECT_THROW(host().pumpOne(), std::runtime_error);
    listener.fails = false;
    EXPECT_EQ(listener.queries, 3);
    EXPECT_EQ(listener.endings, 0);

    // The session manager ends the program: Qt's quit event tells it, and no window is closed.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    EXPECT_EQ(listener.endings, 1);
    EXPECT_EQ(client.closeRequests, 0);
    EXPECT_TRUE(window->visible());
    host().setListener(nullptr);
}

TEST_F(QtHostTest, CloseRequestsGoToTheClientAndTheWindowStays) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();
    widgetOf(*window).close();
    EXPECT_EQ(client.closeRequests, 1);
    EXPECT_TRUE(window->visible());

    // A window disabled behind a modal box cannot be closed.
    window->setEnabled(false);
    widgetOf(*window).close();
    EXPECT_EQ(client.closeRequests, 1);
    EXPECT_TRUE(window->visible());
}

TEST_F(QtHostTest, TheWindowUnderThePointerIsFound) {
    RecordingClient client;
    auto window = makeWindow(client, Rect{100, 100, 300, 200});
    EXPECT_EQ(host().windowAt(Point{150, 150}), nullptr);  // hidden
    window->show();
    drain();
    EXPECT_EQ(host().windowAt(Point{150, 150}), window.get());
    EXPECT_EQ(host().windowAt(Point{50, 50}), nullptr);
    QCursor::setPos(160, 170);
    EXPECT_EQ(host().pointerPosition(), (Point{160, 170}));
    const Size screen = host().screenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
    // The work area is that of the screen a window is on, or nearest to.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const Rect area{available.left(), available.top(), available.right() + 1, available.bottom() + 1};
    EXPECT_EQ(host().workArea(Rect{40, 30, 340, 230}), area);
    EXPECT_EQ(host().workArea(Rect{-5000, 9000, -4000, 9500}), area);
}

TEST_F(QtHostTest, MessageBoxShowsTheRequestAndReturnsTheAnswer) {
    RecordingClient client;
    auto window = makeWindow(client);
    window->show();
    drain();

    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::string buttons;
    // The box runs its own loop; a timer plays the user.
    host().startTimer(20, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        QStringList texts;
        for (QAbstractButton* button : box->buttons()) texts << button->text();
        buttons = texts.join(QLatin1Char(' ')).toStdString();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QLatin1String("&No")) button->click();
        if (box->isVisible()) box->reject();
    });
    MessageBoxRequest request;
    request.owner = window.get();
    request.caption = "zozuz";
    request.text = "File exists.\nOverwrite?";
    request.icon = MessageBoxIcon::Question;
    request.buttons = MessageBoxButtons::YesNo;
    EXPECT_EQ(host().messageBox(request), MessageBoxResult::No);
    EXPECT_EQ(buttons, "&Yes &No");
    EXPECT_EQ(caption, QStringLiteral("zozuz"));
    EXPECT_EQ(text, QStringLiteral("File exists.\nOverwrite?"));
    EXPECT_EQ(icon, QMessageBox::Question);

    host().startTimer(20, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    request.owner = nullptr;
    request.icon = MessageBoxIcon::Stop;
    request.buttons = MessageBoxButtons::Ok;
    request.taskModal = true;
    EXPECT_EQ(host().messageBox(request), MessageBoxResult::Ok);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST_F(QtHostTest, DrawingHalfOffTheSurfaceOrFarAwayIsClippedSafely) {
    RecordingClient client;
    auto window = makeWindow(client, Rect{0, 0, 100, 80});
    window->show();
    ASSERT_TRUE(pumpUntil([&] { return !client.paints.empty(); }));
    drain();

    Image blue(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) blue.setPixel(x, y, 0x0000FF);
    window->surface().drawImage(Point{-5, -5}, blue, Rect{-100, -100, 1000, 1000});
    // Positions whose far edge lies beyond the integer range draw nothing and do not wrap around.
    window->surface().drawImage(Point{2147483647 - 3, 0}, blue, Rect{0, 0, 2147483647, 2147483647});
    window->surface().drawImage(Point{0, 2147483647 - 3}, blue, Rect{0, 0, 2147483647, 2147483647});

    const QImage shown = widgetOf(*window).grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(shown.pixel(4, 4) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(shown.pixel(5, 5) & 0xFFFFFFu, 0xF0F0F0u);
    EXPECT_EQ(shown.pixel(shown.width() - 1, 0) & 0xFFFFFFu, 0xF0F0F0u);
}

TEST_F(QtHostTest, AnOwnedWindowOutlivesItsOwnerSafely) {
    RecordingClient ownerClient;
    RecordingClient ownedClient;
    auto owner = makeWindow(ownerClient);
    WindowOptions options;
    options.frame = WindowFrame::Dialog;
    options.caption = "about";
    options.bounds = Rect{10, 10, 210, 110};
    options.owner = owner.get();
    auto owned = host().createWindow(ownedClient, options);
    owner->show();
    owned->show();
    drain();

    // Qt would delete the owned widget with its owner's; the program destroys its windows itself.
    owner.reset();
    EXPECT_EQ(owned->caption(), "about");
    owned->show();
    owned->invalidateAll();
    drain();
    owned.reset();
}

TEST_F(QtHostTest, DisablingAnOwnerLeavesItsOwnedWindowsTakingInput) {
    RecordingClient ownerClient;
    RecordingClient ownedClient;
    auto owner = makeWindow(ownerClient);
    WindowOptions options;
    options.frame = WindowFrame::Dialog;
    options.bounds = Rect{10, 10, 210, 110};
    options.owner = owner.get();
    owner->show();
    // As when a modal box shows: its owner is disabled first, then the box is made or shown.
    owner->setEnabled(false);
    auto owned = host().createWindow(ownedClient, options);
    owned->show();
    drain();
    EXPECT_FALSE(owner->enabled());
    EXPECT_TRUE(owned->enabled());
    EXPECT_TRUE(widgetOf(*owned).isEnabled());

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(widgetOf(*owned).windowHandle(), &key);
    EXPECT_EQ(ownedClient.previewed.size(), 1u);
    widgetOf(*owned).close();
    EXPECT_EQ(ownedClient.closeRequests, 1);

    // And the other way round: an owned window the program disabled stays disabled when its owner
    // takes input again.
    owned->setEnabled(false);
    owner->setEnabled(true);
    EXPECT_TRUE(owner->enabled());
    EXPECT_FALSE(owned->enabled());
    EXPECT_FALSE(widgetOf(*owned).isEnabled());
}

TEST_F(QtHostTest, ErrorsFromKeyPreviewAndCloseRequestComeOutOfThePumpStep) {
    class Failing : public RecordingClient {
    public:
        bool keyPreview(const KeyEvent&) override { throw std::runtime_error("key failed"); }
        void closeRequest() override { throw std::runtime_error("close failed"); }
    };
    Failing client;
    auto window = makeWindow(client);
    window->show();
    drain();
    QWindow* handle = widgetOf(*window).windowHandle();
    ASSERT_NE(handle, nullptr);

    // Posted, as the desktop delivers input: from inside a pump step.
    QCoreApplication::postEvent(handle, new QKeyEvent(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier));
    EXPECT_THROW(drain(), std::runtime_error);
    // The key counted as handled: the window itself did not hear of it.
    EXPECT_TRUE(client.pressed.empty());

    QMetaObject::invokeMethod(&widgetOf(*window), [&] { widgetOf(*window).close(); }, Qt::QueuedConnection);
    EXPECT_THROW(drain(), std::runtime_error);
    EXPECT_TRUE(window->visible());
}

TEST_F(QtHostTest, AnErrorWhileAMessageBoxShowsComesOutWhenTheBoxCloses) {
    host().startTimer(10, [] { throw std::logic_error("failed under the box"); });
    host().startTimer(40, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    MessageBoxRequest request;
    request.caption = "zozuz";
    request.text = "Stream write error.";
    request.icon = MessageBoxIcon::Stop;
    EXPECT_THROW(host().messageBox(request), std::logic_error);
}

TEST_F(QtHostTest, AnAddressThatIsNoAddressIsRefused) {
    EXPECT_FALSE(host().openAddress("", nullptr));
}

TEST_F(QtHostTest, ProcessFacts) {
    EXPECT_EQ(host().initialShowCommand(), show_command::kShowDefault);
    const std::string path = host().executablePath();
    EXPECT_NE(path.find("QtHost_test"), std::string::npos) << path;
}

}  // namespace
}  // namespace zozuz
