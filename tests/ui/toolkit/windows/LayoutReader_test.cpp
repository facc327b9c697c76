// Reading a window from its stored layout: values first, references after, then the end of loading;
// and a layout that names what is not there fails with a message that says where.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/LayoutReader.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

using namespace std::string_literals;

class LayoutReaderTest : public ::testing::Test {
protected:
    // Reads `layout` into a fresh window whose only handler is "Run", which counts its calls.
    TForm& read(const StoredLayout& layout) {
        windows.push_back(std::make_unique<TForm>(app));
        form = windows.back().get();
        LayoutReader::Handlers handlers{{"Run", TNotifyEvent([this](TComponent&) { ++runs; })}};
        LayoutReader(*form, handlers).Read(layout);
        return *form;
    }
    // The message of the error reading `layout` raises; empty when it reads.
    std::string failure(const StoredLayout& layout) {
        try {
            read(layout);
        } catch (const EReadError& error) {
            return error.message();
        }
        return "";
    }
    template <class T>
    T& get(const std::string& name) {
        return dynamic_cast<T&>(*form->FindComponent(name));
    }

    HeadlessHost host;
    TApplication app{host};
    // Declared after the application, so the windows go first.
    std::vector<std::unique_ptr<TForm>> windows;
    TForm* form = nullptr;
    int runs = 0;
};

// A small window: an action, a menu entry and a button linked to it, the entry placed before the
// action it names, so its link can only be made once every component is there.
StoredLayout linkedWindow() {
    return {
        {"TForm", "Window", "", {{"Caption", "w"s}, {"Menu", "Menu"s}}},
        {"TMainMenu", "Menu", "", {{"Images", "Pictures"s}}},
        {"TMenuItem", "Top", "Menu", {{"Caption", "文件(&F)"s}}},
        {"TMenuItem", "Entry", "Top", {{"Caption", "新建(&N)"s}, {"Hint", "mine"s}, {"Action", "New"s}}},
        {"TActionList", "Actions", "", {}},
        {"TAction", "New", "Actions",
         {{"Caption", "&New"s}, {"Hint", "New|theirs"s}, {"ShortCut", 16462}, {"ImageIndex", 6}, {"OnExecute", "Run"s}}},
        {"TImageList", "Pictures", "", {{"Pictures", "program"s}}},
        {"TToolBar", "Bar", "", {{"Indent", 5}, {"Images", "Pictures"s}}},
        {"TToolButton", "B1", "Bar", {{"Action", "New"s}}},
        {"TToolButton", "S1", "Bar", {{"Style", "tbsSeparator"s}}},
        {"TToolButton", "B2", "Bar", {{"Enabled", false}, {"ImageIndex", 16}}},
    };
}

TEST_F(LayoutReaderTest, ClientsKeepTheirStoredValuesAndTakeTheRestFromTheirAction) {
    TForm& window = read(linkedWindow());
    EXPECT_EQ(window.Name(), "Window");
    EXPECT_EQ(window.Menu(), &get<TMainMenu>("Menu"));
    EXPECT_FALSE(window.Loading());

    TMenuItem& entry = get<TMenuItem>("Entry");
    EXPECT_EQ(entry.Caption(), "新建(&N)");
    EXPECT_EQ(entry.Hint(), "mine");
    EXPECT_EQ(entry.ShortCut(), 16462);
    EXPECT_EQ(entry.ImageIndex(), 6);
    EXPECT_EQ(get<TMainMenu>("Menu").Images(), &get<TImageList>("Pictures"));
    EXPECT_EQ(get<TImageList>("Pictures").Count(), 22);

    TToolButton& button = get<TToolButton>("B1");
    EXPECT_EQ(button.Hint(), "New|theirs");
    EXPECT_EQ(button.ImageIndex(), 6);
    EXPECT_FALSE(get<TToolButton>("B2").Enabled());

    // The buttons took their places once the bar had all of them.
    EXPECT_EQ(button.Left(), 5);
    EXPECT_EQ(get<TToolButton>("S1").Left(), 28);
    EXPECT_EQ(get<TToolButton>("B2").Left(), 36);

    // The handler bound by name runs from the entry and from the button alike.
    entry.Click();
    button.Click();
    EXPECT_EQ(runs, 2);
}

TEST_F(LayoutReaderTest, ALayoutNamingWhatIsNotThereFailsSayingWhere) {
    struct Case {
        const char* what;
        StoredLayout layout;
        const char* message;
    };
    const Case cases[] = {
        {"an action that does not exist",
         {{"TForm", "W", "", {}}, {"TToolBar", "Bar", "", {}}, {"TToolButton", "B1", "Bar", {{"Action", "Nope"s}}}},
         "Stored layout of W: component B1 names no component Nope as its Action"},
        {"an action that is something else",
         {{"TForm", "W", "", {}}, {"TToolBar", "Bar", "", {}}, {"TToolButton", "B1", "Bar", {{"Action", "Bar"s}}}},
         "Stored layout of W: component B1 names Bar, which is no action, as its Action"},
        {"an image list that does not exist",
         {{"TForm", "W", "", {}}, {"TMainMenu", "Menu", "", {{"Images", "Gone"s}}}},
         "Stored layout of W: component Menu names no component Gone as its Images"},
        {"a handler the window lacks",
         {{"TForm", "W", "", {}}, {"TMainMenu", "Menu", "", {}}, {"TMenuItem", "N1", "Menu", {{"OnClick", "N1Click"s}}}},
         "Stored layout of W: component N1 names a handler N1Click the window does not have"},
        {"a parent that does not exist",
         {{"TForm", "W", "", {}}, {"TToolButton", "B1", "Bar", {}}},
         "Stored layout of W: component B1 names no component Bar to sit in"},
        {"a control inside a control that holds none",
         {{"TForm", "W", "", {}}, {"TLabel", "L", "", {}}, {"TButton", "B1", "L", {}}},
         "Stored layout of W: component B1 cannot sit in L, which holds no controls"},
        {"an action outside an action list",
         {{"TForm", "W", "", {}}, {"TMainMenu", "Menu", "", {}}, {"TAction", "A", "Menu", {}}},
         "Stored layout of W: component A cannot sit in Menu, which is no action list"},
        {"a picture that does not exist",
         {{"TForm", "W", "", {}}, {"TImage", "I", "", {{"Picture", "no-such-picture"s}}}},
         "Stored layout of W: component I names no picture no-such-picture"},
        {"an event the component does not have",
         {{"TForm", "W", "", {}}, {"TImage", "I", "", {{"OnExecute", "Run"s}}}},
         "Stored layout of W: component I has no event OnExecute"},
        {"a reference the component does not have",
         {{"TForm", "W", "", {}}, {"TActionList", "L", "", {}}, {"TAction", "A", "L", {}},
          {"TAction", "B", "L", {{"Action", "A"s}}}},
         "Stored layout of W: component B has no property Action"},
        {"a menu entry outside any menu",
         {{"TForm", "W", "", {}}, {"TMenuItem", "N1", "", {}}},
         "Stored layout of W: component N1 is a menu entry outside any menu"},
        {"an unknown kind", {{"TForm", "W", "", {}}, {"TWidget", "X", "", {}}},
         "Stored layout of W: component X has an unknown kind TWidget"},
        {"a property of the wrong type",
         {{"TForm", "W", "", {}}, {"TActionList", "L", "", {}}, {"TAction", "A", "L", {{"ShortCut", "Ctrl+N"s}}}},
         "Stored layout of W: component A has no property ShortCut of that type"},
        {"a name used twice",
         {{"TForm", "W", "", {}}, {"TActionList", "L", "", {}}, {"TActionList", "L", "", {}}},
         "Stored layout of W: a component of kind TActionList needs a name of its own, not \"L\""},
    };
    for (const Case& c : cases) EXPECT_EQ(failure(c.layout), c.message) << c.what;
}

TEST_F(LayoutReaderTest, NoReferenceIsResolvedBeforeEveryValueIsRead) {
    // The entry stores its own disabled state after naming its action: the link, made at the end
    // with defaults, finds the stored value and leaves it.
    TForm& window = read({
        {"TForm", "W", "", {}},
        {"TMainMenu", "Menu", "", {}},
        {"TMenuItem", "Entry", "Menu", {{"Action", "A"s}, {"Enabled", false}, {"Caption", "mine"s}}},
        {"TActionList", "L", "", {}},
        {"TAction", "A", "L", {{"Caption", "theirs"s}, {"OnExecute", "Run"s}}},
    });
    EXPECT_FALSE(window.Loading());
    EXPECT_FALSE(get<TMenuItem>("Entry").Enabled());
    // The stored caption, not the action's, with the access key its menu gave it once loaded.
    EXPECT_EQ(get<TMenuItem>("Entry").Caption(), "&mine");
}

}  // namespace
}  // namespace zozuz
