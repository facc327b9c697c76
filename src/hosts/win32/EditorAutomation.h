#pragma once

#include <functional>

#include "platform/host/AccessibleText.h"
#include "hosts/win32/ComObject.h"
#include "hosts/win32/MsaaObject.h"
#include "hosts/win32/TextUnits.h"
#include "hosts/win32/UiaDeclarations.h"

namespace zozuz {

class Win32EditorWindow;

// What screen readers see of the editor window: a UI Automation edit element with the text pattern
// over the editor's accessible text (read a piece at a time, never converted whole), and a value
// pattern whose value is the caret's line; for MSAA clients, an object whose value is the caret's
// line. The window owns one reference and detaches it when it goes; calls after that fail as for an
// element no longer there.
class EditorAutomation final : public IRawElementProviderSimple,
                               public ITextProvider,
                               public IValueProvider,
                               public MsaaModel {
public:
    explicit EditorAutomation(Win32EditorWindow& editor);
    void detach();

    // Runs `read` on the editor's text under the host's guard; an error when there is none (any
    // more) or the call failed.
    HRESULT withText(const std::function<HRESULT(AccessibleText&)>& read);
    // A rectangle of the text area in the screen's device pixels.
    RECT screenRect(const Rect& textArea) const;
    // The editor tells of a change: listening clients are told.
    void changed(const AccessibleTextChange& change);
    // The MSAA object, created on first use (one reference for the caller).
    IAccessible* msaa();
    // A new range over [start, end) (one reference for the caller).
    ITextRangeProvider* range(AccessibleText::Offset start, AccessibleText::Offset end);
    // Selects [start, end) as the user would.
    HRESULT select(AccessibleText::Offset start, AccessibleText::Offset end);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IRawElementProviderSimple
    STDMETHODIMP get_ProviderOptions(ProviderOptions* options) override;
    STDMETHODIMP GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
    STDMETHODIMP GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    STDMETHODIMP get_HostRawElementProvider(IRawElementProviderSimple** host) override;
    // ITextProvider
    STDMETHODIMP GetSelection(SAFEARRAY** ranges) override;
    STDMETHODIMP GetVisibleRanges(SAFEARRAY** ranges) override;
    STDMETHODIMP RangeFromChild(IRawElementProviderSimple* child, ITextRangeProvider** range) override;
    STDMETHODIMP RangeFromPoint(uia::Point point, ITextRangeProvider** range) override;
    STDMETHODIMP get_DocumentRange(ITextRangeProvider** range) override;
    STDMETHODIMP get_SupportedTextSelection(int* selection) override;
    // IValueProvider
    STDMETHODIMP SetValue(LPCWSTR value) override;
    STDMETHODIMP get_Value(BSTR* value) override;
    STDMETHODIMP get_IsReadOnly(BOOL* readOnly) override;

    // MsaaModel
    HWND window() const override;
    long childCount() override { return 0; }
    bool item(long child, Item& item) override;
    bool doDefaultAction(long) override { return false; }
    long childAt(POINT screen) override;

private:
    ~EditorAutomation();
    // The caret's line, cut to a length a reader speaks at once.
    std::wstring caretLine();
    HRESULT rangesOf(AccessibleText::Range range, SAFEARRAY** ranges);

    ComReferences references_;
    Win32EditorWindow* editor_;
    MsaaObject* msaa_ = nullptr;
};

}  // namespace zozuz
