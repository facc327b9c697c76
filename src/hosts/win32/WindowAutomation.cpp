#include "hosts/win32/WindowAutomation.h"

#include <utility>

#include "hosts/win32/UiaCore.h"
#include "hosts/win32/Win32Window.h"
#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

CONTROLTYPEID controlTypeOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::ToolBar: return uia::kToolBar;
        case AccessibleRole::PushButton: return uia::kButton;
        case AccessibleRole::StatusBar: return uia::kStatusBar;
        case AccessibleRole::ProgressBar: return uia::kProgressBar;
        case AccessibleRole::Label: return uia::kText;
        case AccessibleRole::Image: return uia::kImage;
    }
    return uia::kText;
}

long msaaRoleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::ToolBar: return ROLE_SYSTEM_TOOLBAR;
        case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
        case AccessibleRole::StatusBar: return ROLE_SYSTEM_STATUSBAR;
        case AccessibleRole::ProgressBar: return ROLE_SYSTEM_PROGRESSBAR;
        case AccessibleRole::Label: return ROLE_SYSTEM_STATICTEXT;
        case AccessibleRole::Image: return ROLE_SYSTEM_GRAPHIC;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

// What a screen reader reads as the node's name: a status bar's is the text it shows.
std::string nameOf(const AccessibleNode& node) {
    return node.role == AccessibleRole::StatusBar && !node.text.empty() ? node.text : node.name;
}

BSTR bstrOf(const std::string& utf8) {
    const std::wstring wide = toWide(utf8);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void setBool(VARIANT* value, bool flag) {
    value->vt = VT_BOOL;
    value->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

bool contains(const RECT& r, double x, double y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// One described node as a UI Automation element. It names its node by id and asks the root for it
// on every call, so it never shows a node that changed or went since it was handed out.
class NodeElement final : public IRawElementProviderSimple,
                          public IRawElementProviderFragment,
                          public IInvokeProvider,
                          public IValueProvider,
                          public IRangeValueProvider {
public:
    NodeElement(WindowAutomation& root, std::uint32_t id) : root_(&root), id_(id) { root_->AddRef(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override {
        if (!result) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple))
            return handOut<IRawElementProviderSimple>(this, result);
        if (iid == __uuidof(IRawElementProviderFragment)) return handOut<IRawElementProviderFragment>(this, result);
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return references_.add(); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = references_.release();
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP get_ProviderOptions(ProviderOptions* options) override {
        if (!options) return E_POINTER;
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
        return S_OK;
    }

    STDMETHODIMP GetPatternProvider(PATTERNID pattern, IUnknown** provider) override {
        if (!provider) return E_POINTER;
        *provider = nullptr;
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        if (pattern == UIA_InvokePatternId && node->role == AccessibleRole::PushButton)
            return handOut<IInvokeProvider>(this, reinterpret_cast<void**>(provider));
        if (pattern == UIA_ValuePatternId && node->role == AccessibleRole::StatusBar)
            return handOut<IValueProvider>(this, reinterpret_cast<void**>(provider));
        if (pattern == UIA_RangeValuePatternId && node->role == AccessibleRole::ProgressBar)
            return handOut<IRangeValueProvider>(this, reinterpret_cast<void**>(provider));
        return S_OK;
    }

    STDMETHODIMP GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        if (!value) return E_POINTER;
        VariantInit(value);
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        switch (property) {
            case UIA_ControlTypePropertyId:
                value->vt = VT_I4;
                value->lVal = controlTypeOf(node->role);
                break;
            case UIA_NamePropertyId:
                value->vt = VT_BSTR;
                value->bstrVal = bstrOf(nameOf(*node));
                break;
            case UIA_IsEnabledPropertyId: setBool(value, node->enabled); break;
            case UIA_IsKeyboardFocusablePropertyId:
            case UIA_HasKeyboardFocusPropertyId:
                // Drawn controls are reached with the mouse or through the reader, never the keyboard.
                setBool(value, false);
                break;
            case UIA_IsControlElementPropertyId:
            case UIA_IsContentElementPropertyId: setBool(value, true); break;
            case UIA_IsInvokePatternAvailablePropertyId: setBool(value, node->role == AccessibleRole::PushButton); break;
            case UIA_AutomationIdPropertyId:
                value->vt = VT_BSTR;
                value->bstrVal = SysAllocString(std::to_wstring(node->id).c_str());
                break;
            default: break;
        }
        return S_OK;
    }

    STDMETHODIMP get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (!host) return E_POINTER;
        *host = nullptr;
        return S_OK;
    }

    STDMETHODIMP Navigate(NavigateDirection direction, IRawElementProviderFragment** element) override {
        if (!element) return E_POINTER;
        *element = nullptr;
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        std::uint32_t to = 0;
        switch (direction) {
            case NavigateDirection_Parent:
                if (node->parent == 0) return handOut<IRawElementProviderFragment>(root_, reinterpret_cast<void**>(element));
                to = node->parent;
                break;
            case NavigateDirection_NextSibling: to = root_->sibling(id_, true); break;
            case NavigateDirection_PreviousSibling: to = root_->sibling(id_, false); break;
            case NavigateDirection_FirstChild: to = root_->firstChild(id_, false); break;
            case NavigateDirection_LastChild: to = root_->firstChild(id_, true); break;
        }
        if (to != 0) *element = root_->element(to);
        return S_OK;
    }

    STDMETHODIMP GetRuntimeId(SAFEARRAY** id) override {
        if (!id) return E_POINTER;
        // Unique within the window; the system puts the window's own part in front.
        *id = SafeArrayCreateVector(VT_I4, 0, 2);
        if (!*id) return E_OUTOFMEMORY;
        LONG index = 0;
        int part = UiaAppendRuntimeId;
        SafeArrayPutElement(*id, &index, &part);
        index = 1;
        part = static_cast<int>(id_);
        SafeArrayPutElement(*id, &index, &part);
        return S_OK;
    }

    STDMETHODIMP get_BoundingRectangle(UiaRect* bounds) override {
        if (!bounds) return E_POINTER;
        *bounds = UiaRect{};
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        const RECT r = root_->screenBounds(*node);
        *bounds = UiaRect{double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
        return S_OK;
    }

    STDMETHODIMP GetEmbeddedFragmentRoots(SAFEARRAY** roots) override {
        if (roots) *roots = nullptr;
        return S_OK;
    }
    STDMETHODIMP SetFocus() override { return S_OK; }
    STDMETHODIMP get_FragmentRoot(IRawElementProviderFragmentRoot** root) override {
        if (!root) return E_POINTER;
        return handOut<IRawElementProviderFragmentRoot>(root_, reinterpret_cast<void**>(root));
    }

    // IInvokeProvider
    STDMETHODIMP Invoke() override {
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        return root_->press(id_) ? S_OK : UIA_E_ELEMENTNOTENABLED;
    }

    // IValueProvider: the status line's text, which only the program changes.
    STDMETHODIMP SetValue(LPCWSTR) override { return UIA_E_INVALIDOPERATION; }
    STDMETHODIMP get_Value(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        *value = bstrOf(node->text);
        return S_OK;
    }

    // IRangeValueProvider: the gauge.
    STDMETHODIMP SetValue(double) override { return UIA_E_INVALIDOPERATION; }
    STDMETHODIMP get_Value(double* value) override { return read(value, &AccessibleNode::value); }
    STDMETHODIMP get_Maximum(double* value) override { return read(value, &AccessibleNode::maximum); }
    STDMETHODIMP get_Minimum(double* value) override { return read(value, &AccessibleNode::minimum); }
    STDMETHODIMP get_LargeChange(double* value) override { return zero(value); }
    STDMETHODIMP get_SmallChange(double* value) override { return zero(value); }
    // Both patterns read only.
    STDMETHODIMP get_IsReadOnly(BOOL* readOnly) override {
        if (!readOnly) return E_POINTER;
        *readOnly = TRUE;
        return S_OK;
    }

private:
    ~NodeElement() { root_->Release(); }

    HRESULT read(double* value, int AccessibleNode::*member) {
        if (!value) return E_POINTER;
        *value = 0;
        const AccessibleNode* node = root_->node(id_);
        if (!node) return UIA_E_ELEMENTNOTAVAILABLE;
        *value = node->*member;
        return S_OK;
    }
    static HRESULT zero(double* value) {
        if (!value) return E_POINTER;
        *value = 0;
        return S_OK;
    }

    ComReferences references_;
    WindowAutomation* root_;
    std::uint32_t id_;
};

}  // namespace

WindowAutomation::WindowAutomation(Win32Window& window) : window_(&window) {}

WindowAutomation::~WindowAutomation() {
    if (msaa_) msaa_->Release();
}

void WindowAutomation::detach() {
    window_ = nullptr;
    nodes_.clear();
    stale_ = false;
    if (msaa_) msaa_->detach();
}

IAccessible* WindowAutomation::msaa() {
    if (!msaa_) msaa_ = new MsaaObject(*this);
    msaa_->AddRef();
    return msaa_;
}

const std::vector<AccessibleNode>& WindowAutomation::nodes() {
    if (stale_ && window_) {
        nodes_ = window_->accessibleNodes();
        stale_ = false;
    }
    return nodes_;
}

const AccessibleNode* WindowAutomation::node(std::uint32_t id) {
    for (const AccessibleNode& node : nodes())
        if (node.id == id) return &node;
    return nullptr;
}

RECT WindowAutomation::screenBounds(const AccessibleNode& node) const {
    if (!window_) return RECT{};
    const Rect r = window_->screenRect(node.bounds);
    return RECT{r.left, r.top, r.right, r.bottom};
}

bool WindowAutomation::press(std::uint32_t id) {
    const AccessibleNode* pressed = node(id);
    if (!pressed || pressed->role != AccessibleRole::PushButton || !pressed->enabled || !window_) return false;
    return PostMessageW(window_->handle(), kAccessibleActionMessage, id, 0) != 0;
}

IRawElementProviderFragment* WindowAutomation::element(std::uint32_t id) {
    if (!node(id)) return nullptr;
    return new NodeElement(*this, id);
}

std::uint32_t WindowAutomation::firstChild(std::uint32_t parent, bool last) {
    std::uint32_t found = 0;
    for (const AccessibleNode& node : nodes()) {
        if (node.parent != parent) continue;
        found = node.id;
        if (!last) break;
    }
    return found;
}

std::uint32_t WindowAutomation::sibling(std::uint32_t id, bool next) {
    const AccessibleNode* of = node(id);
    if (!of) return 0;
    std::uint32_t previous = 0;
    bool passed = false;
    for (const AccessibleNode& node : nodes()) {
        if (node.parent != of->parent) continue;
        if (passed) return node.id;
        if (node.id == id) {
            if (!next) return previous;
            passed = true;
        }
        previous = node.id;
    }
    return 0;
}

void WindowAutomation::changed(AccessibleEvent event, std::uint32_t id) {
    stale_ = true;
    if (!window_) return;
    const HWND handle = window_->handle();
    if (event == AccessibleEvent::Structure) {
        NotifyWinEvent(EVENT_OBJECT_REORDER, handle, OBJID_CLIENT, CHILDID_SELF);
        if (UiaCore::get().clientsAreListening())
            UiaCore::get().raiseStructureChanged(this, uia::ChildrenInvalidated);
        return;
    }
    // MSAA names a node by its place among the children.
    long child = 0;
    const std::vector<AccessibleNode>& all = nodes();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].id == id) child = static_cast<long>(i) + 1;
    if (child == 0) return;
    const AccessibleNode& node = all[static_cast<std::size_t>(child - 1)];
    const DWORD winEvent = event == AccessibleEvent::NameChanged    ? EVENT_OBJECT_NAMECHANGE
                           : event == AccessibleEvent::StateChanged ? EVENT_OBJECT_STATECHANGE
                                                                    : EVENT_OBJECT_VALUECHANGE;
    NotifyWinEvent(winEvent, handle, OBJID_CLIENT, child);
    // A status bar's text is also its name.
    if (event == AccessibleEvent::ValueChanged && node.role == AccessibleRole::StatusBar)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle, OBJID_CLIENT, child);
    const UiaCore& core = UiaCore::get();
    if (!core.clientsAreListening()) return;
    IRawElementProviderFragment* element = this->element(id);
    if (!element) return;
    auto* simple = static_cast<NodeElement*>(element);
    VARIANT now;
    VariantInit(&now);
    if (event == AccessibleEvent::StateChanged) {
        setBool(&now, node.enabled);
        core.raisePropertyChanged(simple, UIA_IsEnabledPropertyId, now);
    } else if (event == AccessibleEvent::ValueChanged && node.role == AccessibleRole::ProgressBar) {
        now.vt = VT_R8;
        now.dblVal = node.value;
        core.raisePropertyChanged(simple, UIA_RangeValueValuePropertyId, now);
    } else {
        now.vt = VT_BSTR;
        now.bstrVal = bstrOf(nameOf(node));
        core.raisePropertyChanged(simple, UIA_NamePropertyId, now);
        if (event == AccessibleEvent::ValueChanged) core.raisePropertyChanged(simple, UIA_ValueValuePropertyId, now);
        VariantClear(&now);
    }
    element->Release();
}

// --- The root: the window's client area ---

STDMETHODIMP WindowAutomation::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple)) return handOut<IRawElementProviderSimple>(this, result);
    if (id == __uuidof(IRawElementProviderFragment)) return handOut<IRawElementProviderFragment>(this, result);
    if (id == __uuidof(IRawElementProviderFragmentRoot)) return handOut<IRawElementProviderFragmentRoot>(this, result);
    *result = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) WindowAutomation::AddRef() { return references_.add(); }

STDMETHODIMP_(ULONG) WindowAutomation::Release() {
    const ULONG left = references_.release();
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP WindowAutomation::get_ProviderOptions(ProviderOptions* options) {
    if (!options) return E_POINTER;
    *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
}

STDMETHODIMP WindowAutomation::GetPatternProvider(PATTERNID, IUnknown** provider) {
    if (!provider) return E_POINTER;
    *provider = nullptr;
    return window_ ? S_OK : UIA_E_ELEMENTNOTAVAILABLE;
}

STDMETHODIMP WindowAutomation::GetPropertyValue(PROPERTYID, VARIANT* value) {
    if (!value) return E_POINTER;
    // The system's provider for the window answers its name, type and place.
    VariantInit(value);
    return window_ ? S_OK : UIA_E_ELEMENTNOTAVAILABLE;
}

STDMETHODIMP WindowAutomation::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    if (!host) return E_POINTER;
    *host = window_ ? UiaCore::get().hostProviderFromHwnd(window_->handle()) : nullptr;
    return S_OK;
}

STDMETHODIMP WindowAutomation::Navigate(NavigateDirection direction, IRawElementProviderFragment** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    if (!window_) return UIA_E_ELEMENTNOTAVAILABLE;
    // The window's parent and siblings are the system's business.
    if (direction == NavigateDirection_FirstChild || direction == NavigateDirection_LastChild) {
        const std::uint32_t id = firstChild(0, direction == NavigateDirection_LastChild);
        if (id != 0) *element = this->element(id);
    }
    return S_OK;
}

STDMETHODIMP WindowAutomation::GetRuntimeId(SAFEARRAY** id) {
    if (!id) return E_POINTER;
    // The window's own, which the system gives.
    *id = nullptr;
    return S_OK;
}

STDMETHODIMP WindowAutomation::get_BoundingRectangle(UiaRect* bounds) {
    if (!bounds) return E_POINTER;
    // The system gives the window's.
    *bounds = UiaRect{};
    return S_OK;
}

STDMETHODIMP WindowAutomation::GetEmbeddedFragmentRoots(SAFEARRAY** roots) {
    if (roots) *roots = nullptr;
    return S_OK;
}

STDMETHODIMP WindowAutomation::SetFocus() { return S_OK; }

STDMETHODIMP WindowAutomation::get_FragmentRoot(IRawElementProviderFragmentRoot** root) {
    if (!root) return E_POINTER;
    return handOut<IRawElementProviderFragmentRoot>(this, reinterpret_cast<void**>(root));
}

STDMETHODIMP WindowAutomation::ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    if (!window_) return UIA_E_ELEMENTNOTAVAILABLE;
    // The last node that holds the point lies deepest, as children follow their parents.
    std::uint32_t found = 0;
    for (const AccessibleNode& node : nodes())
        if (contains(screenBounds(node), x, y)) found = node.id;
    if (found != 0) *element = this->element(found);
    return S_OK;
}

STDMETHODIMP WindowAutomation::GetFocus(IRawElementProviderFragment** element) {
    if (!element) return E_POINTER;
    // No drawn control takes the keyboard.
    *element = nullptr;
    return S_OK;
}

// --- MSAA ---

HWND WindowAutomation::window() const { return window_ ? window_->handle() : nullptr; }

long WindowAutomation::childCount() { return static_cast<long>(nodes().size()); }

bool WindowAutomation::item(long child, Item& item) {
    if (!window_) return false;
    item = Item{};
    if (child == CHILDID_SELF) {
        item.role = ROLE_SYSTEM_CLIENT;
        item.state = STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == window_->handle()) item.state |= STATE_SYSTEM_FOCUSED;
        return true;
    }
    const std::vector<AccessibleNode>& all = nodes();
    if (child < 1 || static_cast<std::size_t>(child) > all.size()) return false;
    const AccessibleNode& node = all[static_cast<std::size_t>(child - 1)];
    item.name = toWide(nameOf(node));
    item.role = msaaRoleOf(node.role);
    item.state = node.enabled ? 0 : STATE_SYSTEM_UNAVAILABLE;
    if (node.role == AccessibleRole::StatusBar) item.value = toWide(node.text);
    if (node.role == AccessibleRole::ProgressBar) item.value = std::to_wstring(node.value);
    if (node.role == AccessibleRole::PushButton) item.defaultAction = L"Press";
    if (node.role == AccessibleRole::StatusBar || node.role == AccessibleRole::Label) item.state |= STATE_SYSTEM_READONLY;
    item.location = screenBounds(node);
    return true;
}

bool WindowAutomation::doDefaultAction(long child) {
    const std::vector<AccessibleNode>& all = nodes();
    if (child < 1 || static_cast<std::size_t>(child) > all.size()) return false;
    return press(all[static_cast<std::size_t>(child - 1)].id);
}

long WindowAutomation::childAt(POINT screen) {
    if (!window_) return -1;
    RECT client{};
    GetClientRect(window_->handle(), &client);
    MapWindowPoints(window_->handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    if (!PtInRect(&client, screen)) return -1;
    long found = CHILDID_SELF;
    const std::vector<AccessibleNode>& all = nodes();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const RECT r = screenBounds(all[i]);
        if (PtInRect(&r, screen)) found = static_cast<long>(i) + 1;
    }
    return found;
}

}  // namespace zozuz
