// The main window as a screen reader finds it on the headless host: its drawn controls with their
// roles and names, the press of a button, the notices of changes, and the editor's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MainWindowCommands.h"
#include "ui/forms/TAboutBox.h"

namespace zozuz {
namespace {

using Accessibility = MainWindowCommands;

std::string roleName(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::ToolBar: return "toolbar";
    case AccessibleRole::PushButton: return "button";
    case AccessibleRole::StatusBar: return "status";
    case AccessibleRole::ProgressBar: return "progress";
    case AccessibleRole::Label: return "label";
    case AccessibleRole::Image: return "image";
    }
    return "?";
}

const AccessibleNode* named(const std::vector<AccessibleNode>& nodes, const std::string& name) {
    for (const AccessibleNode& node : nodes)
        if (node.name == name) return &node;
    return nullptr;
}

TEST_F(Accessibility, TheMainWindowDescribesItsToolbarButtonsAndStatusLine) {
    HeadlessWindow& window = static_cast<HeadlessWindow&>(*form->Native());
    const std::vector<AccessibleNode> nodes = window.accessibleTree();
    std::vector<std::string> described;
    for (const AccessibleNode& node : nodes)
        described.push_back(roleName(node.role) + " " + node.name);
    // Buttons in the toolbar, named by their tooltips; separators and the gauge (hidden) are not there.
    // The gauge lies beneath the editor's window and is not there either.
    const std::vector<std::string> expected = {
        "toolbar ",           "button 创建新文档",   "button 打开现有文档",
        "button 保存活动文档",  "button 通过电子邮件发送文档", "button Cut",
        "button 复制选定内容并将它放入剪贴板", "button 插入剪贴板内容", "button 加密",
        "button 解密",         "status ",
    };
    EXPECT_EQ(described, expected);
    const std::uint32_t toolbar = nodes.front().id;
    for (std::size_t i = 1; i + 1 < nodes.size(); ++i) EXPECT_EQ(nodes[i].parent, toolbar);
    EXPECT_EQ(named(nodes, "加密")->bounds, form->ToolButton10->WindowRect());
    EXPECT_TRUE(named(nodes, "加密")->enabled);
    EXPECT_FALSE(named(nodes, "解密")->enabled);
}

TEST_F(Accessibility, TheAboutBoxReadsAsLabelsAPictureAndItsButton) {
    TAboutBox* about = nullptr;
    app.CreateForm(about);
    about->HandleNeeded();
    std::vector<std::string> roles;
    for (const AccessibleNode& node : static_cast<HeadlessWindow&>(*about->Native()).accessibleTree())
        roles.push_back(roleName(node.role));
    std::sort(roles.begin(), roles.end());
    roles.erase(std::unique(roles.begin(), roles.end()), roles.end());
    EXPECT_EQ(roles, (std::vector<std::string>{"button", "image", "label"}));
}

TEST_F(Accessibility, PressingEncryptRunsItAsAClickAndTheChangesAreAnnounced) {
    HeadlessWindow& window = static_cast<HeadlessWindow&>(*form->Native());
    setText("abc \xD6\xD0\xCE\xC4");
    AccessibleText& text = *editorWindow().client().accessibleText();
    EXPECT_EQ(text.text(0, text.characterCount()), "abc 中文");

    const std::vector<AccessibleNode> nodes = window.accessibleTree();
    window.clearAccessibleEvents();
    editorWindow().clearAccessibleChanges();
    window.client().accessibleAction(named(nodes, "加密")->id);
    host.advanceClock(1);
    drain();
    window.accessibleTree();  // a reader asking before the idle step swallows no notice
    EXPECT_EQ(text.text(0, 4), "bcd!") << "the text encrypted";
    EXPECT_EQ(states(), "off/on");
    EXPECT_FALSE(editorWindow().accessibleChanges().empty());
    // The gauge showed, counted and went while the run lasted; the buttons swapped at the next idle step.
    idleStep();
    const std::vector<AccessibleNode> after = window.accessibleTree();
    EXPECT_FALSE(named(after, "加密")->enabled);
    EXPECT_TRUE(named(after, "解密")->enabled);
    const auto told = [&](AccessibleEvent event, std::uint32_t id) {
        for (const auto& record : window.accessibleEvents())
            if (record.first == event && record.second == id) return true;
        return false;
    };
    EXPECT_TRUE(told(AccessibleEvent::Structure, 0));
    EXPECT_TRUE(told(AccessibleEvent::StateChanged, named(after, "解密")->id));
    // Pressing the disabled button does nothing; an id that names nothing neither.
    window.client().accessibleAction(named(after, "加密")->id);
    window.client().accessibleAction(999999);
    drain();
    EXPECT_EQ(states(), "off/on");
    EXPECT_TRUE(errors().empty());
}

}  // namespace
}  // namespace zozuz
