#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TGraphicControl.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

class PlainForm : public TForm {
public:
    explicit PlainForm(TApplication& application) : TForm(application) { SetBounds(0, 0, 300, 200); }
};

// Writes what reaches a control into a log shared by the whole tree: "name event".
struct Log {
    std::vector<std::string> lines;
    void add(const std::string& line) { lines.push_back(line); }
    std::vector<std::string> take() { return std::exchange(lines, {}); }
};

std::string describe(const MouseEvent& event) {
    const char* kinds[] = {"move", "down", "up", "double", "wheel"};
    return std::string(kinds[static_cast<int>(event.kind)]) + " " + std::to_string(event.position.x) + "," +
           std::to_string(event.position.y);
}

// A windowed control that may take the focus.
class Box : public TWinControl {
public:
    Box(TWinControl& parent, Log& log, const std::string& name, Rect bounds, TComponent* owner = nullptr)
        : TWinControl(owner ? owner : &parent), log_(log) {
        SetName(name);
        SetParent(&parent);
        SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
        SetTabStop(true);
        OnMouse = [this](TControl&, const MouseEvent& e) { log_.add(Name() + " " + describe(e)); };
    }
    bool wantsTab = false;

    void KeyDown(const KeyEvent& key) override { log_.add(Name() + " key " + std::to_string(key.virtualKey)); }

protected:
    bool WantsTab() const override { return wantsTab; }
    void FocusChanged(bool focused) override { log_.add(Name() + (focused ? " focus" : " blur")); }

private:
    Log& log_;
};

// A window-less control that fills its bounds with one colour and logs the mouse.
class Spot : public TGraphicControl {
public:
    Spot(TWinControl& parent, Log& log, const std::string& name, Rect bounds, std::uint32_t rgb)
        : TGraphicControl(&parent), rgb_(rgb) {
        SetName(name);
        SetParent(&parent);
        SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
        OnMouse = [this, &log](TControl&, const MouseEvent& e) { log.add(Name() + " " + describe(e)); };
    }

protected:
    void Paint() override {
        Image image(Width(), Height());
        for (int y = 0; y < image.height(); ++y) std::fill_n(image.row(y), image.width(), rgb_);
        DrawImage(image);
    }

private:
    std::uint32_t rgb_;
};

class WinControlTest : public ::testing::Test {
protected:
    void SetUp() override { app.CreateForm(form); }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    void press(std::uint8_t key, bool shift = false) {
        host.postKeyPress(*form->Native(), key, shift);
        drain();
    }
    void mouse(MouseEvent::Kind kind, Point at) {
        MouseEvent event;
        event.kind = kind;
        event.button = MouseEvent::Button::Left;
        event.position = at;
        host.postMouse(*form->Native(), event);
        drain();
    }
    std::vector<std::string> names(const std::vector<TWinControl*>& controls) {
        std::vector<std::string> out;
        for (TWinControl* c : controls) out.push_back(c->Name());
        return out;
    }

    Log log;  // outlives the windows, which may still report while they close
    HeadlessHost host;
    TApplication app{host};
    PlainForm* form = nullptr;
};

TEST_F(WinControlTest, SearchesGoDepthFirstInChildOrderAndSkipHiddenContainers) {
    auto* panel = new Box(*form, log, "panel", {0, 0, 100, 100});
    new Box(*panel, log, "inner", {0, 0, 10, 10});
    new Spot(*form, log, "spot", {0, 0, 5, 5}, 0);
    auto* hidden = new Box(*form, log, "hidden", {0, 0, 10, 10});
    new Box(*hidden, log, "insideHidden", {0, 0, 5, 5});
    hidden->SetVisible(false);
    auto* memo = new Box(*form, log, "memo", {0, 0, 10, 10});

    std::vector<std::string> visited;
    EXPECT_EQ(form->SearchControls([&](TControl& c) {
        visited.push_back(c.Name());
        return false;
    }),
              nullptr);
    EXPECT_EQ(visited, (std::vector<std::string>{"panel", "inner", "spot", "memo"}));

    // The target search: the active control, then the window, then the tree; only while showing.
    memo->SetFocus();
    visited.clear();
    auto offer = [&](TControl& c) {
        visited.push_back(c.Name().empty() ? "form" : c.Name());
        return false;
    };
    EXPECT_EQ(form->FindTarget(offer), nullptr);
    EXPECT_TRUE(visited.empty()) << "a window that does not show offers nothing";
    form->Show();
    EXPECT_EQ(form->FindTarget(offer), nullptr);
    EXPECT_EQ(visited, (std::vector<std::string>{"memo", "form", "panel", "inner", "spot", "memo"}));
    EXPECT_EQ(form->FindTarget([](TControl& c) { return c.Name() == "inner"; })->Name(), "inner");
}

TEST_F(WinControlTest, TabOrderCyclesThroughControlsThatCanTakeTheFocus) {
    auto* a = new Box(*form, log, "a", {0, 0, 10, 10});
    auto* panel = new Box(*form, log, "panel", {0, 20, 100, 50});
    panel->SetTabStop(false);
    auto* b = new Box(*panel, log, "b", {0, 0, 10, 10});
    auto* c = new Box(*form, log, "c", {0, 80, 10, 10});
    EXPECT_EQ(names(form->TabOrderList()), (std::vector<std::string>{"a", "panel", "b", "c"}));
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    EXPECT_EQ(form->FindNextControl(nullptr, true), c);
    EXPECT_EQ(form->FindNextControl(c, true), a);
    EXPECT_EQ(form->FindNextControl(a, true), b) << "the panel is no tab stop; its contents are";
    EXPECT_EQ(form->FindNextControl(b, true), c) << "round again";
    EXPECT_EQ(form->FindNextControl(c, false), b);
    EXPECT_EQ(form->FindNextControl(nullptr, false), b);

    panel->SetVisible(false);
    EXPECT_EQ(form->FindNextControl(a, true), c) << "a hidden container hides what it holds";
    a->SetEnabled(false);
    EXPECT_EQ(form->FindNextControl(c, true), c) << "the only one left";
    c->SetTabStop(false);
    EXPECT_EQ(form->FindNextControl(c, true), nullptr);
    EXPECT_FALSE(a->SetFocus());
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_FALSE(form->CanFocus()) << "a window never takes the focus from its controls";
}

TEST_F(WinControlTest, TheFocusComesWithTheWindowAndStaysWithTheControlThatLastHeldIt) {
    auto* a = new Box(*form, log, "a", {0, 0, 10, 10});
    auto* b = new Box(*form, log, "b", {0, 20, 10, 10});
    EXPECT_FALSE(a->Focused());
    form->Show();
    EXPECT_EQ(form->ActiveControl(), a) << "the first activation focuses the first tab stop";
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(log.take(), (std::vector<std::string>{"a focus"}));

    b->SetFocus();
    EXPECT_EQ(log.take(), (std::vector<std::string>{"a blur", "b focus"}));
    PlainForm* other = nullptr;
    app.CreateForm(other);
    other->Show();  // takes the activation away
    EXPECT_FALSE(b->Focused());
    EXPECT_EQ(form->ActiveControl(), b) << "the control that last held the focus";
    EXPECT_EQ(log.take(), (std::vector<std::string>{"b blur"}));
    other->Hide();
    form->Show();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(log.take(), (std::vector<std::string>{"b focus"}));
}

TEST_F(WinControlTest, KeysReachTheFocusedControlAfterTheShortcutCheck) {
    auto* a = new Box(*form, log, "a", {0, 0, 10, 10});
    auto* b = new Box(*form, log, "b", {0, 20, 10, 10});
    form->OnShortCut = [&](const KeyEvent& key) { return key.virtualKey == vk::F12; };
    form->OnKeyDown = [&](const KeyEvent& key) { log.add("form key " + std::to_string(key.virtualKey)); };
    form->Show();
    log.take();
    press('A');
    press(vk::F12);
    EXPECT_EQ(log.take(), (std::vector<std::string>{"a key 65"})) << "the shortcut consumed F12";

    press(vk::Tab);
    EXPECT_TRUE(b->Focused());
    press(vk::Tab, true);
    EXPECT_TRUE(a->Focused());
    log.take();
    a->wantsTab = true;
    press(vk::Tab);
    EXPECT_EQ(log.take(), (std::vector<std::string>{"a key 9"})) << "a control that wants Tab types it";

    a->SetEnabled(false);
    b->SetEnabled(false);
    press('B');
    EXPECT_EQ(log.take(), (std::vector<std::string>{"form key 66"})) << "no control can take it: the window does";
}

TEST_F(WinControlTest, MouseInputGoesToTheControlUnderThePointerAndStaysWithAPress) {
    auto* first = new Box(*form, log, "first", {0, 150, 20, 170});
    auto* panel = new Box(*form, log, "panel", {100, 50, 200, 150});
    panel->SetTabStop(false);
    new Spot(*panel, log, "spot", {10, 10, 30, 30}, 0);
    auto* edit = new Box(*panel, log, "edit", {50, 10, 90, 30});
    auto* off = new Box(*form, log, "off", {0, 0, 50, 50});
    off->SetEnabled(false);
    form->Show();
    EXPECT_TRUE(first->Focused());
    log.take();
    mouse(MouseEvent::Kind::Move, {115, 65});
    mouse(MouseEvent::Kind::Move, {20, 20});
    EXPECT_EQ(log.take(), (std::vector<std::string>{"spot move 5,5"})) << "a disabled control takes no mouse input";
    EXPECT_EQ(form->ControlAtPoint({20, 20}), off) << "but is tracked under the pointer";

    mouse(MouseEvent::Kind::Down, {155, 65});
    mouse(MouseEvent::Kind::Move, {5, 5});
    mouse(MouseEvent::Kind::Up, {5, 5});
    mouse(MouseEvent::Kind::Move, {120, 120});
    EXPECT_EQ(log.take(), (std::vector<std::string>{"first blur", "edit focus", "edit down 5,5", "edit move -145,-55",
                                                    "edit up -145,-55", "panel move 20,70"}));
    EXPECT_EQ(form->ActiveControl(), edit);
}

TEST_F(WinControlTest, RemovedControlsLeaveTheFocusAndTheMouseCapture) {
    auto* panel = new Box(*form, log, "panel", {0, 0, 100, 100});
    auto* inner = new Box(*panel, log, "inner", {0, 0, 50, 50}, form);
    form->Show();
    inner->SetFocus();
    mouse(MouseEvent::Kind::Down, {10, 10});
    delete panel;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(inner->Parent(), nullptr) << "a container destroyed first lets go of what it holds";
    mouse(MouseEvent::Kind::Up, {10, 10});  // reaches the form, not the gone control
    delete inner;
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(WinControlTest, AControlCannotHoldItsOwnParent) {
    auto* outer = new Box(*form, log, "outer", {0, 0, 100, 100});
    auto* inner = new Box(*outer, log, "inner", {0, 0, 50, 50});
    EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
    EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
    EXPECT_EQ(outer->Parent(), form);
}

TEST_F(WinControlTest, ErrorsInMouseHandlersAreShown) {
    auto* spot = new Spot(*form, log, "spot", {0, 0, 50, 50}, 0);
    spot->OnMouse = [](TControl&, const MouseEvent&) { throw EInvalidOperation("Click failed"); };
    form->Show();
    mouse(MouseEvent::Kind::Down, {10, 10});
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Click failed.");
}

TEST_F(WinControlTest, ContainersPaintTheirControlsAtTheirPlaceWithinTheirBounds) {
    auto* panel = new Box(*form, log, "panel", {100, 50, 150, 100});
    panel->SetColor(clWhite);
    new Spot(*form, log, "under", {90, 40, 120, 70}, 0x00FF00);
    auto* gauge = new TGauge(panel);
    gauge->SetParent(panel);
    gauge->SetBounds(10, 10, 100, 20);  // reaches past the panel's right edge
    form->Show();
    drain();
    const Image& image = static_cast<HeadlessWindow&>(*form->Native()).image();
    EXPECT_EQ(image.pixel(95, 45), 0x00FF00u);
    EXPECT_EQ(image.pixel(105, 55), 0xFFFFFFu) << "the windowed panel lies above the window-less spot";
    EXPECT_EQ(image.pixel(110, 60), 0x000000u) << "the gauge's frame, at the panel's place";
    EXPECT_EQ(image.pixel(155, 65), 0xF0F0F0u) << "cut off at the panel's edge";

    gauge->SetProgress(100);  // paints at once, inside the panel only
    EXPECT_EQ(image.pixel(148, 65), 0x000000u);
    EXPECT_EQ(image.pixel(155, 65), 0xF0F0F0u);

    Font font = form->GetFont();
    font.pixelHeight = 21;
    form->SetFont(font);
    EXPECT_EQ(gauge->GetFont().pixelHeight, 21) << "through the panel, which follows the form";
}

}  // namespace
}  // namespace zozuz
