// The main window's gauge (297 x 17, default settings) on a window of the Windows host, read back
// from the window right after its progress was set, with no message handled in between: the frame
// and bar pixels must equal the headless host's rendering of the same gauge. Only the percentage
// text may differ, as the two hosts draw with different fonts.
#include <chrono>
#include <memory>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessWindow.h"
#include "platform/host/Host.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/Surface.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
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

// The window's pixels in `area` (client coordinates), as the system shows them.
Image windowPixels(HWND window, const Rect& area) {
    Image image(area.width(), area.height());
    HDC dc = GetDC(window);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const COLORREF c = GetPixel(dc, area.left + x, area.top + y);
            image.setPixel(x, y, (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    ReleaseDC(window, dc);
    return image;
}

Rect textCell(Size text) {
    const int x = (296 - text.width) / 2;
    const int y = (16 - text.height) / 2;
    return Rect{x, y, x + text.width, y + text.height};
}

TEST(GaugeOnWindow, FrameAndBarAt37PercentMatchTheHeadlessRenderingAtOnce) {
    HeadlessHost headless;
    GaugeWindow reference(headless);
    reference.native().show();
    while (headless.pumpOne() != Host::PumpResult::Empty) {
    }
    reference.gauge().SetProgress(37);
    const Image& expected = dynamic_cast<HeadlessWindow&>(reference.native()).image();

    Win32Host host;
    GaugeWindow window(host);
    window.native().show();
    const auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < settle)
        if (host.pumpOne() == Host::PumpResult::Empty) Sleep(5);
    // Drawn inside the setter; the pixels are read with no message handled in between.
    window.gauge().SetProgress(37);
    const Image shown = windowPixels(static_cast<Win32Window&>(window.native()).handle(), kGaugeBounds);

    const Rect gdiText = textCell(host.textRenderer().measure(kWindowFont, "37%"));
    const Rect headlessText = textCell(BitmapFontRenderer().measure(kWindowFont, "37%"));
    int compared = 0, different = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 297; ++x) {
            if (gdiText.contains(Point{x, y}) || headlessText.contains(Point{x, y})) continue;
            ++compared;
            const std::uint32_t want = expected.pixel(kGaugeBounds.left + x, kGaugeBounds.top + y);
            if (shown.pixel(x, y) != want && ++different <= 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shown.pixel(x, y) << ", expected " << want;
        }
    EXPECT_EQ(different, 0);
    EXPECT_GT(compared, 297 * 17 / 2);
    EXPECT_EQ(shown.pixel(108, 8), 0x000000u);
    EXPECT_EQ(shown.pixel(109, 8), 0xFFFFFFu);
}

}  // namespace
}  // namespace zozuz
