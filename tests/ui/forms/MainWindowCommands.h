#pragma once

// The main window as the program runs it on the headless host, with the user's ways into its
// commands (shortcut keys, toolbar clicks, menu entries), scripted dialogs, and a folder of its own
// that stands as the user's documents folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "../../document/TempFolder.h"
#include "app/TApplication.h"
#include "base/KeyCode.h"
#include "hosts/headless/HeadlessEditorWindow.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/HeadlessWindow.h"
#include "platform/host/MouseEvent.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/controls/TToolButton.h"

namespace zozuz {

class MainWindowCommands : public ::testing::Test {
protected:
    void SetUp() override {
        host.fileDialogs().setDocumentsFolder(folder.root().string());
        app.CreateForm(form);
        form->Show();
        form->Native()->activate();
        drain();
    }

    void drain() {
        while (app.ProcessMessage()) {
        }
    }
    // Lets the queue run empty once, so the idle step refreshes the commands, and wakes the program again.
    void idleStep() {
        drain();
        host.whenIdle([this] { host.post([] {}); });
        app.HandleMessage();
        drain();
    }
    void key(std::uint8_t virtualKey, bool ctrl = false) {
        host.postKeyPress(*form->Native(), virtualKey, false, ctrl);
        drain();
    }
    void click(const TToolButton& button) {
        const Rect place = button.WindowRect();
        const Point inside{place.left + place.width() / 2, place.top + place.height() / 2};
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, inside});
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, inside});
        drain();
    }
    // Opens menu `title` (0 File, 1 Edit, 2 Search, 3 Help) and chooses the entry whose caption
    // starts with `caption`.
    void choose(std::size_t title, std::string_view caption) {
        HeadlessMenuBar& bar = *host.menuBarOf(*form->Native());
        const MenuEntry& menu = bar.titles().at(title);
        bar.open(menu.id);
        for (const MenuEntry& entry : menu.entries) {
            if (entry.caption.rfind(caption, 0) == 0) {
                bar.choose(entry.id);
                drain();
                return;
            }
        }
        ADD_FAILURE() << "no entry " << caption;
    }
    const MenuEntry& entryOf(std::size_t title, std::string_view caption) {
        const MenuEntry& menu = host.menuBarOf(*form->Native())->titles().at(title);
        for (const MenuEntry& entry : menu.entries)
            if (entry.caption.rfind(caption, 0) == 0) return entry;
        throw std::logic_error("no such entry");
    }

    // The commands, as the user gives them.
    void newText() { key('N', true); }
    void openPlain() { key('O', true); }
    void openEncrypted() { key(vk::F12); }
    void save() { key('S', true); }
    void saveAs() { choose(0, "另存为"); }
    void encrypt() { click(*form->ToolButton10); }
    void decrypt() { click(*form->ToolButton11); }
    void wordWrap() { choose(1, "自动换行"); }
    void print() { key('P', true); }

    // "on/off": the enabled states of Encrypt and Decrypt.
    std::string states() const {
        return std::string(form->ToolButton10->Enabled() ? "on" : "off") + "/" +
               (form->ToolButton11->Enabled() ? "on" : "off");
    }
    std::string text() const { return form->Memo1->Lines().text(); }
    void setText(std::string_view bytes) { form->Memo1->Lines().setRawText(bytes); }
    HeadlessEditorWindow& editorWindow() const {
        return static_cast<HeadlessEditorWindow&>(form->Memo1->Pane()->window());
    }
    // The texts of the error boxes shown so far.
    std::vector<std::string> errors() const {
        std::vector<std::string> texts;
        for (const auto& box : host.messageBoxes())
            if (box.request.icon == MessageBoxIcon::Stop) texts.push_back(box.request.text);
        return texts;
    }
    const FileDialogRequest& lastDialog() { return host.fileDialogs().dialogs().back().request; }
    // The full path the dialogs make of a name typed in the documents folder.
    std::string pathOf(const std::string& name) const { return folder.root().string() + "/" + name; }
    const std::string& lastChosenPath() { return host.fileDialogs().dialogs().back().result.path; }

    HeadlessHost host;
    TempFolder folder;
    TApplication app{host};
    TVeskAppForm* form = nullptr;
};

}  // namespace zozuz
