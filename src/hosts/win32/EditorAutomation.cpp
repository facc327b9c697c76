#include "hosts/win32/EditorAutomation.h"

#include <algorithm>
#include <string>
#include <utility>

#include "hosts/win32/EditorTextRange.h"
#include "hosts/win32/UiaCore.h"
#include "hosts/win32/Win32EditorWindow.h"
#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

// The most of the caret's line that the value gives: a reader speaks it at once, and a line may be
// as long as the whole text.
constexpr AccessibleText::Offset kLineValueLimit = 4096;

}  // namespace

EditorAutomation::EditorAutomation(Win32EditorWindow& editor) : editor_(&editor) {}

EditorAutomation::~EditorAutomation() {
    if (msaa_) msaa_->Release();
}

void EditorAutomation::detach() {
    editor_ = nullptr;
    if (msaa_) msaa_->detach();
}

IAccessible* EditorAutomation::msaa() {
    if (!msaa_) msaa_ = new MsaaObject(*this);
    msaa_->AddRef();
    return msaa_;
}

HRESULT EditorAutomation::withText(const std::function<HRESULT(AccessibleText&)>& read) {
    if (!editor_) return UIA_E_ELEMENTNOTAVAILABLE;
    HRESULT status = UIA_E_ELEMENTNOTAVAILABLE;
    const bool finished = editor_->guard([&] {
        if (AccessibleText* text = editor_->client().accessibleText()) status = read(*text);
    });
    return finished ? status : E_FAIL;
}

RECT EditorAutomation::screenRect(const Rect& textArea) const {
    if (!editor_) return RECT{};
    const Rect r = editor_->screenRect(textArea);
    return RECT{r.left, r.top, r.right, r.bottom};
}

ITextRangeProvider* EditorAutomation::range(AccessibleText::Offset start, AccessibleText::Offset end) {
    return new EditorTextRange(*this, start, end);
}

HRESULT EditorAutomation::select(AccessibleText::Offset start, AccessibleText::Offset end) {
    return withText([&](AccessibleText& text) {
        const AccessibleText::Offset count = text.characterCount();
        text.setSelection(std::clamp<AccessibleText::Offset>(start, 0, count),
                          std::clamp<AccessibleText::Offset>(end, 0, count));
        return S_OK;
    });
}

void EditorAutomation::changed(const AccessibleTextChange& change) {
    if (!editor_) return;
    const HWND handle = editor_->handle();
    const UiaCore& core = UiaCore::get();
    const bool listening = core.clientsAreListening();
    if (change.kind == AccessibleTextChange::Kind::Text) {
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, handle, OBJID_CLIENT, CHILDID_SELF);
        if (listening) core.raiseEvent(this, uia::kTextChangedEvent);
        return;
    }
    // The caret's line is the MSAA value; readers that follow the system caret hear of its move
    // from the window's caret.
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, handle, OBJID_CLIENT, CHILDID_SELF);
    if (listening) core.raiseEvent(this, uia::kTextSelectionChangedEvent);
}

std::wstring EditorAutomation::caretLine() {
    std::wstring line;
    withText([&](AccessibleText& text) {
        const AccessibleText::Range range = text.lineAt(text.caret());
        line = toWide(text.text(range.start, std::min(range.end, range.start + kLineValueLimit)));
        return S_OK;
    });
    return line;
}

STDMETHODIMP EditorAutomation::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IRawElementProviderSimple)) return handOut<IRawElementProviderSimple>(this, result);
    *result = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EditorAutomation::AddRef() { return references_.add(); }

STDMETHODIMP_(ULONG) EditorAutomation::Release() {
    const ULONG left = references_.release();
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP EditorAutomation::get_ProviderOptions(ProviderOptions* options) {
    if (!options) return E_POINTER;
    *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
}

STDMETHODIMP EditorAutomation::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
    if (!provider) return E_POINTER;
    *provider = nullptr;
    if (!editor_) return UIA_E_ELEMENTNOTAVAILABLE;
    if (pattern == UIA_TextPatternId) return handOut<ITextProvider>(this, reinterpret_cast<void**>(provider));
    if (pattern == UIA_ValuePatternId) return handOut<IValueProvider>(this, reinterpret_cast<void**>(provider));
    return S_OK;
}

STDMETHODIMP EditorAutomation::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (!editor_) return UIA_E_ELEMENTNOTAVAILABLE;
    switch (property) {
        case UIA_ControlTypePropertyId:
            value->vt = VT_I4;
            value->lVal = uia::kEdit;
            break;
        case UIA_IsKeyboardFocusablePropertyId:
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_TRUE;
            break;
        case UIA_HasKeyboardFocusPropertyId:
            value->vt = VT_BOOL;
            value->boolVal = editor_->hasFocus() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case UIA_IsTextPatternAvailablePropertyId:
        case UIA_IsValuePatternAvailablePropertyId:
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_TRUE;
            break;
        default: break;
    }
    return S_OK;
}

STDMETHODIMP EditorAutomation::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    if (!host) return E_POINTER;
    *host = editor_ ? UiaCore::get().hostProviderFromHwnd(editor_->handle()) : nullptr;
    return S_OK;
}

HRESULT EditorAutomation::rangesOf(AccessibleText::Range range, SAFEARRAY** ranges) {
    *ranges = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    if (!*ranges) return E_OUTOFMEMORY;
    ITextRangeProvider* one = this->range(range.start, range.end);
    LONG index = 0;
    // The array takes its own reference.
    const HRESULT status = SafeArrayPutElement(*ranges, &index, one);
    one->Release();
    return status;
}

STDMETHODIMP EditorAutomation::GetSelection(SAFEARRAY** ranges) {
    if (!ranges) return E_POINTER;
    *ranges = nullptr;
    AccessibleText::Range selection;
    const HRESULT status = withText([&](AccessibleText& text) {
        selection = text.selection();
        return S_OK;
    });
    return FAILED(status) ? status : rangesOf(selection, ranges);
}

STDMETHODIMP EditorAutomation::GetVisibleRanges(SAFEARRAY** ranges) {
    if (!ranges) return E_POINTER;
    *ranges = nullptr;
    AccessibleText::Range visible;
    const HRESULT status = withText([&](AccessibleText& text) {
        // From the character at the text area's top left corner to the one at its bottom right.
        const Rect logical = editor_->textAreaRect();
        const AccessibleText::Offset first = text.offsetAt(Point{0, 0});
        const AccessibleText::Offset last = text.offsetAt(Point{logical.right - 1, logical.bottom - 1});
        visible.start = first < 0 ? 0 : first;
        visible.end = last < 0 ? text.characterCount() : std::max(visible.start, text.lineAt(last).end);
        return S_OK;
    });
    return FAILED(status) ? status : rangesOf(visible, ranges);
}

STDMETHODIMP EditorAutomation::RangeFromChild(IRawElementProviderSimple*, ITextRangeProvider** range) {
    // The text has no embedded elements.
    if (range) *range = nullptr;
    return E_INVALIDARG;
}

STDMETHODIMP EditorAutomation::RangeFromPoint(uia::Point point, ITextRangeProvider** range) {
    if (!range) return E_POINTER;
    *range = nullptr;
    AccessibleText::Offset at = 0;
    const HRESULT status = withText([&](AccessibleText& text) {
        const Point inArea = editor_->textAreaPoint(static_cast<int>(point.x), static_cast<int>(point.y));
        at = text.offsetAt(inArea);
        // Outside any character: the nearest end of the text.
        if (at < 0) at = inArea.y < 0 ? 0 : text.characterCount();
        return S_OK;
    });
    if (FAILED(status)) return status;
    *range = this->range(at, at);
    return S_OK;
}

STDMETHODIMP EditorAutomation::get_DocumentRange(ITextRangeProvider** range) {
    if (!range) return E_POINTER;
    *range = nullptr;
    AccessibleText::Offset count = 0;
    const HRESULT status = withText([&](AccessibleText& text) {
        count = text.characterCount();
        return S_OK;
    });
    if (FAILED(status)) return status;
    *range = this->range(0, count);
    return S_OK;
}

STDMETHODIMP EditorAutomation::get_SupportedTextSelection(int* selection) {
    if (!selection) return E_POINTER;
    *selection = uia::SelectionSingle;
    return S_OK;
}

STDMETHODIMP EditorAutomation::SetValue(LPCWSTR value) {
    if (!value) return E_POINTER;
    return withText([&](AccessibleText& text) {
        return text.replace(0, text.characterCount(), fromWide(value)) ? S_OK : UIA_E_ELEMENTNOTENABLED;
    });
}

STDMETHODIMP EditorAutomation::get_Value(BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (!editor_) return UIA_E_ELEMENTNOTAVAILABLE;
    const std::wstring line = caretLine();
    *value = SysAllocStringLen(line.data(), static_cast<UINT>(line.size()));
    return S_OK;
}

STDMETHODIMP EditorAutomation::get_IsReadOnly(BOOL* readOnly) {
    if (!readOnly) return E_POINTER;
    *readOnly = FALSE;
    return withText([&](AccessibleText& text) {
        *readOnly = text.readOnly();
        return S_OK;
    });
}

HWND EditorAutomation::window() const { return editor_ ? editor_->handle() : nullptr; }

bool EditorAutomation::item(long child, Item& item) {
    if (!editor_ || child != CHILDID_SELF) return false;
    item = Item{};
    item.role = ROLE_SYSTEM_TEXT;
    item.state = STATE_SYSTEM_FOCUSABLE;
    if (editor_->hasFocus()) item.state |= STATE_SYSTEM_FOCUSED;
    withText([&](AccessibleText& text) {
        if (text.readOnly()) item.state |= STATE_SYSTEM_READONLY;
        return S_OK;
    });
    item.value = caretLine();
    return true;
}

long EditorAutomation::childAt(POINT screen) {
    if (!editor_) return -1;
    RECT r{};
    GetWindowRect(editor_->handle(), &r);
    return PtInRect(&r, screen) ? CHILDID_SELF : -1;
}

}  // namespace zozuz
