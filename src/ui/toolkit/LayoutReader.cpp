#include "ui/toolkit/LayoutReader.h"

#include <functional>
#include <optional>
#include <utility>

#include "app/ProgramPictures.h"
#include "base/Exception.h"
#include "ui/toolkit/TAction.h"
#include "ui/toolkit/TActionList.h"
#include "ui/toolkit/TButton.h"
#include "ui/toolkit/TDataSetNext.h"
#include "ui/toolkit/TDataSetPost.h"
#include "ui/toolkit/TEditCopy.h"
#include "ui/toolkit/TEditCut.h"
#include "ui/toolkit/TEditPaste.h"
#include "ui/toolkit/TEditUndo.h"
#include "ui/toolkit/TForm.h"
#include "ui/toolkit/TGauge.h"
#include "ui/toolkit/TImage.h"
#include "ui/toolkit/TImageList.h"
#include "ui/toolkit/TLabel.h"
#include "ui/toolkit/TMainMenu.h"
#include "ui/toolkit/TMemo.h"
#include "ui/toolkit/TMenuItem.h"
#include "ui/toolkit/TOpenDialog.h"
#include "ui/toolkit/TOpenOptions.h"
#include "ui/toolkit/TPanel.h"
#include "ui/toolkit/TPrintDialog.h"
#include "ui/toolkit/TSaveDialog.h"
#include "ui/toolkit/TStatusBar.h"
#include "ui/toolkit/TToolBar.h"
#include "ui/toolkit/TToolButton.h"

namespace zozuz {

namespace {

using Factory = std::function<TComponent*(TComponent* owner)>;

template <class T>
Factory make() {
    return [](TComponent* owner) { return new T(owner); };
}

const std::map<std::string, Factory>& kinds() {
    static const std::map<std::string, Factory> table = {
        {"TMainMenu", make<TMainMenu>()},     {"TMenuItem", make<TMenuItem>()},
        {"TActionList", make<TActionList>()}, {"TAction", make<TAction>()},
        {"TEditCut", make<TEditCut>()},       {"TEditCopy", make<TEditCopy>()},
        {"TEditPaste", make<TEditPaste>()},   {"TEditUndo", make<TEditUndo>()},
        {"TDataSetPost", make<TDataSetPost>()}, {"TDataSetNext", make<TDataSetNext>()},
        {"TImageList", make<TImageList>()},   {"TToolBar", make<TToolBar>()},
        {"TToolButton", make<TToolButton>()}, {"TGauge", make<TGauge>()},
        {"TPanel", make<TPanel>()},           {"TImage", make<TImage>()},
        {"TLabel", make<TLabel>()},           {"TButton", make<TButton>()},
        {"TMemo", make<TMemo>()},
        {"TOpenDialog", make<TOpenDialog>()}, {"TSaveDialog", make<TSaveDialog>()},
        {"TPrintDialog", make<TPrintDialog>()}, {"TStatusBar", make<TStatusBar>()},
    };
    return table;
}

// The properties whose value names another component or a handler: they are resolved only after
// every value of every component has been read.
bool isReference(const std::string& property) {
    return property == "Action" || property == "Images" || property == "Menu" || property == "OnClick" ||
           property == "OnExecute";
}

}  // namespace

LayoutReader::LayoutReader(TForm& form, Handlers handlers) : form_(form), handlers_(std::move(handlers)) {}

void LayoutReader::Read(const StoredLayout& layout) {
    form_.BeginLoading();
    for (const StoredComponent& stored : layout) {
        TComponent& component = create(stored);
        for (const StoredValue& value : stored.values) {
            if (isReference(value.property))
                references_.push_back({&component, &value});
            else
                setValue(component, value);
        }
    }
    for (const Reference& reference : references_) resolve(reference);
    references_.clear();
    form_.EndLoading();
}

TComponent& LayoutReader::create(const StoredComponent& stored) {
    if (stored.kind == "TForm") {
        form_.SetName(stored.name);
        return form_;
    }
    const auto kind = kinds().find(stored.kind);
    if (kind == kinds().end()) failAt("component " + stored.name, "has an unknown kind " + stored.kind);
    if (stored.name.empty() || form_.FindComponent(stored.name))
        failAt("a component of kind " + stored.kind, "needs a name of its own, not \"" + stored.name + "\"");
    TComponent* component = kind->second(&form_);
    component->SetName(stored.name);
    place(*component, stored);
    return *component;
}

void LayoutReader::place(TComponent& component, const StoredComponent& stored) {
    TComponent* parent = stored.parent.empty() ? nullptr : form_.FindComponent(stored.parent);
    if (!stored.parent.empty() && !parent) fail(component, "names no component " + stored.parent + " to sit in");
    if (auto* control = dynamic_cast<TControl*>(&component)) {
        // A control without a stored parent sits on the window itself.
        auto* window = parent ? dynamic_cast<TWinControl*>(parent) : &form_;
        if (!window) fail(component, "cannot sit in " + stored.parent + ", which holds no controls");
        control->SetParent(window);
    } else if (auto* item = dynamic_cast<TMenuItem*>(&component)) {
        if (auto* menu = dynamic_cast<TMenu*>(parent))
            menu->Items().Add(*item);
        else if (auto* parentItem = dynamic_cast<TMenuItem*>(parent))
            parentItem->Add(*item);
        else
            fail(component, "is a menu entry outside any menu");
    } else if (auto* action = dynamic_cast<TAction*>(&component)) {
        auto* list = dynamic_cast<TActionList*>(parent);
        if (parent && !list) fail(component, "cannot sit in " + stored.parent + ", which is no action list");
        if (list) action->SetActionList(list);
    } else if (parent) {
        fail(component, "cannot sit in " + stored.parent);
    }
}

namespace {

template <class T>
const T* valueAs(const StoredValue& value) {
    return std::get_if<T>(&value.value);
}

}  // namespace

void LayoutReader::setValue(TComponent& component, const StoredValue& stored) {
    const std::string& property = stored.property;
    const bool* flag = valueAs<bool>(stored);
    const int* number = valueAs<int>(stored);
    const std::string* text = valueAs<std::string>(stored);
    const Font* font = valueAs<Font>(stored);
    auto* control = dynamic_cast<TControl*>(&component);
    auto* form = dynamic_cast<TForm*>(&component);
    auto* item = dynamic_cast<TMenuItem*>(&component);
    auto* action = dynamic_cast<TAction*>(&component);
    auto* button = dynamic_cast<TToolButton*>(&component);
    auto* label = dynamic_cast<TLabel*>(&component);
    auto* pushButton = dynamic_cast<TButton*>(&component);
    auto* panel = dynamic_cast<TPanel*>(&component);
    auto* winControl = dynamic_cast<TWinControl*>(&component);
    auto* statusBar = dynamic_cast<TStatusBar*>(&component);
    auto* fileDialog = dynamic_cast<TOpenDialog*>(&component);

    bool applied = true;
    if (property == "Caption" && text) {
        if (form) form->SetCaption(*text);
        else if (item) item->SetCaption(*text);
        else if (action) action->SetCaption(*text);
        else if (button) button->SetCaption(*text);
        else if (label) label->SetCaption(*text);
        else if (pushButton) pushButton->SetCaption(*text);
        else if (panel) panel->SetCaption(*text);
        else applied = false;
    } else if (property == "Hint" && text) {
        if (item) item->SetHint(*text);
        else if (action) action->SetHint(*text);
        else if (control) control->SetHint(*text);
        else applied = false;
    } else if (property == "Enabled" && flag) {
        if (item) item->SetEnabled(*flag);
        else if (action) action->SetEnabled(*flag);
        else if (control) control->SetEnabled(*flag);
        else applied = false;
    } else if (property == "Visible" && flag) {
        if (item) item->SetVisible(*flag);
        else if (action) action->SetVisible(*flag);
        else if (control) control->SetVisible(*flag);
        else applied = false;
    } else if (property == "ShortCut" && number) {
        if (item) item->SetShortCut(static_cast<KeyCode>(*number));
        else if (action) action->SetShortCut(static_cast<KeyCode>(*number));
        else applied = false;
    } else if (property == "ImageIndex" && number) {
        if (item) item->SetImageIndex(*number);
        else if (action) action->SetImageIndex(*number);
        else if (button) button->SetImageIndex(*number);
        else applied = false;
    } else if (property == "Category" && text && action) {
        action->SetCategory(*text);
    } else if ((property == "Left" || property == "Top" || property == "Width" || property == "Height") && number &&
               control) {
        const int left = property == "Left" ? *number : control->Left();
        const int top = property == "Top" ? *number : control->Top();
        const int width = property == "Width" ? *number : control->Width();
        const int height = property == "Height" ? *number : control->Height();
        control->SetBounds(left, top, width, height);
    } else if (property == "ClientWidth" && number && form) {
        form->SetClientSize(*number, form->ClientHeight());
    } else if (property == "ClientHeight" && number && form) {
        form->SetClientSize(form->ClientWidth(), *number);
    } else if (property == "Font" && font && control) {
        control->SetFont(*font);
    } else if (property == "ParentFont" && flag && control) {
        control->SetParentFont(*flag);
    } else if (property == "Color" && number && control) {
        control->SetColor(static_cast<TColor>(*number));
    } else if (property == "Cursor" && text && *text == "crHandPoint" && control) {
        control->SetCursor(TCursor::crHandPoint);
    } else if (property == "ShowHint" && flag && control) {
        control->SetShowHint(*flag);
    } else if (property == "TabOrder" && number && winControl) {
        winControl->SetTabOrder(*number);
    } else if (property == "BorderStyle" && text && *text == "bsDialog" && form) {
        form->SetBorderStyle(WindowFrame::Dialog);
    } else if (property == "Position" && text && *text == "poScreenCenter" && form) {
        form->SetPosition(TForm::TPosition::poScreenCenter);
    } else if (property == "Icon" && text && form) {
        form->SetIcon(programPicture(*text).image);
    } else if (property == "Style" && text && *text == "tbsSeparator" && button) {
        button->SetStyle(TToolButtonStyle::tbsSeparator);
    } else if (property == "Indent" && number && dynamic_cast<TToolBar*>(&component)) {
        dynamic_cast<TToolBar&>(component).SetIndent(*number);
    } else if (property == "Pictures" && text && *text == "program" && dynamic_cast<TImageList*>(&component)) {
        dynamic_cast<TImageList&>(component).LoadProgramPictures();
    } else if (property == "Picture" && text && dynamic_cast<TImage*>(&component)) {
        const Picture picture = programPicture(*text);
        if (picture.image.width() == 0) fail(component, "names no picture " + *text);
        dynamic_cast<TImage&>(component).SetPicture(picture.image);
    } else if (property == "BevelOuter" && text && panel) {
        panel->SetBevelOuter(*text == "bvLowered" ? TBevelCut::bvLowered
                             : *text == "bvRaised" ? TBevelCut::bvRaised
                                                   : TBevelCut::bvNone);
    } else if (property == "BevelInner" && text && panel) {
        panel->SetBevelInner(*text == "bvLowered" ? TBevelCut::bvLowered
                             : *text == "bvRaised" ? TBevelCut::bvRaised
                                                   : TBevelCut::bvNone);
    } else if (property == "BevelWidth" && number && panel) {
        panel->SetBevelWidth(*number);
    } else if (property == "AutoHint" && flag && statusBar) {
        statusBar->SetAutoHint(*flag);
    } else if (property == "SimplePanel" && flag && statusBar) {
        statusBar->SetSimplePanel(*flag);
    } else if (property == "WordWrap" && flag && label) {
        label->SetWordWrap(*flag);
    } else if (property == "Default" && flag && pushButton) {
        pushButton->SetDefault(*flag);
    } else if (property == "ModalResult" && number && pushButton) {
        pushButton->SetModalResult(*number);
    } else if (fileDialog && (text || number)) {
        applied = setDialogValue(*fileDialog, stored);
    } else {
        applied = false;
    }
    if (!applied) fail(component, "has no property " + property + " of that type");
}

bool LayoutReader::setDialogValue(TOpenDialog& dialog, const StoredValue& stored) {
    const std::string& property = stored.property;
    const std::string* text = valueAs<std::string>(stored);
    const int* number = valueAs<int>(stored);
    if (property == "Filter" && text) dialog.SetFilter(*text);
    else if (property == "FilterIndex" && number) dialog.SetFilterIndex(*number);
    else if (property == "DefaultExt" && text) dialog.SetDefaultExt(*text);
    else if (property == "InitialDir" && text) dialog.SetInitialDir(*text);
    else if (property == "Title" && text) dialog.SetTitle(*text);
    else if (property == "FileName" && text) dialog.SetFileName(*text);
    else if (property == "Options" && text) {
        const std::optional<TOpenOptions> options = TOpenOptions::Parse(*text);
        if (!options) fail(dialog, "has options " + *text + " that are no dialog options");
        dialog.SetOptions(*options);
    } else {
        return false;
    }
    return true;
}

void LayoutReader::resolve(const Reference& reference) {
    TComponent& component = *reference.component;
    const std::string& property = reference.value->property;
    const std::string* name = valueAs<std::string>(*reference.value);
    if (!name) fail(component, "names its " + property + " with something other than a name");

    if (property == "OnClick" || property == "OnExecute") {
        const auto handler = handlers_.find(*name);
        if (handler == handlers_.end()) fail(component, "names a handler " + *name + " the window does not have");
        const TNotifyEvent event = handler->second;
        if (property == "OnExecute") {
            if (auto* action = dynamic_cast<TAction*>(&component)) return action->SetOnExecute(event);
        } else if (auto* item = dynamic_cast<TMenuItem*>(&component)) {
            return item->SetOnClick(event);
        } else if (auto* button = dynamic_cast<TToolButton*>(&component)) {
            return button->SetOnClick(event);
        } else if (auto* label = dynamic_cast<TLabel*>(&component)) {
            label->OnClick = [event](TLabel& sender) { event(sender); };
            return;
        } else if (auto* pushButton = dynamic_cast<TButton*>(&component)) {
            pushButton->OnClick = [event](TButton& sender) { event(sender); };
            return;
        }
        fail(component, "has no event " + property);
    }

    TComponent* target = form_.FindComponent(*name);
    if (!target) fail(component, "names no component " + *name + " as its " + property);
    if (property == "Action") {
        auto* action = dynamic_cast<TAction*>(target);
        if (!action) fail(component, "names " + *name + ", which is no action, as its Action");
        if (auto* item = dynamic_cast<TMenuItem*>(&component)) return item->SetAction(action);
        if (auto* control = dynamic_cast<TControl*>(&component)) return control->SetAction(action);
    } else if (property == "Images") {
        auto* images = dynamic_cast<TImageList*>(target);
        if (!images) fail(component, "names " + *name + ", which is no image list, as its Images");
        if (auto* menu = dynamic_cast<TMenu*>(&component)) return menu->SetImages(images);
        if (auto* bar = dynamic_cast<TToolBar*>(&component)) return bar->SetImages(images);
    } else if (property == "Menu") {
        auto* menu = dynamic_cast<TMainMenu*>(target);
        if (!menu) fail(component, "names " + *name + ", which is no menu bar, as its Menu");
        if (auto* form = dynamic_cast<TForm*>(&component)) return form->SetMenu(menu);
    }
    fail(component, "has no property " + property);
}

void LayoutReader::fail(const TComponent& component, const std::string& what) const {
    failAt(&component == &form_ ? "the window" : "component " + component.Name(), what);
}

void LayoutReader::failAt(const std::string& subject, const std::string& what) const {
    const std::string window = form_.Name().empty() ? "a window" : form_.Name();
    throw EReadError("Stored layout of " + window + ": " + subject + " " + what);
}

}  // namespace zozuz
