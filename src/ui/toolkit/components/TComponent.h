#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/components/StoredLayout.h"
#include "ui/toolkit/components/TNotifyEvent.h"

namespace zozuz {

class TApplication;

// The root of the program's components. A component may have an owner, which destroys it together
// with itself, newest first; a component destroyed earlier leaves its owner's list. While a window's
// stored layout is being read the component is loading: setters then skip their range checks, and
// references between components are resolved only once every value has been read (Loaded).
//
// Loading is a state of the whole ownership tree: a window that begins loading marks every component
// it owns, a component created while its owner loads starts out loading, and the window's end of
// loading ends it for every owned component before its own.
class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    // The application of the window the component belongs to: the first window among its owners;
    // null when no window owns it.
    TApplication* HomeApplication() const { return owner_ ? owner_->ownApplication() : nullptr; }

    // Told that `component`, which this one refers to, is being destroyed, so that it drops the
    // reference. The component that goes tells those that may refer to it: a menu bar the windows
    // among its owners, a context menu the controls that show it.
    virtual void ReferenceDestroyed(TComponent& /*component*/) {}

    bool Loading() const { return loading_; }
    // Marks the start of reading a stored layout, for this component and every one it owns.
    void BeginLoading();
    // Ends reading a stored layout: every owned component that is loading ends first, in creation
    // order, then this one; each one's Loaded runs once its own loading has ended.
    void EndLoading();

protected:
    // Runs once the component has finished loading; derived classes resolve their references here.
    virtual void Loaded() {}
    // Where HomeApplication ends: a window answers with its own application, any other component
    // asks its owner.
    virtual TApplication* ownApplication() const { return HomeApplication(); }

    // Reading a stored layout (LayoutReader). Each class takes the properties it adds and passes
    // the rest to its base class; what no class takes is reported by the reader. A value, place or
    // reference the component has but cannot take raises EStoredLayout.
    //
    // Takes one stored value; false when the component has no property of that name and type.
    virtual bool readStoredValue(const StoredValue& value);
    // Takes a reference that is read only after every value (Action, Images, Menu): `target` is the
    // component it names, which serves as such a reference (servesAsStored). False when the
    // component has no such property.
    virtual bool readStoredReference(const std::string& property, TComponent& target);
    // Binds the window's handler named by an event (OnClick, OnExecute); false when the component
    // has no such event.
    virtual bool readStoredEvent(const std::string& property, const TNotifyEvent& handler);
    // Whether another component's stored reference `property` may name this one.
    virtual bool servesAsStored(const std::string& property) const;
    // Puts a component just created where the layout places it: into `parent`, the component the
    // layout names (null when it names none), on `window`, the window being read. A component that
    // sits nowhere takes no parent.
    virtual void placeStored(TComponent* parent, TComponent& window);

private:
    friend class LayoutReader;

    void removeComponent(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    bool loading_ = false;
};

}  // namespace zozuz
