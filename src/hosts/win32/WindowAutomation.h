#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/Accessible.h"
#include "hosts/win32/ComObject.h"
#include "hosts/win32/MsaaObject.h"
#include "hosts/win32/UiaDeclarations.h"

namespace zozuz {

class Win32Window;

// The message a top-level window posts itself to press a described control (wParam: its id): a
// screen reader's press returns at once, and the control runs from the message loop as a click
// would, also when it opens a modal box (WM_APP + 0x2E).
inline constexpr unsigned kAccessibleActionMessage = 0x8000 + 0x2E;

// What screen readers see of a top-level window's drawn controls: the root of a UI Automation
// fragment tree whose elements are the window client's described nodes (tool bars and their
// buttons, the status line, the gauge, labels and images), and the same nodes as the simple children
// of an MSAA object. The nodes are asked for when a reader first looks and again after each change
// the program reports. The window owns one reference and detaches it when it goes; clients may keep
// theirs longer, and then every call fails as for an element no longer there.
class WindowAutomation final : public IRawElementProviderSimple,
                               public IRawElementProviderFragment,
                               public IRawElementProviderFragmentRoot,
                               public MsaaModel {
public:
    explicit WindowAutomation(Win32Window& window);
    void detach();
    bool attached() const { return window_ != nullptr; }

    // The described nodes, asked for again after a change; empty once detached.
    const std::vector<AccessibleNode>& nodes();
    // The node with `id`; null when there is none (any more).
    const AccessibleNode* node(std::uint32_t id);
    // A node's bounds in screen pixels.
    RECT screenBounds(const AccessibleNode& node) const;
    // Presses the push button `id` from the message loop; false when it is none or is disabled.
    bool press(std::uint32_t id);
    // The program reports a change: the nodes are asked for again and listening clients told.
    void changed(AccessibleEvent event, std::uint32_t id);
    // The MSAA object over the same nodes, created on first use (one reference for the caller).
    IAccessible* msaa();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IRawElementProviderSimple
    STDMETHODIMP get_ProviderOptions(ProviderOptions* options) override;
    STDMETHODIMP GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
    STDMETHODIMP GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    STDMETHODIMP get_HostRawElementProvider(IRawElementProviderSimple** host) override;
    // IRawElementProviderFragment
    STDMETHODIMP Navigate(NavigateDirection direction, IRawElementProviderFragment** element) override;
    STDMETHODIMP GetRuntimeId(SAFEARRAY** id) override;
    STDMETHODIMP get_BoundingRectangle(UiaRect* bounds) override;
    STDMETHODIMP GetEmbeddedFragmentRoots(SAFEARRAY** roots) override;
    STDMETHODIMP SetFocus() override;
    STDMETHODIMP get_FragmentRoot(IRawElementProviderFragmentRoot** root) override;
    // IRawElementProviderFragmentRoot
    STDMETHODIMP ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** element) override;
    STDMETHODIMP GetFocus(IRawElementProviderFragment** element) override;

    // MsaaModel
    HWND window() const override;
    long childCount() override;
    bool item(long child, Item& item) override;
    bool doDefaultAction(long child) override;
    long childAt(POINT screen) override;

    // The provider of the node `id` (one reference for the caller); null when there is none.
    IRawElementProviderFragment* element(std::uint32_t id);
    // The first or last node lying directly in `parent` (0: on the window), or the node after or
    // before `id` in the same parent; 0 for none.
    std::uint32_t firstChild(std::uint32_t parent, bool last);
    std::uint32_t sibling(std::uint32_t id, bool next);

private:
    ~WindowAutomation();

    ComReferences references_;
    Win32Window* window_;
    std::vector<AccessibleNode> nodes_;
    bool stale_ = true;
    MsaaObject* msaa_ = nullptr;
};

}  // namespace zozuz
