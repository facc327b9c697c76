#pragma once

#include "platform/host/AccessibleText.h"
#include "hosts/win32/ComObject.h"
#include "hosts/win32/UiaDeclarations.h"

namespace zozuz {

class EditorAutomation;

// A range of the editor's text as UI Automation moves and reads it, in the text's character
// offsets. The offsets are clamped to the text whenever it is read, as the text may have changed
// since the range was made.
class EditorTextRange final : public ITextRangeProvider {
public:
    using Offset = AccessibleText::Offset;
    EditorTextRange(EditorAutomation& editor, Offset start, Offset end);

    Offset start() const { return start_; }
    Offset end() const { return end_; }
    // The range behind a client's interface, when it is one of these; null otherwise.
    static EditorTextRange* from(ITextRangeProvider* range);

    STDMETHODIMP QueryInterface(REFIID id, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP Clone(ITextRangeProvider** clone) override;
    STDMETHODIMP Compare(ITextRangeProvider* range, BOOL* same) override;
    STDMETHODIMP CompareEndpoints(int endpoint, ITextRangeProvider* target, int targetEndpoint, int* order) override;
    STDMETHODIMP ExpandToEnclosingUnit(int unit) override;
    STDMETHODIMP FindAttribute(TEXTATTRIBUTEID id, VARIANT value, BOOL backward, ITextRangeProvider** found) override;
    STDMETHODIMP FindText(BSTR text, BOOL backward, BOOL ignoreCase, ITextRangeProvider** found) override;
    STDMETHODIMP GetAttributeValue(TEXTATTRIBUTEID id, VARIANT* value) override;
    STDMETHODIMP GetBoundingRectangles(SAFEARRAY** rectangles) override;
    STDMETHODIMP GetEnclosingElement(IRawElementProviderSimple** element) override;
    STDMETHODIMP GetText(int maxLength, BSTR* text) override;
    STDMETHODIMP Move(int unit, int count, int* moved) override;
    STDMETHODIMP MoveEndpointByUnit(int endpoint, int unit, int count, int* moved) override;
    STDMETHODIMP MoveEndpointByRange(int endpoint, ITextRangeProvider* target, int targetEndpoint) override;
    STDMETHODIMP Select() override;
    STDMETHODIMP AddToSelection() override;
    STDMETHODIMP RemoveFromSelection() override;
    STDMETHODIMP ScrollIntoView(BOOL alignToTop) override;
    STDMETHODIMP GetChildren(SAFEARRAY** children) override;

private:
    ~EditorTextRange();

    ComReferences references_;
    EditorAutomation* editor_;
    // start_ <= end_.
    Offset start_;
    Offset end_;
};

}  // namespace zozuz
