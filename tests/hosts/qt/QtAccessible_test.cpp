// Screen readers' view of the Qt host on Qt's offscreen platform, through Qt's accessibility as a
// screen reader's bridge sees it: the window and its drawn controls (roles, names, states, order,
// the press action, identity across list refreshes) and the editor's text read a piece at a time.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QString>
#include <gtest/gtest.h>

#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtEditorWidget.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"
#include "platform/host/AccessibleText.h"
#include "platform/host/EditorWindow.h"
#include "platform/host/WindowClient.h"

namespace zozuz {
namespace {

class NodesClient : public WindowClient {
public:
    std::vector<AccessibleNode> accessibleNodes() override {
        ++reads;
        return nodes;
    }
    void accessibleAction(std::uint32_t id) override { actions.push_back(id); }

    std::vector<AccessibleNode> nodes;
    std::vector<std::uint32_t> actions;
    int reads = 0;
};

// A text of BMP characters with one offset each, its characters 10 pixels wide on 16-pixel lines.
class FakeText : public AccessibleText {
public:
    explicit FakeText(const QString& content) : content_(content) {}

    Offset characterCount() override { return content_.size(); }
    std::string text(Offset start, Offset end) override {
        start = std::clamp<Offset>(start, 0, content_.size());
        end = std::clamp<Offset>(end, start, content_.size());
        longestRead = std::max(longestRead, end - start);
        return content_.mid(start, end - start).toStdString();
    }
    Range lineAt(Offset offset) override {
        const Offset start = offset == 0 ? 0 : content_.lastIndexOf(QChar('\n'), offset - 1) + 1;
        const Offset end = content_.indexOf(QChar('\n'), offset);
        return {start, end < 0 ? content_.size() : end};
    }
    Offset caret() override { return caret_; }
    Range selection() override { return {std::min(anchor_, caret_), std::max(anchor_, caret_)}; }
    void setSelection(Offset anchor, Offset caret) override {
        anchor_ = anchor;
        caret_ = caret;
    }
    Rect characterBounds(Offset offset) override { return {int(offset) * 10, 0, int(offset) * 10 + 10, 16}; }
    Offset offsetAt(Point point) override { return point.x / 10; }
    bool replace(Offset start, Offset end, std::string_view utf8) override {
        if (readOnly_) return false;
        content_.replace(start, end - start, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        return true;
    }
    bool readOnly() override { return readOnly_; }

    QString content_;
    Offset caret_ = 0;
    Offset anchor_ = 0;
    bool readOnly_ = false;
    Offset longestRead = 0;
};

class TextClient : public EditorWindowClient {
public:
    AccessibleText* accessibleText() override { return &text; }
    FakeText text{QStringLiteral("abc 中文. Two\nxyz")};
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

class QtAccessibleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtAccessible_test";
        static char* argv[] = {name, nullptr};
        host_ = new QtHost(argc, argv);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    void SetUp() override {
        client_.nodes = {node(1, 0, AccessibleRole::ToolBar, "", {0, 0, 300, 28}),
                         node(2, 1, AccessibleRole::PushButton, "加密", {2, 2, 26, 26}),
                         node(3, 1, AccessibleRole::PushButton, "解密", {28, 2, 52, 26}, false),
                         node(4, 0, AccessibleRole::StatusBar, "", {0, 280, 300, 300}),
                         node(5, 4, AccessibleRole::ProgressBar, "", {200, 282, 298, 298}),
                         node(6, 0, AccessibleRole::Image, "", {0, 28, 300, 30})};
        client_.nodes[3].text = "就绪";
        client_.nodes[4].value = 40;
        client_.nodes[4].maximum = 100;
        WindowOptions options;
        options.caption = "zozuz";
        options.bounds = {40, 30, 440, 360};
        window_ = host_->createWindow(client_, options);
        editor_ = host_->createEditorWindow(*window_, editorClient_);
        editor_->setBounds({0, 30, 300, 270});
        window_->show();
    }
    void TearDown() override {
        editor_.reset();
        window_.reset();
    }

    void pumpFor(std::chrono::milliseconds time) {
        const auto deadline = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < deadline)
            if (host_->pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    QAccessibleInterface* top() {
        return QAccessible::queryAccessibleInterface(&static_cast<QtWindow&>(*window_).widget());
    }
    QAccessibleTextInterface* text() {
        auto& widget = static_cast<QtEditorWindow&>(*editor_).widget();
        return QAccessible::queryAccessibleInterface(&widget)->textInterface();
    }

    static inline QtHost* host_ = nullptr;
    NodesClient client_;
    TextClient editorClient_;
    std::unique_ptr<NativeWindow> window_;
    std::unique_ptr<EditorWindow> editor_;
};

TEST_F(QtAccessibleTest, WindowAndDrawnControlsReadFromTheTopDownWithRolesNamesAndStates) {
    QAccessibleInterface* window = top();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("zozuz"));

    struct Row {
        std::vector<int> path;  // child indices from the window
        QAccessible::Role role;
        const char* name;
        bool disabled;
        int children;
    };
    const Row rows[] = {
        {{0}, QAccessible::ToolBar, "", false, 2},
        {{0, 0}, QAccessible::Button, "加密", false, 0},
        {{0, 1}, QAccessible::Button, "解密", true, 0},
        {{1}, QAccessible::Graphic, "", false, 0},
        {{2}, QAccessible::EditableText, "", false, 0},
        {{3}, QAccessible::StatusBar, "就绪", false, 1},
        {{3, 0}, QAccessible::ProgressBar, "", false, 0},
    };
    EXPECT_EQ(window->childCount(), 4);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QAccessibleInterface* at = window;
        for (const int index : row.path) {
            QAccessibleInterface* child = at->child(index);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(child->parent(), at);
            EXPECT_EQ(at->indexOfChild(child), index);
            at = child;
        }
        EXPECT_EQ(at->role(), row.role);
        EXPECT_EQ(at->text(QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_EQ(at->state().disabled, row.disabled);
        EXPECT_EQ(at->childCount(), row.children);
        if (row.role != QAccessible::EditableText) {
            EXPECT_EQ(at->actionInterface() != nullptr, row.role == QAccessible::Button);
        }
    }
    // The status line says its text under each name; the gauge gives its value and range.
    QAccessibleInterface* status = window->child(3);
    EXPECT_EQ(status->text(QAccessible::Description), QStringLiteral("就绪"));
    EXPECT_EQ(status->text(QAccessible::Value), QStringLiteral("就绪"));
    QAccessibleValueInterface* gauge = status->child(0)->valueInterface();
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->currentValue().toInt(), 40);
    EXPECT_EQ(gauge->maximumValue().toInt(), 100);
    // Bounds are on the screen, below the window's client origin.
    QAccessibleInterface* encrypt = window->child(0)->child(0);
    EXPECT_EQ(encrypt->rect().size(), QSize(24, 24));
    EXPECT_EQ(window->childAt(encrypt->rect().center().x(), encrypt->rect().center().y()), window->child(0));
    EXPECT_EQ(window->child(0)->childAt(encrypt->rect().center().x(), encrypt->rect().center().y()), encrypt);
}

TEST_F(QtAccessibleTest, PressRunsOnceTheCallReturnedAndControlsKeepTheirObjectAcrossRefreshes) {
    QAccessibleInterface* toolbar = top()->child(0);
    QAccessibleInterface* encrypt = toolbar->child(0);
    QAccessibleInterface* decrypt = toolbar->child(1);
    ASSERT_EQ(encrypt->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    encrypt->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(client_.actions.empty());
    decrypt->actionInterface()->doAction(QAccessibleActionInterface::pressAction());  // disabled
    pumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(client_.actions, std::vector<std::uint32_t>{2});

    // The buttons swap and one goes: the one still listed is the same object, the other is gone.
    const QAccessible::Id encryptId = QAccessible::uniqueId(encrypt);
    const QAccessible::Id decryptId = QAccessible::uniqueId(decrypt);
    client_.nodes[1].enabled = false;
    client_.nodes.erase(client_.nodes.begin() + 2);
    window_->accessibleChanged(AccessibleEvent::Structure, 0);
    EXPECT_EQ(toolbar->childCount(), 1);
    EXPECT_EQ(toolbar->child(0), encrypt);
    EXPECT_TRUE(encrypt->state().disabled);
    EXPECT_EQ(QAccessible::accessibleInterface(encryptId), encrypt);
    EXPECT_EQ(QAccessible::accessibleInterface(decryptId), nullptr);
    // The list is read once per change, not once per question.
    const int reads = client_.reads;
    (void)toolbar->child(0)->text(QAccessible::Name);
    (void)top()->childCount();
    EXPECT_EQ(client_.reads, reads);
}

TEST_F(QtAccessibleTest, EditorTextReadsInPiecesWithinTheLine) {
    QAccessibleInterface* editor = top()->child(2);
    ASSERT_EQ(editor->role(), QAccessible::EditableText);
    EXPECT_TRUE(editor->state().editable);
    EXPECT_TRUE(editor->state().multiLine);
    EXPECT_FALSE(editor->state().readOnly);
    QAccessibleTextInterface* t = text();
    ASSERT_NE(t, nullptr);
    // "abc 中文. Two\nxyz": the first line is offsets 0..10, its break 11, the second line 12..14.
    EXPECT_EQ(t->characterCount(), 15);
    EXPECT_EQ(t->text(-3, 99), QStringLiteral("abc 中文. Two\nxyz"));
    EXPECT_EQ(t->text(4, 6), QStringLiteral("中文"));

    struct Row {
        const char* what;
        int offset;
        QAccessible::TextBoundaryType boundary;
        int which;  // -1 before, 0 at, 1 after
        const char* expected;
        int start;
        int end;
    };
    const Row rows[] = {
        {"char", 4, QAccessible::CharBoundary, 0, "中", 4, 5},
        {"char past the end clamps", 99, QAccessible::CharBoundary, 0, "", 15, 15},
        {"word", 1, QAccessible::WordBoundary, 0, "abc", 0, 3},
        {"word before", 4, QAccessible::WordBoundary, -1, " ", 3, 4},
        {"word after the last of a line is its break", 10, QAccessible::WordBoundary, 1, "\n", 11, 12},
        {"word on the next line", 11, QAccessible::WordBoundary, 1, "xyz", 12, 15},
        {"sentence", 2, QAccessible::SentenceBoundary, 0, "abc 中文. ", 0, 8},
        {"line with its break", 5, QAccessible::LineBoundary, 0, "abc 中文. Two\n", 0, 12},
        {"line from its break", 11, QAccessible::LineBoundary, 0, "abc 中文. Two\n", 0, 12},
        {"last line", 0, QAccessible::LineBoundary, 1, "xyz", 12, 15},
        {"no line before the first", 3, QAccessible::LineBoundary, -1, "", -1, -1},
        {"paragraph", 14, QAccessible::ParagraphBoundary, -1, "abc 中文. Two\n", 0, 12},
    };
    editorClient_.text.longestRead = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        int start = -7;
        int end = -7;
        const QString piece = row.which < 0   ? t->textBeforeOffset(row.offset, row.boundary, &start, &end)
                              : row.which > 0 ? t->textAfterOffset(row.offset, row.boundary, &start, &end)
                                              : t->textAtOffset(row.offset, row.boundary, &start, &end);
        EXPECT_EQ(piece, QString::fromUtf8(row.expected));
        EXPECT_EQ(start, row.start);
        EXPECT_EQ(end, row.end);
    }
    // Words and sentences never read past their line.
    EXPECT_LE(editorClient_.text.longestRead, 12);

    // Caret, selection, places, and typing through the editable text.
    t->setSelection(0, 5, 2);
    EXPECT_EQ(t->cursorPosition(), 2);
    int start = 0;
    int end = 0;
    t->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(2, 5));
    EXPECT_EQ(t->selectionCount(), 1);
    t->removeSelection(0);
    EXPECT_EQ(t->selectionCount(), 0);
    const QRect third = t->characterRect(3);
    EXPECT_EQ(third.size(), QSize(10, 16));
    EXPECT_EQ(t->offsetAtPoint(third.center()), 3);
    editor->editableTextInterface()->replaceText(4, 6, QStringLiteral("中国"));
    editor->editableTextInterface()->insertText(0, QStringLiteral(">"));
    EXPECT_EQ(editorClient_.text.content_, QStringLiteral(">abc 中国. Two\nxyz"));
    editorClient_.text.readOnly_ = true;
    EXPECT_TRUE(editor->state().readOnly);
    EXPECT_FALSE(editor->state().editable);
}

}  // namespace
}  // namespace zozuz
