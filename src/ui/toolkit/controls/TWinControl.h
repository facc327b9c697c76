#pragma once

#include <functional>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/host/KeyEvent.h"
#include "platform/host/MouseEvent.h"
#include "platform/host/Surface.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TControl.h"

namespace zozuz {

// A control that holds other controls: window-less ones, which paint onto the surface of the
// window they sit on, and windowed ones (TWinControl again), which can take the keyboard focus. A
// TWinControl without parent is a window: a form, or a stand-in for one. The window keeps the
// keyboard focus of everything inside it and hands each key and mouse event to the control it is
// meant for.
//
// Child order is the order in which children were given this parent; it decides the searches
// (SearchControls) and, per kind, the stacking: window-less children lie bottom to top in child
// order, and every windowed child lies above all of them. Tab order is kept per parent among the
// windowed children and is child order unless set otherwise.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner = nullptr);
    // Children still in the list lose their parent; they are not destroyed (their owner does that).
    ~TWinControl() override;

    // --- Children ---
    // The children in child order.
    const std::vector<TControl*>& Controls() const { return controls_; }
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    // A control inside changed what screen readers read of it (a gauge's progress) at a time the
    // idle step will not come soon; the window tells them. Nothing happens in a window-less tree.
    virtual void AccessibleValueChanged() {}
    // Whether a window of the control's own hides everything of its parent beneath its bounds.
    virtual bool CoversItsPlace() const { return false; }
    // Whether `control` is this control or lies anywhere inside it.
    bool ContainsControl(const TControl* control) const;
    // The innermost visible control at `client` (this control's client coordinates), topmost first,
    // or this control itself when no child is there. Disabled children count only when
    // `allowDisabled` is set; otherwise the container beneath takes their place.
    TControl* FindControlAt(Point client, bool allowDisabled);
    // Offers `visit` each visible control inside this one, depth-first in child order, a container
    // before its children and its children only while it is shown. Returns the first control the
    // visitor accepts (returns true for), or null when it accepts none.
    TControl* SearchControls(const std::function<bool(TControl&)>& visit) const;

    // --- Painting onto the window ---
    // Where this control's client area starts, in the client coordinates of its window.
    Point WindowOrigin() const;
    // The surface of the window this control sits on, or null while there is none.
    virtual Surface* PaintSurface();
    // Whether the control is on a window that exists and shows, and it and its parents are visible.
    virtual bool Showing() const;
    // Marks `area` (this control's client coordinates) for a deferred repaint, without erasing the
    // background beneath it first.
    virtual void InvalidateRect(const Rect& area);
    // Paints again, bottom to top, the controls that lie above `control` in stacking order and
    // overlap `area` (window coordinates): its later window-less siblings and the windowed ones,
    // then those above this container in its own parent.
    virtual void PaintControlsAbove(const TControl& control, const Rect& area);
    // Paints `area` (window coordinates) of this control: its background in its colour, then its
    // children in stacking order.
    virtual void PaintWindow(Surface& surface, const Rect& area);
    // Paints the children that overlap `area` (window coordinates), in stacking order: what a
    // control drawing its own picture calls after it.
    void PaintChildren(Surface& surface, const Rect& area);

    // --- Keyboard focus ---
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool stop) { tabStop_ = stop; }
    // The place among the parent's windowed children in tab order; -1 without parent. Setting it
    // moves the control there, clamped to the list.
    int TabOrder() const;
    void SetTabOrder(int order);
    // Whether the control may take the focus: it and every parent below its window are visible and
    // enabled. A window itself never takes it from the controls inside.
    bool CanFocus() const;
    // Whether the control holds the keyboard focus now: it is the active control of a window that
    // is active.
    bool Focused() const;
    // Makes the control its window's active control; false, and nothing changes, when it cannot
    // take the focus.
    bool SetFocus();
    // The control inside this window that holds the focus, or last held it while the window was
    // not active; null for none. Asked of any control, it answers for that control's window.
    TWinControl* ActiveControl() const;
    // Whether this is a window the user works in right now. Only a window can be; the default is
    // never, a form overrides it.
    virtual bool WindowActive() const { return false; }
    // Every windowed control inside this one in tab order, each container before its contents.
    std::vector<TWinControl*> TabOrderList() const;
    // The control that Tab (forward) or Shift+Tab moves to from `current`, cycling through the
    // controls that can take the focus and are tab stops; null when none can.
    TWinControl* FindNextControl(const TWinControl* current, bool forward) const;
    // Moves the focus as Tab or Shift+Tab does.
    void SelectNext(bool forward);
    // Gives the focus to the first control in tab order that takes it, if there is one.
    void SelectFirst();

    // --- Input ---
    // A key that nobody consumed before it, for the focused control or, with none, the window. A
    // press of Tab or Shift+Tab moves the focus instead, when there is a control to move it to and
    // the control that has it does not want the Tab key.
    void DispatchKey(const KeyEvent& key);
    // A mouse event over the window (its client coordinates) for the control under the pointer, or
    // for the control that took the button down until the button comes up again. Pressing a
    // button on a control that takes the focus gives it the focus.
    void DispatchMouse(const MouseEvent& event);
    // Presses and releases of the keys that reach this control; the default hands presses to
    // OnKeyDown.
    virtual void KeyDown(const KeyEvent& key);
    virtual void KeyUp(const KeyEvent& /*key*/) {}
    std::function<void(const KeyEvent&)> OnKeyDown;
    // Lets go of the mouse, as a window does: the control holding it (from a press until its
    // release) holds it no more, and this control and every one inside forget a press in progress.
    void CancelMode() override;

protected:
    bool readStoredValue(const StoredValue& value) override;
    void FontChanged() override;
    void ColorChanged() override;
    // Whether Tab typed into this control is its own text rather than a move of the focus.
    virtual bool WantsTab() const { return false; }
    // The control gained or lost the keyboard focus: it became or stopped being the active control
    // of an active window, or its window became active or inactive.
    virtual void FocusChanged(bool /*focused*/) {}
    // A control left this container or one inside it (given another parent, or destroyed); the
    // window forgets it as the holder of the focus or of the mouse. `control` may be half
    // destroyed: only its address is safe to use.
    virtual void ControlRemoved(TControl& control);
    // Tells the active control that its focus came or went with the window's activation.
    void WindowActivationChanged(bool active);

private:
    friend class TControl;

    void insertControl(TControl& control);
    void removeControl(TControl& control);
    void setActiveControl(TWinControl* control);
    void paintChild(TControl& child, Surface& surface, const Rect& area);
    void appendTabOrder(std::vector<TWinControl*>& list) const;
    bool searchInside(const std::function<bool(TControl&)>& visit, TControl*& found) const;

    // Children in child order; each one's Parent() is this control.
    std::vector<TControl*> controls_;
    // The windowed children in tab order: exactly the TWinControl members of controls_.
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    // Kept on the window only: a control inside it, or null.
    TWinControl* activeControl_ = nullptr;
    // Kept on the window only: the control that took a mouse button down, until it comes up.
    TControl* mouseCapture_ = nullptr;
};

}  // namespace zozuz
