#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TImage.h"
#include "ui/toolkit/controls/TPanel.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kShadow = 0xA0A0A0;
constexpr std::uint32_t kLight = 0xFFFFFF;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 100, 60);
    }
    const Image& shown() {
        if (!form->Visible()) form->Show();
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
        return static_cast<HeadlessWindow&>(*form->Native()).image();
    }

    HeadlessHost host;
    TApplication app{host};
    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(PanelTest, BevelsAreLitAndShadedByHowTheyAreCut) {
    // Raised by default: lit top and left, shaded bottom and right.
    const Image& raised = shown();
    EXPECT_EQ(raised.pixel(50, 10), kLight);
    EXPECT_EQ(raised.pixel(10, 40), kLight);
    EXPECT_EQ(raised.pixel(50, 69), kShadow);
    EXPECT_EQ(raised.pixel(109, 40), kShadow);
    EXPECT_EQ(raised.pixel(50, 11), 0xF0F0F0u);

    panel->SetBevelOuter(TBevelCut::bvLowered);
    panel->SetBevelInner(TBevelCut::bvRaised);
    panel->SetBevelWidth(2);
    const Image& both = shown();
    for (const int i : {0, 1}) {
        EXPECT_EQ(both.pixel(50, 10 + i), kShadow) << "outer, " << i;
        EXPECT_EQ(both.pixel(50, 69 - i), kLight) << "outer, " << i;
        EXPECT_EQ(both.pixel(50, 12 + i), kLight) << "inner, " << i;
        EXPECT_EQ(both.pixel(50, 67 - i), kShadow) << "inner, " << i;
    }
    EXPECT_EQ(both.pixel(50, 14), 0xF0F0F0u);

    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetBevelInner(TBevelCut::bvNone);
    EXPECT_EQ(shown().pixel(50, 10), 0xF0F0F0u);
}

TEST_F(PanelTest, ControlsInsideSitRelativeToItAndPaintOverTheBevel) {
    auto* image = new TImage(form);
    image->SetParent(panel);
    image->SetBounds(0, 0, 4, 4);
    Image red(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) red.setPixel(x, y, 0xFF0000);
    image->SetPicture(red);
    const Image& picture = shown();
    EXPECT_EQ(picture.pixel(10, 10), 0xFF0000u);
    EXPECT_EQ(picture.pixel(13, 13), 0xFF0000u);
    EXPECT_EQ(picture.pixel(14, 10), kLight);
}

TEST_F(PanelTest, ACaptionIsCentred) {
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetCaption("x");
    const Image& picture = shown();
    // One glyph of the bitmap font, 6 x 13, centred in 100 x 60: ink only in its cell.
    int inkLeft = 1000, inkRight = -1;
    for (int y = 10; y < 70; ++y) {
        for (int x = 10; x < 110; ++x) {
            if (picture.pixel(x, y) != 0x000000) continue;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x);
        }
    }
    EXPECT_GE(inkLeft, 10 + 47);
    EXPECT_LE(inkRight, 10 + 53);
}

}  // namespace
}  // namespace zozuz
