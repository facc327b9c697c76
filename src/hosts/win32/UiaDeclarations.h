#pragma once

// The parts of UI Automation's provider interface that the cross compiler's headers leave out: the
// control pattern interfaces a provider implements, and the identifiers of control types, events and
// text attributes. Laid out as the system defines them, method for method, since the system calls
// them through these tables.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <uiautomationcore.h>
#include <uiautomationclient.h>

// The core's own header declares a parameter named "new", which C++ refuses; its constants are here.
#ifndef UIA_E_ELEMENTNOTENABLED
#define UIA_E_ELEMENTNOTENABLED static_cast<HRESULT>(0x80040200)
#define UIA_E_ELEMENTNOTAVAILABLE static_cast<HRESULT>(0x80040201)
#define UIA_E_INVALIDOPERATION static_cast<HRESULT>(0x80131509)
#define UiaAppendRuntimeId 3
#define UiaRootObjectId (-25)
#endif

namespace zozuz::uia {

inline constexpr CONTROLTYPEID kButton = 50000;
inline constexpr CONTROLTYPEID kEdit = 50004;
inline constexpr CONTROLTYPEID kImage = 50006;
inline constexpr CONTROLTYPEID kProgressBar = 50012;
inline constexpr CONTROLTYPEID kStatusBar = 50017;
inline constexpr CONTROLTYPEID kText = 50020;
inline constexpr CONTROLTYPEID kToolBar = 50021;

inline constexpr EVENTID kTextSelectionChangedEvent = 20014;
inline constexpr EVENTID kTextChangedEvent = 20015;

inline constexpr TEXTATTRIBUTEID kIsReadOnlyAttribute = 40015;

enum TextUnit { Character = 0, Format = 1, Word = 2, Line = 3, Paragraph = 4, Page = 5, Document = 6 };
enum TextEndpoint { Start = 0, End = 1 };
enum SupportedTextSelection { SelectionNone = 0, SelectionSingle = 1, SelectionMultiple = 2 };
enum StructureChange { ChildAdded = 0, ChildRemoved = 1, ChildrenInvalidated = 2 };

struct Point {
    double x;
    double y;
};

}  // namespace zozuz::uia

struct ITextRangeProvider;

struct IInvokeProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};
__CRT_UUID_DECL(IInvokeProvider, 0x54fcb24b, 0xe18e, 0x47a2, 0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2)

struct IValueProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a)

struct IRangeValueProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(double value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Maximum(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Minimum(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LargeChange(double* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SmallChange(double* value) = 0;
};
__CRT_UUID_DECL(IRangeValueProvider, 0x36dc7aef, 0x33e6, 0x4691, 0xaf, 0xe1, 0x2b, 0xe7, 0x27, 0x4b, 0x3d, 0x33)

struct ITextProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child, ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(zozuz::uia::Point point, ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(int* selection) = 0;
};
__CRT_UUID_DECL(ITextProvider, 0x3589c92c, 0x63f3, 0x4367, 0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7, 0x7c, 0xf2)

struct ITextRangeProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** clone) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* same) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(int endpoint, ITextRangeProvider* target, int targetEndpoint,
                                                       int* order) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(int unit) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(TEXTATTRIBUTEID id, VARIANT value, BOOL backward,
                                                    ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase, ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(TEXTATTRIBUTEID id, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** rectangles) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(int unit, int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(int endpoint, int unit, int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(int endpoint, ITextRangeProvider* target,
                                                          int targetEndpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** children) = 0;
};
__CRT_UUID_DECL(ITextRangeProvider, 0x5347ad7b, 0xc355, 0x46f8, 0xaf, 0xf5, 0x90, 0x90, 0x33, 0x58, 0x2f, 0x63)
