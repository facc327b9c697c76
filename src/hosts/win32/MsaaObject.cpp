#include "hosts/win32/MsaaObject.h"

#include <utility>

namespace zozuz {

namespace {

BSTR bstrOf(const std::wstring& text) {
    return text.empty() ? nullptr : SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

}  // namespace

MsaaObject::MsaaObject(MsaaModel& model) : model_(&model) {}

MsaaObject::~MsaaObject() {
    if (standard_) standard_->Release();
}

void MsaaObject::detach() {
    model_ = nullptr;
    if (standard_) std::exchange(standard_, nullptr)->Release();
}

STDMETHODIMP MsaaObject::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) return handOut<IAccessible>(this, result);
    *result = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) MsaaObject::AddRef() { return references_.add(); }

STDMETHODIMP_(ULONG) MsaaObject::Release() {
    const ULONG left = references_.release();
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP MsaaObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
STDMETHODIMP MsaaObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP MsaaObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP MsaaObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

IAccessible* MsaaObject::standard() {
    if (!standard_ && model_)
        CreateStdAccessibleObject(model_->window(), OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard_));
    return standard_;
}

HRESULT MsaaObject::itemOf(const VARIANT& child, MsaaModel::Item& item, long& index) {
    if (!model_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    index = child.lVal;
    return model_->item(index, item) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP MsaaObject::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    IAccessible* std = standard();
    return std ? std->get_accParent(parent) : RPC_E_DISCONNECTED;
}

STDMETHODIMP MsaaObject::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    if (!model_) return RPC_E_DISCONNECTED;
    *count = model_->childCount();
    return S_OK;
}

STDMETHODIMP MsaaObject::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    // The children are simple elements: the client asks this object about them.
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    if (index == CHILDID_SELF && item.name.empty()) {
        IAccessible* std = standard();
        return std ? std->get_accName(child, name) : S_FALSE;
    }
    *name = bstrOf(item.name);
    return *name ? S_OK : S_FALSE;
}

STDMETHODIMP MsaaObject::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    *value = bstrOf(item.value);
    return *value ? S_OK : S_FALSE;
}

STDMETHODIMP MsaaObject::get_accDescription(VARIANT, BSTR* description) {
    if (description) *description = nullptr;
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    role->vt = VT_I4;
    role->lVal = item.role;
    return S_OK;
}

STDMETHODIMP MsaaObject::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    state->vt = VT_I4;
    state->lVal = item.state;
    return S_OK;
}

STDMETHODIMP MsaaObject::get_accHelp(VARIANT, BSTR* help) {
    if (help) *help = nullptr;
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (shortcut) *shortcut = nullptr;
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!model_) return RPC_E_DISCONNECTED;
    // The drawn controls never take the keyboard; the window itself may have it.
    if (GetFocus() == model_->window()) {
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accSelection(VARIANT* selection) {
    if (selection) VariantInit(selection);
    return S_FALSE;
}

STDMETHODIMP MsaaObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    *action = bstrOf(item.defaultAction);
    return *action ? S_OK : S_FALSE;
}

STDMETHODIMP MsaaObject::accSelect(long, VARIANT) { return DISP_E_MEMBERNOTFOUND; }

STDMETHODIMP MsaaObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    if (index == CHILDID_SELF) {
        IAccessible* std = standard();
        return std ? std->accLocation(left, top, width, height, child) : S_FALSE;
    }
    *left = item.location.left;
    *top = item.location.top;
    *width = item.location.right - item.location.left;
    *height = item.location.bottom - item.location.top;
    return S_OK;
}

STDMETHODIMP MsaaObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    if (!model_) return RPC_E_DISCONNECTED;
    if (start.vt != VT_I4) return E_INVALIDARG;
    const long count = model_->childCount();
    long to = 0;
    if (isSelf(start)) {
        if (direction == NAVDIR_FIRSTCHILD) to = count > 0 ? 1 : 0;
        else if (direction == NAVDIR_LASTCHILD) to = count;
        else {
            IAccessible* std = standard();
            return std ? std->accNavigate(direction, start, end) : S_FALSE;
        }
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) {
        to = start.lVal < count ? start.lVal + 1 : 0;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) {
        to = start.lVal > 1 ? start.lVal - 1 : 0;
    }
    if (to == 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
}

STDMETHODIMP MsaaObject::accHitTest(long left, long top, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    if (!model_) return RPC_E_DISCONNECTED;
    const long at = model_->childAt(POINT{left, top});
    if (at < 0) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = at;
    return S_OK;
}

STDMETHODIMP MsaaObject::accDoDefaultAction(VARIANT child) {
    MsaaModel::Item item;
    long index = 0;
    if (const HRESULT status = itemOf(child, item, index); FAILED(status)) return status;
    return model_->doDefaultAction(index) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP MsaaObject::put_accName(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }
STDMETHODIMP MsaaObject::put_accValue(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

}  // namespace zozuz
