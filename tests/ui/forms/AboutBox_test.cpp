#include <gtest/gtest.h>

#include <string>

#include "app/ProgramPictures.h"
#include "app/TApplication.h"
#include "base/Exception.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kBlue = 0x0000FF;

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(mainForm);
        app.CreateForm(about);
        mainForm->Show();
    }
    HeadlessWindow& native() { return static_cast<HeadlessWindow&>(*about->Native()); }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    // A left click at a point of the box's client area.
    void postClick(Point at) {
        host.postMouse(*about->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, at});
        host.postMouse(*about->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, at});
    }
    Point centreOf(const TControl& control) {
        const Rect r = control.WindowRect();
        return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    bool containsColour(const Rect& area, std::uint32_t rgb) {
        const Image& image = native().image();
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (image.pixel(x, y) == rgb) return true;
        return false;
    }

    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* mainForm = nullptr;
    TAboutBox* about = nullptr;
};

TEST_F(AboutBoxTest, ComponentsSitWhereTheyBelongWithTheirTextsAndFonts) {
    EXPECT_EQ(about->Panel1->BoundsRect(), (Rect{8, 8, 289, 169}));
    EXPECT_EQ(about->Panel1->BevelOuter(), TBevelCut::bvLowered);
    EXPECT_EQ(about->Panel1->BevelInner(), TBevelCut::bvNone);
    EXPECT_EQ(about->Panel1->Caption(), "");
    EXPECT_EQ(about->ProgramIcon->Parent(), about->Panel1);
    EXPECT_EQ(about->ProgramIcon->BoundsRect(), (Rect{8, 8, 72, 72}));
    EXPECT_EQ(about->ProgramIcon->Picture().width(), 64);

    struct Expected {
        TLabel* label;
        int left, top;
        const char* caption;
        int pixelHeight;
    };
    const Expected labels[] = {
        {about->ProductName, 96, 8, "青禾zozuz", 16},
        {about->Version, 96, 32, "Version1.0", 16},
        {about->Copyright, 16, 80, "Copyright (C) 2026 青禾", 13},
        {about->Comments, 16, 104, "青禾 zozuz 开发组", 13},
        {about->Label1, 16, 120, "主页：   www.zozuz.example.com", 13},
        {about->Label2, 16, 136, "email： author@zozuz.example.com", 13},
    };
    for (const Expected& e : labels) {
        SCOPED_TRACE(e.label->Name());
        EXPECT_EQ(e.label->Parent(), about->Panel1);
        EXPECT_EQ(e.label->Left(), e.left);
        EXPECT_EQ(e.label->Top(), e.top);
        EXPECT_EQ(e.label->Caption(), e.caption);
        EXPECT_EQ(e.label->GetFont().family, "宋体");
        EXPECT_EQ(e.label->GetFont().pixelHeight, e.pixelHeight);
        EXPECT_EQ(e.label->GetFont().rgb, kBlue);
        // Sized to the text: one line of it, as wide as it is (the Comments keeps its width).
        EXPECT_GT(e.label->Width(), 0);
        EXPECT_EQ(e.label->Height(), host.textRenderer().measure(e.label->GetFont(), " ").height);
    }
    EXPECT_EQ(about->ProductName->Width(), host.textRenderer().measure(about->ProductName->GetFont(), "青禾zozuz").width);
    EXPECT_EQ(about->Comments->Width(), 185);
    EXPECT_TRUE(about->Comments->WordWrap());
    EXPECT_EQ(about->Label1->Cursor(), TCursor::crHandPoint);
    EXPECT_EQ(about->Label2->Cursor(), TCursor::crHandPoint);
    EXPECT_EQ(about->Copyright->Cursor(), TCursor::crDefault);

    EXPECT_EQ(about->OKButton->Parent(), about);
    EXPECT_EQ(about->OKButton->BoundsRect(), (Rect{118, 178, 183, 204}));
    EXPECT_EQ(about->OKButton->Caption(), "确定");
    EXPECT_TRUE(about->OKButton->Default());
    EXPECT_FALSE(about->OKButton->Cancel());
    EXPECT_EQ(about->OKButton->ModalResult(), mrOk);
    EXPECT_EQ(about->OKButton->GetFont().pixelHeight, 16);
    EXPECT_EQ(about->OKButton->GetFont().rgb, 0x000000u);
    EXPECT_EQ(about->Panel1->TabOrder(), 0);
    EXPECT_EQ(about->OKButton->TabOrder(), 1);
    EXPECT_EQ(about->ActiveControl(), about->OKButton) << "the focus waits on the button";
}

TEST_F(AboutBoxTest, PaintsThePanelPictureAndTextsTheSameOnEveryShowing) {
    Image first;
    host.whenIdle([&] {
        drain();
        first = native().image();
        host.postKeyPress(*about->Native(), vk::Return);
    });
    about->ShowModal();

    // The picture at its natural size in the panel's top left corner: red outermost.
    const Image picture = aboutPicture();
    EXPECT_EQ(first.pixel(16, 16), picture.pixel(0, 0));
    EXPECT_EQ(first.pixel(16 + 40, 16 + 40), picture.pixel(40, 40));
    // The sunken bevel: shaded along the top and left, lit along the bottom and right.
    EXPECT_EQ(first.pixel(100, 8), 0xA0A0A0u);
    EXPECT_EQ(first.pixel(8, 100), 0xA0A0A0u);
    EXPECT_EQ(first.pixel(100, 168), 0xFFFFFFu);
    EXPECT_EQ(first.pixel(288, 100), 0xFFFFFFu);
    // Inside the panel and around the labels, the window's button face.
    EXPECT_EQ(first.pixel(250, 60), 0xF0F0F0u);
    const Rect productName = about->ProductName->WindowRect();
    EXPECT_EQ(first.pixel(productName.right - 1, productName.top), 0xF0F0F0u)
        << "the label paints its background in the panel's colour";

    Image second;
    host.whenIdle([&] {
        drain();
        second = native().image();
        EXPECT_TRUE(containsColour(about->Label2->WindowRect(), kBlue)) << "blue text";
        EXPECT_TRUE(containsColour(about->OKButton->WindowRect(), 0x000000)) << "black button text";
        host.postKeyPress(*about->Native(), vk::Return);
    });
    about->ShowModal();
    ASSERT_EQ(second.width(), first.width());
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) ASSERT_EQ(second.pixel(x, y), first.pixel(x, y)) << x << "," << y;
}

TEST_F(AboutBoxTest, EnterAndSpaceCloseWithOkEscDoesNothingAndTheCloseBoxCancels) {
    // Enter, without the mouse ever touching the box.
    host.whenIdle([&] { host.postKeyPress(*about->Native(), vk::Return); });
    EXPECT_EQ(about->ShowModal(), mrOk);
    EXPECT_FALSE(about->Visible());
    EXPECT_EQ(host.activeWindow(), mainForm->Native());

    // Enter with Shift, Ctrl or Alt is no press of the default button.
    host.whenIdle([&] {
        host.postKeyPress(*about->Native(), vk::Return, true);
        host.postKeyPress(*about->Native(), vk::Return, false, true);
    });
    host.whenIdle([&] {
        EXPECT_TRUE(about->Visible());
        host.postKeyPress(*about->Native(), vk::Space);
    });
    EXPECT_EQ(about->ShowModal(), mrOk);

    host.whenIdle([&] { host.postKeyPress(*about->Native(), vk::Escape); });
    host.whenIdle([&] {
        EXPECT_TRUE(about->Visible()) << "Esc leaves the box open";
        EXPECT_EQ(about->ModalResult(), mrNone);
        host.postCloseRequest(*about->Native());
    });
    EXPECT_EQ(about->ShowModal(), mrCancel);

    host.whenIdle([&] { postClick(centreOf(*about->OKButton)); });
    EXPECT_EQ(about->ShowModal(), mrOk);
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(AboutBoxTest, TheLinksHandTheirAddressesToTheDesktopAndLeaveTheBoxOpen) {
    host.setOpenAddressResult(false);  // no browser or mail program: nothing is reported
    host.whenIdle([&] { postClick(centreOf(*about->Label1)); });
    host.whenIdle([&] { postClick(centreOf(*about->Label2)); });
    host.whenIdle([&] {
        EXPECT_TRUE(about->Visible());
        EXPECT_TRUE(about->Modal());
        // A press on the link that is released elsewhere opens nothing.
        host.postMouse(*about->Native(),
                       MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, centreOf(*about->Label1)});
        host.postMouse(*about->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, Point{250, 60}});
    });
    host.whenIdle([&] { host.postCloseRequest(*about->Native()); });
    EXPECT_EQ(about->ShowModal(), mrCancel);

    ASSERT_EQ(host.shellCalls().size(), 2u);
    EXPECT_EQ(host.shellCalls()[0].address, "www.zozuz.example.com");
    EXPECT_EQ(host.shellCalls()[0].owner, about->Native());
    EXPECT_EQ(host.shellCalls()[1].address, "mailto:author@zozuz.example.com");
    EXPECT_EQ(host.shellCalls()[1].owner, about->Native());
    EXPECT_TRUE(host.messageBoxes().empty());
    EXPECT_EQ(host.activeWindow(), mainForm->Native());
}

TEST_F(AboutBoxTest, ThePointerIsAHandOverTheLinksOnly) {
    auto move = [&](Point at) {
        host.postMouse(*about->Native(), MouseEvent{MouseEvent::Kind::Move, MouseEvent::Button::None, at});
    };
    std::vector<PointerShape> shapes;
    host.whenIdle([&] {
        move(centreOf(*about->Label1));
        host.post([&] { shapes.push_back(native().pointerShape()); });
        move(centreOf(*about->Copyright));
        host.post([&] { shapes.push_back(native().pointerShape()); });
        move(centreOf(*about->Label2));
        host.post([&] { shapes.push_back(native().pointerShape()); });
        move(centreOf(*about->OKButton));
        host.post([&] { shapes.push_back(native().pointerShape()); });
        host.postKeyPress(*about->Native(), vk::Return);
    });
    about->ShowModal();
    EXPECT_EQ(shapes, (std::vector<PointerShape>{PointerShape::Hand, PointerShape::Arrow, PointerShape::Hand,
                                                 PointerShape::Arrow}));
}

TEST_F(AboutBoxTest, AnErrorInsideTheBoxIsShownOverItAndTheBoxStaysOpen) {
    about->Label1->OnClick = [](TLabel&) { throw EInvalidOperation("Link failed"); };
    host.whenIdle([&] { postClick(centreOf(*about->Label1)); });
    host.whenIdle([&] {
        EXPECT_TRUE(about->Visible());
        host.postKeyPress(*about->Native(), vk::Return);
    });
    EXPECT_EQ(about->ShowModal(), mrOk);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Link failed.");
}

}  // namespace
}  // namespace zozuz
