#include "hosts/win32/UiaCore.h"

namespace zozuz {

namespace {

template <typename F>
void load(HMODULE module, const char* name, F& function) {
    function = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

const UiaCore& UiaCore::get() {
    static const UiaCore core;
    return core;
}

UiaCore::UiaCore() {
    // Kept loaded for the life of the process: providers handed out may be called until it ends.
    const HMODULE module = LoadLibraryW(L"uiautomationcore.dll");
    load(module, "UiaReturnRawElementProvider", returnRawElementProvider_);
    load(module, "UiaHostProviderFromHwnd", hostProviderFromHwnd_);
    load(module, "UiaClientsAreListening", clientsAreListening_);
    load(module, "UiaRaiseAutomationEvent", raiseAutomationEvent_);
    load(module, "UiaRaiseAutomationPropertyChangedEvent", raisePropertyChanged_);
    load(module, "UiaRaiseStructureChangedEvent", raiseStructureChanged_);
    load(module, "UiaDisconnectProvider", disconnectProvider_);
    load(module, "UiaGetReservedNotSupportedValue", notSupportedValue_);
}

LRESULT UiaCore::returnRawElementProvider(HWND window, WPARAM wParam, LPARAM lParam,
                                          IRawElementProviderSimple* provider) const {
    return returnRawElementProvider_ ? returnRawElementProvider_(window, wParam, lParam, provider) : 0;
}

IRawElementProviderSimple* UiaCore::hostProviderFromHwnd(HWND window) const {
    IRawElementProviderSimple* host = nullptr;
    if (!hostProviderFromHwnd_ || FAILED(hostProviderFromHwnd_(window, &host))) return nullptr;
    return host;
}

bool UiaCore::clientsAreListening() const { return clientsAreListening_ && clientsAreListening_(); }

void UiaCore::raiseEvent(IRawElementProviderSimple* provider, EVENTID id) const {
    if (raiseAutomationEvent_) raiseAutomationEvent_(provider, id);
}

void UiaCore::raisePropertyChanged(IRawElementProviderSimple* provider, PROPERTYID id, const VARIANT& now) const {
    if (!raisePropertyChanged_) return;
    // The old value is not kept; clients read the new one.
    VARIANT before;
    VariantInit(&before);
    raisePropertyChanged_(provider, id, before, now);
}

void UiaCore::raiseStructureChanged(IRawElementProviderSimple* provider, uia::StructureChange change) const {
    if (raiseStructureChanged_) raiseStructureChanged_(provider, change, nullptr, 0);
}

void UiaCore::disconnect(IRawElementProviderSimple* provider) const {
    if (disconnectProvider_) disconnectProvider_(provider);
}

IUnknown* UiaCore::notSupportedValue() const {
    IUnknown* value = nullptr;
    if (!notSupportedValue_ || FAILED(notSupportedValue_(&value))) return nullptr;
    return value;
}

}  // namespace zozuz
