#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "app/TApplication.h"
#include "hosts/headless/HeadlessHost.h"

#include "CommandForm.h"

namespace zozuz {
namespace {

// The application draws its tooltips in the host's tooltip window without being told to.
TEST(TooltipWindowTest, TheToolbarsTooltipsAppearInTheHostsTooltipWindow) {
    HeadlessHost host;
    TApplication app(host);
    CommandForm* form = nullptr;
    app.CreateForm(form);
    // As the window stores it: the toolbar shows tooltips and its buttons follow it.
    ASSERT_TRUE(form->ToolBar1->ShowHint());
    ASSERT_TRUE(form->button("ToolButton4").ParentShowHint());
    form->Show();
    const RecordedTooltip& window = host.tooltipWindow();

    Point pointer{};
    auto pointAt = [&](const TControl& control) {
        const Rect place = control.WindowRect();
        pointer = form->Native()->clientToScreen({place.left + 4, place.top + 4});
        host.setPointerPosition(pointer);
    };
    auto step = [&](std::function<void()> action) {
        host.whenIdle([&host, action] {
            action();
            host.post([] {});
        });
    };
    step([&] { pointAt(form->button("ToolButton4")); });
    step([&] { host.advanceClock(500); });
    step([&] {
        EXPECT_EQ(window.text(), std::optional<std::string>("Cut (Ctrl+X)"));
        EXPECT_EQ(window.pointer().x, pointer.x);
        EXPECT_EQ(window.pointer().y, pointer.y);
        host.advanceClock(2500);
    });
    step([&] {
        EXPECT_EQ(window.text(), std::nullopt) << "hidden after its time";
        pointAt(form->button("ToolButton11"));
    });
    step([&] { host.advanceClock(0); });
    step([&] {
        EXPECT_EQ(window.text(), std::optional<std::string>("解密"));
        pointAt(*form->Memo1);
    });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(window.text(), std::nullopt) << "the editor has no tooltip";
    EXPECT_EQ(window.shows(), 2u);
}

}  // namespace
}  // namespace zozuz
