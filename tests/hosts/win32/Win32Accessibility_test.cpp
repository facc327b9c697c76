// What screen readers see of the Windows host's windows under Wine: the drawn controls through MSAA
// and UI Automation, a press that reaches the program from the message loop, and the editor's text
// through the text pattern.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include "platform/host/EditorWindow.h"
#include "platform/host/WindowClient.h"
#include "hosts/win32/EditorAutomation.h"
#include "hosts/win32/UiaDeclarations.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/Win32EditorWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "hosts/win32/WindowAutomation.h"

namespace zozuz {
namespace {

class DescribedClient : public WindowClient {
public:
    std::vector<AccessibleNode> accessibleNodes() override { return nodes; }
    void accessibleAction(std::uint32_t id) override { actions.push_back(id); }

    std::vector<AccessibleNode> nodes;
    std::vector<std::uint32_t> actions;
};

AccessibleNode node(std::uint32_t id, std::uint32_t parent, AccessibleRole role, std::string name, Rect bounds,
                    bool enabled = true) {
    AccessibleNode n;
    n.id = id;
    n.parent = parent;
    n.role = role;
    n.name = std::move(name);
    n.bounds = bounds;
    n.enabled = enabled;
    return n;
}

// A text of fixed characters, one code point per offset, laid out in cells of 8 x 16.
class FakeText : public AccessibleText {
public:
    explicit FakeText(std::u32string text) : text_(std::move(text)) {}

    Offset characterCount() override { return static_cast<Offset>(text_.size()); }
    std::string text(Offset start, Offset end) override {
        std::wstring wide;
        for (Offset i = std::max<Offset>(start, 0); i < std::min(end, characterCount()); ++i)
            wide += static_cast<wchar_t>(text_[static_cast<std::size_t>(i)]);
        return fromWide(wide);
    }
    Range lineAt(Offset offset) override {
        Offset start = offset;
        while (start > 0 && text_[static_cast<std::size_t>(start - 1)] != U'\n') --start;
        Offset end = offset;
        while (end < characterCount() && text_[static_cast<std::size_t>(end)] != U'\n') ++end;
        return {start, end};
    }
    Offset caret() override { return caret_; }
    Range selection() override { return {std::min(anchor_, caret_), std::max(anchor_, caret_)}; }
    void setSelection(Offset anchor, Offset caret) override {
        anchor_ = anchor;
        caret_ = caret;
    }
    Rect characterBounds(Offset offset) override {
        int line = 0;
        const Offset start = lineAt(offset).start;
        for (Offset i = 0; i < start; ++i) line += text_[static_cast<std::size_t>(i)] == U'\n';
        const int column = static_cast<int>(offset - start);
        return Rect{column * 8, line * 16, column * 8 + 8, line * 16 + 16};
    }
    Offset offsetAt(Point) override { return -1; }
    bool replace(Offset, Offset, std::string_view) override { return false; }
    bool readOnly() override { return false; }

private:
    std::u32string text_;
    Offset anchor_ = 0;
    Offset caret_ = 0;
};

class TextClient : public EditorWindowClient {
public:
    AccessibleText* accessibleText() override { return &text; }
    FakeText text{U"abc 中文\nsecond line\nend"};
};

WindowOptions options() {
    WindowOptions o;
    o.caption = "zozuz 加密";
    o.bounds = Rect{100, 100, 600, 400};
    return o;
}

bool pumpUntil(Win32Host& host, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (host.pumpOne() == Host::PumpResult::Empty) Sleep(5);
    }
    return true;
}

std::string text(BSTR value) {
    std::string result = value ? fromWide(std::wstring(value, SysStringLen(value))) : std::string();
    SysFreeString(value);
    return result;
}

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

IAccessible* clientObject(HWND window) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    return object;
}

struct Seen {
    long msaaRole;
    CONTROLTYPEID controlType;
    std::string name;
    bool enabled;
    bool operator==(const Seen&) const = default;
};

[[maybe_unused]] std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << "{" << s.msaaRole << ", " << s.controlType << ", " << s.name << ", " << s.enabled << "}";
}

// Walks the UI Automation fragment tree depth first, as a reader reads it.
void walk(IRawElementProviderFragment* element, std::vector<Seen>& seen, std::vector<IRawElementProviderFragment*>& all) {
    while (element) {
        auto* simple = static_cast<IRawElementProviderSimple*>(nullptr);
        element->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(&simple));
        VARIANT type, name, enabled;
        simple->GetPropertyValue(UIA_ControlTypePropertyId, &type);
        simple->GetPropertyValue(UIA_NamePropertyId, &name);
        simple->GetPropertyValue(UIA_IsEnabledPropertyId, &enabled);
        seen.push_back({0, type.lVal, text(name.bstrVal), enabled.boolVal == VARIANT_TRUE});
        simple->Release();
        all.push_back(element);
        IRawElementProviderFragment* first = nullptr;
        element->Navigate(NavigateDirection_FirstChild, &first);
        walk(first, seen, all);
        IRawElementProviderFragment* next = nullptr;
        element->Navigate(NavigateDirection_NextSibling, &next);
        element = next;
    }
}

TEST(Win32Accessibility, DrawnControlsReadBackThroughMsaaAndUiAutomation) {
    Win32Host host;
    DescribedClient client;
    client.nodes = {
        node(1, 0, AccessibleRole::ToolBar, "", Rect{0, 0, 200, 24}),
        node(2, 1, AccessibleRole::PushButton, "加密", Rect{2, 2, 24, 22}),
        node(3, 1, AccessibleRole::PushButton, "解密", Rect{26, 2, 48, 22}, false),
        node(4, 0, AccessibleRole::StatusBar, "", Rect{0, 200, 300, 220}),
        node(5, 4, AccessibleRole::ProgressBar, "进度", Rect{200, 202, 290, 218}),
        node(6, 0, AccessibleRole::Label, "版本 1.0", Rect{10, 40, 100, 60}),
        node(7, 0, AccessibleRole::Image, "图标", Rect{10, 70, 42, 102}),
    };
    client.nodes[3].text = "就绪";
    client.nodes[4].maximum = 100;
    client.nodes[4].value = 30;
    auto window = host.createWindow(client, options());
    window->show();
    const HWND handle = static_cast<Win32Window&>(*window).handle();

    const std::vector<Seen> expected = {
        {ROLE_SYSTEM_TOOLBAR, uia::kToolBar, "", true},
        {ROLE_SYSTEM_PUSHBUTTON, uia::kButton, "加密", true},
        {ROLE_SYSTEM_PUSHBUTTON, uia::kButton, "解密", false},
        // A status bar is named by what it shows.
        {ROLE_SYSTEM_STATUSBAR, uia::kStatusBar, "就绪", true},
        {ROLE_SYSTEM_PROGRESSBAR, uia::kProgressBar, "进度", true},
        {ROLE_SYSTEM_STATICTEXT, uia::kText, "版本 1.0", true},
        {ROLE_SYSTEM_GRAPHIC, uia::kImage, "图标", true},
    };

    // MSAA, as a client in another program asks.
    IAccessible* msaa = clientObject(handle);
    ASSERT_NE(msaa, nullptr);
    BSTR title = nullptr;
    msaa->get_accName(child(CHILDID_SELF), &title);
    EXPECT_EQ(text(title), "zozuz 加密");
    long count = 0;
    msaa->get_accChildCount(&count);
    ASSERT_EQ(count, 7);
    for (long i = 1; i <= count; ++i) {
        VARIANT role, state;
        BSTR name = nullptr;
        msaa->get_accRole(child(i), &role);
        msaa->get_accState(child(i), &state);
        msaa->get_accName(child(i), &name);
        const Seen& want = expected[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(role.lVal, want.msaaRole) << i;
        EXPECT_EQ(text(name), want.name) << i;
        EXPECT_EQ((state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0, want.enabled) << i;
    }
    BSTR gauge = nullptr;
    msaa->get_accValue(child(5), &gauge);
    EXPECT_EQ(text(gauge), "30");

    // UI Automation: the window's fragment tree, read in the same order. (Wine's client side,
    // asked from the window's own thread, waits on that thread and never answers.)
    WindowAutomation& root = static_cast<Win32Window&>(*window).automation();
    IRawElementProviderFragment* first = nullptr;
    root.Navigate(NavigateDirection_FirstChild, &first);
    std::vector<Seen> seen;
    std::vector<IRawElementProviderFragment*> elements;
    walk(first, seen, elements);
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].controlType, expected[i].controlType) << i;
        EXPECT_EQ(seen[i].name, expected[i].name) << i;
        EXPECT_EQ(seen[i].enabled, expected[i].enabled) << i;
    }
    // A button lies where the window shows it, in the screen's pixels; the gauge reads its value.
    UiaRect bounds{};
    elements[1]->get_BoundingRectangle(&bounds);
    POINT corner{2, 2};
    ClientToScreen(handle, &corner);
    EXPECT_EQ(bounds.left, corner.x);
    EXPECT_EQ(bounds.top, corner.y);
    EXPECT_EQ(bounds.width, 22);
    auto* gaugeElement = static_cast<IRawElementProviderSimple*>(nullptr);
    elements[4]->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(&gaugeElement));
    IUnknown* pattern = nullptr;
    gaugeElement->GetPatternProvider(UIA_RangeValuePatternId, &pattern);
    ASSERT_NE(pattern, nullptr);
    double value = 0, maximum = 0;
    static_cast<IRangeValueProvider*>(pattern)->get_Value(&value);
    static_cast<IRangeValueProvider*>(pattern)->get_Maximum(&maximum);
    EXPECT_EQ(value, 30);
    EXPECT_EQ(maximum, 100);
    pattern->Release();
    gaugeElement->Release();

    // After the program reports a change, readers see the new state.
    client.nodes[2].enabled = true;
    window->accessibleChanged(AccessibleEvent::StateChanged, 3);
    VARIANT state;
    msaa->get_accState(child(3), &state);
    EXPECT_EQ(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);

    for (IRawElementProviderFragment* element : elements) element->Release();
    msaa->Release();
}

TEST(Win32Accessibility, PressesReachTheProgramFromTheMessageLoopAndOnlyForEnabledButtons) {
    Win32Host host;
    DescribedClient client;
    client.nodes = {node(1, 0, AccessibleRole::PushButton, "加密", Rect{0, 0, 20, 20}),
                    node(2, 0, AccessibleRole::PushButton, "解密", Rect{20, 0, 40, 20}, false)};
    auto window = host.createWindow(client, options());
    window->show();
    WindowAutomation& root = static_cast<Win32Window&>(*window).automation();

    IRawElementProviderFragment* button = root.element(1);
    IUnknown* pattern = nullptr;
    IRawElementProviderSimple* simple = nullptr;
    button->QueryInterface(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(&simple));
    simple->GetPatternProvider(UIA_InvokePatternId, &pattern);
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(static_cast<IInvokeProvider*>(pattern)->Invoke(), S_OK);
    // The reader's call returns before the press runs: a press that opens a box must not hold it.
    EXPECT_TRUE(client.actions.empty());
    ASSERT_TRUE(pumpUntil(host, [&] { return client.actions.size() == 1; }));
    EXPECT_EQ(client.actions[0], 1u);

    IAccessible* msaa = clientObject(static_cast<Win32Window&>(*window).handle());
    ASSERT_NE(msaa, nullptr);
    EXPECT_EQ(msaa->accDoDefaultAction(child(1)), S_OK);
    EXPECT_NE(msaa->accDoDefaultAction(child(2)), S_OK);
    ASSERT_TRUE(pumpUntil(host, [&] { return client.actions.size() == 2; }));
    for (int i = 0; i < 20; ++i) host.pumpOne();
    EXPECT_EQ(client.actions, (std::vector<std::uint32_t>{1, 1}));

    msaa->Release();
    pattern->Release();
    simple->Release();
    button->Release();
}

TEST(Win32Accessibility, EditorTextReadsByCharactersWordsAndLinesThroughTheTextPattern) {
    Win32Host host;
    DescribedClient windowClient;
    TextClient client;
    auto window = host.createWindow(windowClient, options());
    auto editor = host.createEditorWindow(*window, client);
    editor->setBounds(Rect{0, 0, 300, 200});
    window->show();
    auto& win32Editor = static_cast<Win32EditorWindow&>(*editor);
    EditorAutomation& automation = win32Editor.automation();

    IUnknown* pattern = nullptr;
    automation.GetPatternProvider(UIA_TextPatternId, &pattern);
    ASSERT_NE(pattern, nullptr);
    auto* textPattern = static_cast<ITextProvider*>(pattern);
    ITextRangeProvider* document = nullptr;
    textPattern->get_DocumentRange(&document);
    BSTR all = nullptr;
    document->GetText(-1, &all);
    EXPECT_EQ(text(all), "abc 中文\nsecond line\nend");
    BSTR piece = nullptr;
    document->GetText(5, &piece);
    EXPECT_EQ(text(piece), "abc 中");

    // A caret in the middle of the first line, moved and expanded as readers do.
    client.text.setSelection(5, 5);
    SAFEARRAY* selection = nullptr;
    textPattern->GetSelection(&selection);
    ITextRangeProvider* caret = nullptr;
    LONG index = 0;
    SafeArrayGetElement(selection, &index, &caret);
    SafeArrayDestroy(selection);
    ASSERT_NE(caret, nullptr);

    struct Step {
        const char* what;
        std::function<void(ITextRangeProvider*)> act;
        std::string text;
    };
    int moved = 0;
    const std::vector<Step> steps = {
        {"expand to the character", [](ITextRangeProvider* r) { r->ExpandToEnclosingUnit(uia::Character); }, "文"},
        {"expand to the word", [](ITextRangeProvider* r) { r->ExpandToEnclosingUnit(uia::Word); }, "文"},
        {"expand to the line, break included", [](ITextRangeProvider* r) { r->ExpandToEnclosingUnit(uia::Line); },
         "abc 中文\n"},
        {"next line", [&](ITextRangeProvider* r) { r->Move(uia::Line, 1, &moved); }, "second line\n"},
        {"first word of it", [](ITextRangeProvider* r) { r->ExpandToEnclosingUnit(uia::Word); }, "second "},
        {"next word", [&](ITextRangeProvider* r) { r->Move(uia::Word, 1, &moved); }, "line"},
        {"last line, which has no break", [&](ITextRangeProvider* r) { r->Move(uia::Line, 5, &moved); }, "end"},
        {"end drawn back a character",
         [&](ITextRangeProvider* r) { r->MoveEndpointByUnit(uia::End, uia::Character, -1, &moved); }, "en"},
        {"start moved past the end collapses it",
         [&](ITextRangeProvider* r) { r->MoveEndpointByUnit(uia::Start, uia::Character, 5, &moved); }, ""},
        {"back to the first line", [&](ITextRangeProvider* r) { r->Move(uia::Paragraph, -2, &moved); }, ""},
        {"its words", [](ITextRangeProvider* r) { r->ExpandToEnclosingUnit(uia::Word); }, "abc "},
    };
    std::vector<int> moves;
    for (const Step& step : steps) {
        moved = 0;
        step.act(caret);
        BSTR value = nullptr;
        caret->GetText(-1, &value);
        EXPECT_EQ(text(value), step.text) << step.what;
        moves.push_back(moved);
    }
    // Moves report what they did: a line forward, a word, the one line left, one character back,
    // three characters to the end (not five), two lines back.
    EXPECT_EQ(moves, (std::vector<int>{0, 0, 0, 1, 0, 1, 1, -1, 3, -2, 0}));

    // Selecting a range selects it in the editor.
    document->ExpandToEnclosingUnit(uia::Line);
    EXPECT_EQ(document->Select(), S_OK);
    EXPECT_EQ(client.text.selection(), (AccessibleText::Range{0, 7}));

    // MSAA clients read the caret's line as the value.
    client.text.setSelection(12, 12);
    IAccessible* msaa = clientObject(win32Editor.handle());
    ASSERT_NE(msaa, nullptr);
    BSTR line = nullptr;
    msaa->get_accValue(child(CHILDID_SELF), &line);
    EXPECT_EQ(text(line), "second line");
    VARIANT role;
    msaa->get_accRole(child(CHILDID_SELF), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);

    msaa->Release();
    caret->Release();
    document->Release();
    pattern->Release();
}

}  // namespace
}  // namespace zozuz
