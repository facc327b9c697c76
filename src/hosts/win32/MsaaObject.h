#pragma once

#include <string>

#include <windows.h>
#include <oleacc.h>

#include "hosts/win32/ComObject.h"

namespace zozuz {

// What an MSAA object says about itself (child 0) and its simple children (1 to childCount()).
class MsaaModel {
public:
    struct Item {
        // Empty: the window's own name (its text).
        std::wstring name;
        std::wstring value;
        std::wstring defaultAction;
        long role = ROLE_SYSTEM_CLIENT;
        long state = 0;
        // In screen pixels; empty for the object itself, which the system then places.
        RECT location{};
    };

    virtual ~MsaaModel() = default;
    virtual HWND window() const = 0;
    virtual long childCount() = 0;
    // Describes child `child` (0: the object itself); false when there is no such child.
    virtual bool item(long child, Item& item) = 0;
    // Does what the child's default action says, later from the message loop: a client waits on
    // this call, and a control that opens a modal box must not hold it up. False when there is none.
    virtual bool doDefaultAction(long child) = 0;
    // The child under a point of the screen: 0 for the object itself, -1 when outside it.
    virtual long childAt(POINT screen) = 0;
};

// The IAccessible that a window answers WM_GETOBJECT (OBJID_CLIENT) with for clients that speak
// MSAA only. It describes its model's items as simple children and leaves its parent, its place
// and its own name to the system's standard object for the window. Once detached (the window is
// going) every call fails as for an object no longer there.
class MsaaObject final : public IAccessible {
public:
    explicit MsaaObject(MsaaModel& model);
    void detach();

    STDMETHODIMP QueryInterface(REFIID id, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

private:
    ~MsaaObject();
    // The item a client names, or an error for the call to return.
    HRESULT itemOf(const VARIANT& child, MsaaModel::Item& item, long& index);
    // The system's standard object for the window, which answers for the object itself.
    IAccessible* standard();

    ComReferences references_;
    MsaaModel* model_;
    IAccessible* standard_ = nullptr;
};

}  // namespace zozuz
