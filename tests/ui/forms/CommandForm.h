#pragma once

// The main window as its stored layout builds it, with an editor stand-in that holds the focus and
// commands that only record that they ran.

#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/KeyCode.h"
#include "platform/host/KeyEvent.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/TNotifyEvent.h"
#include "ui/toolkit/controls/EditActionTarget.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/controls/TWinControl.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {

// An editor control as the edit commands see it, with its state set by the test.
class FakeEditor : public TWinControl, public EditActionTarget {
public:
    explicit FakeEditor(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

    std::int64_t SelLength() const override { return selLength; }
    bool CanUndo() const override { return canUndo; }
    bool ClipboardHasText() const override { return clipboardHasText; }
    bool ReadOnly() const override { return false; }
    void CutToClipboard() override { commands.push_back("cut"); }
    void CopyToClipboard() override { commands.push_back("copy"); }
    void PasteFromClipboard() override { commands.push_back("paste"); }
    void Undo() override { commands.push_back("undo"); }

    void KeyDown(const KeyEvent& key) override { keys.push_back(key.keyCode()); }

    int selLength = 0;
    bool canUndo = false;
    bool clipboardHasText = false;
    // What the commands sent it, and the keys that reached it.
    std::vector<std::string> commands;
    std::vector<KeyCode> keys;
};

// The main window itself, with an editor stand-in that holds the focus in the editor's place, and
// its commands replaced by ones that only record that they ran. An action's new handler reaches the
// entries and buttons that hold its old one, as any change of an action does.
class CommandForm : public TVeskAppForm {
public:
    explicit CommandForm(TApplication& application) : TVeskAppForm(application) {
        for (TComponent* component : Components())
            if (auto* action = dynamic_cast<TAction*>(component); action && action->OnExecute())
                action->SetOnExecute(handler(action->Name() + "Execute"));
        for (const char* name : {"N24", "N13", "N6", "N22", "N23"}) item(name).SetOnClick(handler(std::string(name) + "Click"));
        for (const char* name : {"ToolButton10", "ToolButton11"})
            button(name).SetOnClick(handler(std::string(name) + "Click"));

        // The stand-in takes the real editor's place, name and focus.
        delete TVeskAppForm::Memo1;
        TVeskAppForm::Memo1 = nullptr;
        Memo1 = new FakeEditor(this);
        Memo1->SetName("Memo1");
        Memo1->SetParent(this);
        Memo1->SetBounds(0, 30, 562, 290);
    }

    template <class T>
    T& get(const std::string& name) const {
        return dynamic_cast<T&>(*FindComponent(name));
    }
    TAction& action(const std::string& name) const { return get<TAction>(name); }
    TMenuItem& item(const std::string& name) const { return get<TMenuItem>(name); }
    TToolButton& button(const std::string& name) const { return get<TToolButton>(name); }

    // The commands that ran, by handler name, in order.
    std::vector<std::string> ran;
    FakeEditor* Memo1 = nullptr;

private:
    TNotifyEvent handler(const std::string& name) {
        return TNotifyEvent([this, name](TComponent&) { ran.push_back(name); });
    }
};

}  // namespace zozuz
