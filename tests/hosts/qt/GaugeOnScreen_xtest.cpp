// The main window's gauge (297 x 17, default settings) on a real X server through the Qt host,
// captured from the screen by another X client right after its progress was set, with no return to
// the event loop in between: the frame and bar pixels must equal the headless host's rendering of
// the same gauge. Only the percentage text may differ, as the two hosts draw with different fonts.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <QImage>
#include <gtest/gtest.h>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessWindow.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtImageConversion.h"
#include "hosts/qt/QtWindow.h"
#include "platform/host/Host.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/Surface.h"
#include "platform/host/WindowClient.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {
namespace {

const Font kWindowFont{"仿宋_GB2312", 13, Font::Charset::GB2312, 0x000000, false};
constexpr Rect kGaugeBounds{8, 8, 8 + 297, 8 + 17};

// A window holding one gauge, on whichever host it is given.
class GaugeWindow final : public WindowClient, public TWinControl {
public:
    explicit GaugeWindow(Host& host) {
        WindowOptions options;
        options.caption = "gauge";
        options.bounds = Rect{120, 140, 120 + 340, 140 + 90};
        native_ = host.createWindow(*this, options);
        SetFont(kWindowFont);
        SetColor(clBtnFace);
        gauge_.SetParent(this);
        gauge_.SetBounds(kGaugeBounds.left, kGaugeBounds.top, kGaugeBounds.width(), kGaugeBounds.height());
    }

    NativeWindow& native() { return *native_; }
    TGauge& gauge() { return gauge_; }

    // The window the gauge sits on
    Surface* PaintSurface() override { return &native_->surface(); }
    bool Showing() const override { return native_->visible(); }
    void InvalidateRect(const Rect& area) override { native_->invalidate(area); }

    // WindowClient
    void paint(Surface& surface, const Rect& area) override {
        Image background(area.width(), area.height());
        raster::fillRect(background, background.bounds(), colorToRgb(clBtnFace));
        surface.drawImage(Point{area.left, area.top}, background, area);
        gauge_.PaintTo(surface, area);
    }

private:
    std::unique_ptr<NativeWindow> native_;
    TGauge gauge_;
};

// Pumps the host's events until `done` holds or `span` has gone by; returns whether it holds.
bool pumpUntil(Host& host, const std::function<bool()>& done, std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        if (host.pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The screen's pixels in `area` (screen coordinates), as another X client sees them.
Image captureScreen(const Rect& area) {
    const std::string file = testing::TempDir() + "gauge_on_screen.png";
    const std::string command = "import -window root -crop " + std::to_string(area.width()) + "x" +
                                std::to_string(area.height()) + "+" + std::to_string(area.left) + "+" +
                                std::to_string(area.top) + " png24:" + file;
    if (std::system(command.c_str()) != 0) return Image{};
    const QImage captured(QString::fromStdString(file));
    std::remove(file.c_str());
    // Someone looking into a failure can keep the capture.
    if (const char* keep = std::getenv("ZOZUZ_SCREENSHOT_DIR"))
        captured.save(QString::fromLocal8Bit(keep) + QStringLiteral("/gauge_on_screen.png"));
    return fromQImage(captured);
}

// Where a renderer puts the percentage text inside the 297 x 17 gauge: its line cell, centred in
// the frame's inside as the gauge centres it.
Rect textCell(Size text) {
    const int x = (296 - text.width) / 2;
    const int y = (16 - text.height) / 2;
    return Rect{x, y, x + text.width, y + text.height};
}

TEST(GaugeOnScreen, FrameAndBarAt37PercentMatchTheHeadlessRendering) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
    if (std::system("command -v import >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's import is missing";

    // The headless rendering: the reference pixels.
    HeadlessHost headless;
    GaugeWindow reference(headless);
    reference.native().show();
    while (headless.pumpOne() != Host::PumpResult::Empty) {
    }
    reference.gauge().SetProgress(37);
    const Image& headlessScreen = dynamic_cast<HeadlessWindow&>(reference.native()).image();

    // The same gauge on the X server.
    static int argc = 1;
    static char name[] = "GaugeOnScreen_xtest";
    static char* argv[] = {name, nullptr};
    QtHost host(argc, argv);
    GaugeWindow window(host);
    window.native().show();
    // The window manager frames the window after mapping it; then it settles and paints. Machines
    // under load take their time, hence the generous limit.
    auto& qtWindow = dynamic_cast<QtWindow&>(window.native());
    ASSERT_TRUE(pumpUntil(host, [&] { return qtWindow.frameInsets() != Rect{}; }, std::chrono::seconds(20)))
        << "the window manager never framed the window";
    pumpUntil(host, [] { return false; }, std::chrono::milliseconds(500));
    // Drawn at once inside the setter; the capture follows with no event handled in between.
    window.gauge().SetProgress(37);
    const Point origin = window.native().clientToScreen(Point{kGaugeBounds.left, kGaugeBounds.top});
    const Image onScreen = captureScreen(Rect{origin.x, origin.y, origin.x + 297, origin.y + 17});
    ASSERT_EQ(onScreen.width(), 297) << "the screen capture failed";
    ASSERT_EQ(onScreen.height(), 17);

    const Rect qtText = textCell(host.textRenderer().measure(kWindowFont, "37%"));
    const Rect headlessText = textCell(BitmapFontRenderer().measure(kWindowFont, "37%"));
    int compared = 0;
    int different = 0;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 297; ++x) {
            const Point p{x, y};
            if (qtText.contains(p) || headlessText.contains(p)) continue;
            ++compared;
            const std::uint32_t expected = headlessScreen.pixel(kGaugeBounds.left + x, kGaugeBounds.top + y);
            const std::uint32_t actual = onScreen.pixel(x, y);
            if (expected != actual && ++different <= 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << actual << ", expected " << expected;
        }
    }
    EXPECT_EQ(different, 0);
    // The whole frame and the bar's end (f = 109 for 37 % of 296: the bar covers x = 1 to 108) lie
    // outside the text.
    EXPECT_GT(compared, 297 * 17 / 2);
    EXPECT_EQ(onScreen.pixel(0, 0), 0x000000u);
    EXPECT_EQ(onScreen.pixel(296, 16), 0x000000u);
    EXPECT_EQ(onScreen.pixel(108, 8), 0x000000u);
    EXPECT_EQ(onScreen.pixel(109, 8), 0xFFFFFFu);
    EXPECT_EQ(onScreen.pixel(295, 8), 0xFFFFFFu);
}

}  // namespace
}  // namespace zozuz
