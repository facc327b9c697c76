#pragma once

#include "hosts/win32/UiaDeclarations.h"

namespace zozuz {

// The calls of the system's UI Automation core that a provider makes. The cross compiler has no
// import library for it, and older systems lack it, so it is loaded on first use; where it is
// missing every call does nothing and screen readers fall back to the MSAA objects.
class UiaCore {
public:
    // The one for the process, loaded on first use.
    static const UiaCore& get();

    bool available() const { return returnRawElementProvider_ != nullptr; }
    // Answers WM_GETOBJECT for UiaRootObjectId with `provider`; 0 when the core is missing.
    LRESULT returnRawElementProvider(HWND window, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple* provider) const;
    // The system's own provider of a window's frame, name and place; null when the core is missing.
    IRawElementProviderSimple* hostProviderFromHwnd(HWND window) const;
    // Whether any client listens for events at all, so that nothing is prepared for nobody.
    bool clientsAreListening() const;
    void raiseEvent(IRawElementProviderSimple* provider, EVENTID id) const;
    void raisePropertyChanged(IRawElementProviderSimple* provider, PROPERTYID id, const VARIANT& now) const;
    void raiseStructureChanged(IRawElementProviderSimple* provider, uia::StructureChange change) const;
    // Tells clients that `provider` is gone for good (the window closed).
    void disconnect(IRawElementProviderSimple* provider) const;
    // The value that says a text attribute is not supported; null when the core is missing.
    IUnknown* notSupportedValue() const;

private:
    UiaCore();

    using ReturnRawElementProvider = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
    using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using ClientsAreListening = BOOL(WINAPI*)();
    using RaiseAutomationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, EVENTID);
    using RaisePropertyChanged = HRESULT(WINAPI*)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);
    using RaiseStructureChanged = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int*, int);
    using DisconnectProvider = HRESULT(WINAPI*)(IRawElementProviderSimple*);
    using GetReservedValue = HRESULT(WINAPI*)(IUnknown**);

    ReturnRawElementProvider returnRawElementProvider_ = nullptr;
    HostProviderFromHwnd hostProviderFromHwnd_ = nullptr;
    ClientsAreListening clientsAreListening_ = nullptr;
    RaiseAutomationEvent raiseAutomationEvent_ = nullptr;
    RaisePropertyChanged raisePropertyChanged_ = nullptr;
    RaiseStructureChanged raiseStructureChanged_ = nullptr;
    DisconnectProvider disconnectProvider_ = nullptr;
    GetReservedValue notSupportedValue_ = nullptr;
};

}  // namespace zozuz
