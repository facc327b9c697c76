#include "ui/toolkit/windows/LayoutReader.h"

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "base/Exception.h"
#include "ui/toolkit/actions/TDataSetNext.h"
#include "ui/toolkit/actions/TDataSetPost.h"
#include "ui/toolkit/actions/TEditCopy.h"
#include "ui/toolkit/actions/TEditCut.h"
#include "ui/toolkit/actions/TEditPaste.h"
#include "ui/toolkit/actions/TEditUndo.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/commands/TActionList.h"
#include "ui/toolkit/components/TImageList.h"
#include "ui/toolkit/controls/TButton.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TImage.h"
#include "ui/toolkit/controls/TLabel.h"
#include "ui/toolkit/controls/TMemo.h"
#include "ui/toolkit/controls/TPanel.h"
#include "ui/toolkit/controls/TStatusBar.h"
#include "ui/toolkit/controls/TToolBar.h"
#include "ui/toolkit/controls/TToolButton.h"
#include "ui/toolkit/dialogs/TOpenDialog.h"
#include "ui/toolkit/dialogs/TPrintDialog.h"
#include "ui/toolkit/dialogs/TSaveDialog.h"
#include "ui/toolkit/menus/TMainMenu.h"
#include "ui/toolkit/menus/TMenuItem.h"
#include "ui/toolkit/windows/TForm.h"

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

// The events, whose value names one of the window's handlers.
bool isEvent(const std::string& property) { return property == "OnClick" || property == "OnExecute"; }

// The references to other components, with what the component named must be.
const std::map<std::string, std::string>& referenceKinds() {
    static const std::map<std::string, std::string> table = {
        {"Action", "action"}, {"Images", "image list"}, {"Menu", "menu bar"}};
    return table;
}

// The properties whose value names another component or a handler: they are resolved only after
// every value of every component has been read.
bool isReference(const std::string& property) { return isEvent(property) || referenceKinds().count(property) > 0; }

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
    try {
        component.placeStored(parent, form_);
    } catch (const EStoredLayout& fault) {
        fail(component, fault.message());
    }
}

void LayoutReader::setValue(TComponent& component, const StoredValue& value) {
    bool applied = false;
    try {
        applied = component.readStoredValue(value);
    } catch (const EStoredLayout& fault) {
        fail(component, fault.message());
    }
    if (!applied) fail(component, "has no property " + value.property + " of that type");
}

void LayoutReader::resolve(const Reference& reference) {
    TComponent& component = *reference.component;
    const std::string& property = reference.value->property;
    const std::string* name = reference.value->as<std::string>();
    if (!name) fail(component, "names its " + property + " with something other than a name");

    if (isEvent(property)) {
        const auto handler = handlers_.find(*name);
        if (handler == handlers_.end()) fail(component, "names a handler " + *name + " the window does not have");
        if (!component.readStoredEvent(property, handler->second)) fail(component, "has no event " + property);
        return;
    }

    TComponent* target = form_.FindComponent(*name);
    if (!target) fail(component, "names no component " + *name + " as its " + property);
    if (!target->servesAsStored(property))
        fail(component, "names " + *name + ", which is no " + referenceKinds().at(property) + ", as its " + property);
    if (!component.readStoredReference(property, *target)) fail(component, "has no property " + property);
}

void LayoutReader::fail(const TComponent& component, const std::string& what) const {
    failAt(&component == &form_ ? "the window" : "component " + component.Name(), what);
}

void LayoutReader::failAt(const std::string& subject, const std::string& what) const {
    const std::string window = form_.Name().empty() ? "a window" : form_.Name();
    throw EReadError("Stored layout of " + window + ": " + subject + " " + what);
}

}  // namespace zozuz
