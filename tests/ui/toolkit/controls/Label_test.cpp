#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TApplication.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TLabel.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

using Lines = std::vector<std::string>;

// Six pixels a character, whatever the character, in the headless host's 13-pixel font.
const Font kFont{"宋体", 13, Font::Charset::GB2312, 0x0000FF, false};

Lines breakAt(const std::string& text, int width) {
    BitmapFontRenderer renderer;
    return TLabel::BreakLines(renderer, kFont, text, width);
}

TEST(LabelLines, BreakAfterSpacesAroundChineseCharactersAndInsideOverlongWords) {
    EXPECT_EQ(breakAt("ab cd", -1), (Lines{"ab cd"})) << "without a width, one line";
    EXPECT_EQ(breakAt("ab cd", 30), (Lines{"ab cd"})) << "exactly as wide as the width still fits";
    EXPECT_EQ(breakAt("ab cd", 29), (Lines{"ab", "cd"}));
    EXPECT_EQ(breakAt("ab  cd", 12), (Lines{"ab", "cd"})) << "spaces at a break hang past the edge";
    EXPECT_EQ(breakAt("青禾开发组", 18), (Lines{"青禾开", "发组"})) << "a Chinese character stands alone";
    EXPECT_EQ(breakAt("青禾zozuz", 30), (Lines{"青禾", "zozuz"}));
    EXPECT_EQ(breakAt("ab cdefghij", 24), (Lines{"ab", "cdef", "ghij"}));
    EXPECT_EQ(breakAt("abcde f", 24), (Lines{"abcd", "e f"})) << "the rest of a broken word takes more after it";
    EXPECT_EQ(breakAt("abcdefgh", 18), (Lines{"abc", "def", "gh"})) << "a word wider than the line";
    EXPECT_EQ(breakAt("abc", 1), (Lines{"a", "b", "c"})) << "at least one character a line";
    EXPECT_EQ(breakAt("ab\ncd", -1), (Lines{"ab", "cd"}));
    EXPECT_EQ(breakAt("", 50), (Lines{""}));
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(0x00FFFF);  // yellow, as 0x00BBGGRR
        label = new TLabel(form);
        label->SetParent(form);
        label->SetBounds(10, 20, 1, 1);
        label->SetFont(kFont);
    }
    HeadlessWindow& native() { return static_cast<HeadlessWindow&>(*form->Native()); }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    void click(Point down, Point up) {
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, down});
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, up});
        drain();
    }

    HeadlessHost host;
    TApplication app{host};
    TForm* form = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelTest, FitsItselfToItsTextAndWrapsToTheWidthItKeeps) {
    label->SetCaption("abcd");
    EXPECT_EQ(label->BoundsRect(), (Rect{10, 20, 34, 33}));
    label->SetFont(Font{"宋体", 16, Font::Charset::GB2312, 0, false});
    EXPECT_EQ(label->BoundsRect(), (Rect{10, 20, 58, 36})) << "a new font fits it again";

    label->SetFont(kFont);
    label->SetBounds(10, 20, 20, 13);
    label->SetWordWrap(true);
    EXPECT_EQ(label->BoundsRect(), (Rect{10, 20, 30, 46})) << "two lines, the width kept";

    label->SetAutoSize(false);
    label->SetCaption("a much longer text than before");
    EXPECT_EQ(label->BoundsRect(), (Rect{10, 20, 30, 46})) << "without AutoSize the bounds stay";
}

TEST_F(LabelTest, PaintsItsBackgroundInItsParentsColourAndItsTextInTheFontColour) {
    label->SetCaption("青");
    form->Show();
    drain();
    const Image& image = native().image();
    bool blue = false;
    bool other = false;
    for (int y = 20; y < 33; ++y) {
        for (int x = 10; x < 16; ++x) {
            const std::uint32_t p = image.pixel(x, y);
            blue |= p == 0x0000FF;
            other |= p != 0x0000FF && p != 0xFFFF00;
        }
    }
    EXPECT_TRUE(blue);
    EXPECT_FALSE(other) << "only text and the parent's yellow";
}

TEST_F(LabelTest, ClicksOnAPressAndReleaseOverItOnly) {
    label->SetCaption("link");
    int clicks = 0;
    label->OnClick = [&](TLabel& sender) {
        EXPECT_EQ(&sender, label);
        ++clicks;
    };
    form->Show();
    click({12, 22}, {14, 24});
    EXPECT_EQ(clicks, 1);
    click({12, 22}, {200, 150});
    EXPECT_EQ(clicks, 1) << "released elsewhere";
    click({200, 150}, {12, 22});
    EXPECT_EQ(clicks, 1) << "pressed elsewhere";
    host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Right, {12, 22}});
    host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Right, {12, 22}});
    drain();
    EXPECT_EQ(clicks, 1) << "the right button";
}

}  // namespace
}  // namespace zozuz
