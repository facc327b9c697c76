#include "hosts/win32/EditorTextRange.h"

#include <algorithm>
#include <string>
#include <vector>

#include "hosts/win32/EditorAutomation.h"
#include "hosts/win32/TextUnits.h"
#include "hosts/win32/UiaCore.h"
#include "hosts/win32/WideText.h"

namespace zozuz {

namespace {

// Asked for by from() only: answers with the range itself, which no other object does.
constexpr GUID kEditorTextRangeId = {0x6f1d2c3a, 0x54b7, 0x4e0a, {0x9c, 0x51, 0x2a, 0x83, 0x7e, 0x1f, 0x44, 0xd9}};

TextUnits::Unit unitOf(int unit) {
    switch (unit) {
        case uia::Character: return TextUnits::Unit::Character;
        case uia::Format:
        case uia::Word: return TextUnits::Unit::Word;
        case uia::Line:
        case uia::Paragraph: return TextUnits::Unit::Line;
        default: return TextUnits::Unit::Document;
    }
}

// Moves `offset` by `count` boundaries of `unit`; returns how many it moved.
int moveOffset(TextUnits& units, AccessibleText::Offset& offset, TextUnits::Unit unit, int count) {
    int moved = 0;
    while (moved < count && offset < units.count()) {
        offset = units.next(offset, unit);
        ++moved;
    }
    while (moved > count && offset > 0) {
        offset = units.previous(offset, unit);
        --moved;
    }
    return moved;
}

}  // namespace

EditorTextRange::EditorTextRange(EditorAutomation& editor, Offset start, Offset end)
    : editor_(&editor), start_(std::min(start, end)), end_(std::max(start, end)) {
    editor_->AddRef();
}

EditorTextRange::~EditorTextRange() { editor_->Release(); }

EditorTextRange* EditorTextRange::from(ITextRangeProvider* range) {
    void* self = nullptr;
    if (!range || FAILED(range->QueryInterface(kEditorTextRangeId, &self))) return nullptr;
    auto* ours = static_cast<EditorTextRange*>(self);
    // The client's own reference keeps it alive.
    ours->Release();
    return ours;
}

STDMETHODIMP EditorTextRange::QueryInterface(REFIID id, void** result) {
    if (!result) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(ITextRangeProvider)) return handOut<ITextRangeProvider>(this, result);
    if (id == kEditorTextRangeId) return handOut<EditorTextRange>(this, result);
    *result = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EditorTextRange::AddRef() { return references_.add(); }

STDMETHODIMP_(ULONG) EditorTextRange::Release() {
    const ULONG left = references_.release();
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP EditorTextRange::Clone(ITextRangeProvider** clone) {
    if (!clone) return E_POINTER;
    *clone = editor_->range(start_, end_);
    return S_OK;
}

STDMETHODIMP EditorTextRange::Compare(ITextRangeProvider* range, BOOL* same) {
    if (!same) return E_POINTER;
    const EditorTextRange* other = from(range);
    if (!other) return E_INVALIDARG;
    *same = other->start_ == start_ && other->end_ == end_;
    return S_OK;
}

STDMETHODIMP EditorTextRange::CompareEndpoints(int endpoint, ITextRangeProvider* target, int targetEndpoint,
                                               int* order) {
    if (!order) return E_POINTER;
    const EditorTextRange* other = from(target);
    if (!other) return E_INVALIDARG;
    const Offset mine = endpoint == uia::Start ? start_ : end_;
    const Offset theirs = targetEndpoint == uia::Start ? other->start_ : other->end_;
    *order = mine < theirs ? -1 : mine > theirs ? 1 : 0;
    return S_OK;
}

STDMETHODIMP EditorTextRange::ExpandToEnclosingUnit(int unit) {
    return editor_->withText([&](AccessibleText& text) {
        TextUnits units(text);
        const TextUnits::Unit u = unitOf(unit);
        Offset at = units.clamp(start_);
        // At the end of the text the range takes the last unit.
        if (at == units.count() && at > 0) at = units.previous(at, u);
        start_ = units.unitStart(at, u);
        end_ = units.next(start_, u);
        return S_OK;
    });
}

STDMETHODIMP EditorTextRange::FindAttribute(TEXTATTRIBUTEID, VARIANT, BOOL, ITextRangeProvider** found) {
    // The text has one format throughout.
    if (found) *found = nullptr;
    return S_OK;
}

STDMETHODIMP EditorTextRange::FindText(BSTR, BOOL, BOOL, ITextRangeProvider** found) {
    if (found) *found = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EditorTextRange::GetAttributeValue(TEXTATTRIBUTEID id, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (id == uia::kIsReadOnlyAttribute) {
        return editor_->withText([&](AccessibleText& text) {
            value->vt = VT_BOOL;
            value->boolVal = text.readOnly() ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }
    if (IUnknown* notSupported = UiaCore::get().notSupportedValue()) {
        value->vt = VT_UNKNOWN;
        value->punkVal = notSupported;
    }
    return S_OK;
}

STDMETHODIMP EditorTextRange::GetBoundingRectangles(SAFEARRAY** rectangles) {
    if (!rectangles) return E_POINTER;
    *rectangles = nullptr;
    std::vector<double> corners;
    const HRESULT status = editor_->withText([&](AccessibleText& text) {
        TextUnits units(text);
        const Offset end = units.clamp(end_);
        Offset at = units.clamp(start_);
        // One rectangle for each line of the range that shows.
        do {
            const AccessibleText::Range line = text.lineAt(at);
            const Offset last = std::max(at, std::min(end, line.end) - 1);
            Rect bounds = text.characterBounds(at);
            const Rect lastBounds = text.characterBounds(last);
            if (!bounds.empty() && !lastBounds.empty()) {
                bounds = Rect{std::min(bounds.left, lastBounds.left), std::min(bounds.top, lastBounds.top),
                              std::max(bounds.right, lastBounds.right), std::max(bounds.bottom, lastBounds.bottom)};
                const RECT screen = editor_->screenRect(bounds);
                corners.insert(corners.end(), {double(screen.left), double(screen.top),
                                               double(screen.right - screen.left), double(screen.bottom - screen.top)});
            }
            at = line.end + 1;
        } while (at < end);
        return S_OK;
    });
    if (FAILED(status)) return status;
    *rectangles = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(corners.size()));
    if (!*rectangles) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(corners.size()); ++i)
        SafeArrayPutElement(*rectangles, &i, &corners[static_cast<std::size_t>(i)]);
    return S_OK;
}

STDMETHODIMP EditorTextRange::GetEnclosingElement(IRawElementProviderSimple** element) {
    if (!element) return E_POINTER;
    return handOut<IRawElementProviderSimple>(editor_, reinterpret_cast<void**>(element));
}

STDMETHODIMP EditorTextRange::GetText(int maxLength, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    return editor_->withText([&](AccessibleText& text) {
        TextUnits units(text);
        const Offset start = units.clamp(start_);
        Offset end = units.clamp(end_);
        // An offset is one UTF-16 unit, so the limit cuts before any conversion.
        if (maxLength >= 0) end = std::min(end, start + maxLength);
        const std::wstring wide = toWide(text.text(start, end));
        *result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        return S_OK;
    });
}

STDMETHODIMP EditorTextRange::Move(int unit, int count, int* moved) {
    if (!moved) return E_POINTER;
    *moved = 0;
    return editor_->withText([&](AccessibleText& text) {
        TextUnits units(text);
        const TextUnits::Unit u = unitOf(unit);
        const bool degenerate = start_ == end_;
        Offset at = units.unitStart(units.clamp(start_), u);
        // A range that spans text moves to whole units, and never to the empty end of the text.
        int steps = moveOffset(units, at, u, count);
        if (!degenerate && at == units.count() && steps > 0 && units.count() > 0) {
            at = units.previous(at, u);
            --steps;
        }
        if (count == 0) steps = 0;
        start_ = at;
        end_ = degenerate ? at : units.next(at, u);
        *moved = steps;
        return S_OK;
    });
}

STDMETHODIMP EditorTextRange::MoveEndpointByUnit(int endpoint, int unit, int count, int* moved) {
    if (!moved) return E_POINTER;
    *moved = 0;
    return editor_->withText([&](AccessibleText& text) {
        TextUnits units(text);
        Offset at = units.clamp(endpoint == uia::Start ? start_ : end_);
        *moved = moveOffset(units, at, unitOf(unit), count);
        // An endpoint moved past the other takes it along.
        if (endpoint == uia::Start) {
            start_ = at;
            end_ = std::max(units.clamp(end_), at);
        } else {
            end_ = at;
            start_ = std::min(units.clamp(start_), at);
        }
        return S_OK;
    });
}

STDMETHODIMP EditorTextRange::MoveEndpointByRange(int endpoint, ITextRangeProvider* target, int targetEndpoint) {
    const EditorTextRange* other = from(target);
    if (!other) return E_INVALIDARG;
    const Offset to = targetEndpoint == uia::Start ? other->start_ : other->end_;
    if (endpoint == uia::Start) {
        start_ = to;
        end_ = std::max(end_, to);
    } else {
        end_ = to;
        start_ = std::min(start_, to);
    }
    return S_OK;
}

STDMETHODIMP EditorTextRange::Select() { return editor_->select(start_, end_); }

STDMETHODIMP EditorTextRange::AddToSelection() { return UIA_E_INVALIDOPERATION; }
STDMETHODIMP EditorTextRange::RemoveFromSelection() { return UIA_E_INVALIDOPERATION; }

STDMETHODIMP EditorTextRange::ScrollIntoView(BOOL) {
    // The editor scrolls only to its caret.
    return E_NOTIMPL;
}

STDMETHODIMP EditorTextRange::GetChildren(SAFEARRAY** children) {
    if (!children) return E_POINTER;
    *children = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
    return *children ? S_OK : E_OUTOFMEMORY;
}

}  // namespace zozuz
