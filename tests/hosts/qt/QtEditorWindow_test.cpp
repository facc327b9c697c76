// The editor window of the Qt host on Qt's offscreen platform: the keyboard on the editor once its
// window shows, keys after the window's preview, Tab kept for the text, the input method's events
// and queries, the scroll bars and painting.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QWindow>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "editor/EditorPane.h"
#include "hosts/qt/QtEditorWidget.h"
#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtWindow.h"

namespace zozuz {
namespace {

class PreviewClient : public WindowClient {
public:
    bool keyPreview(const KeyEvent& key) override {
        ++previews;
        return key.virtualKey == vk::F12;  // a shortcut of the window's
    }
    int previews = 0;
};

class QtEditorWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtEditorWindow_test";
        static char* argv[] = {name, nullptr};
        host_ = new QtHost(argc, argv);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    void SetUp() override {
        WindowOptions options;
        options.bounds = {40, 30, 440, 330};
        window_ = host_->createWindow(client_, options);
        pane_ = std::make_unique<EditorPane>(*host_, *window_, edit_);
        pane_->window().setBounds({0, 0, 300, 200});
        window_->show();
        window_->activate();
        pane_->window().setFocus();
        pumpUntil([&] { return pane_->window().hasFocus(); });
    }
    void TearDown() override {
        pane_.reset();
        window_.reset();
    }

    bool pumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (host_->pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    QtEditorWidget& widget() { return static_cast<QtEditorWindow&>(pane_->window()).widget(); }

    void sendKey(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(widget().window()->windowHandle(), &press);
    }

    static inline QtHost* host_ = nullptr;
    PreviewClient client_;
    std::unique_ptr<NativeWindow> window_;
    EditControl edit_;
    std::unique_ptr<EditorPane> pane_;
};

TEST_F(QtEditorWindowTest, KeysPassTheWindowsPreviewAndTabTypesNothingButKeepsTheFocus) {
    ASSERT_TRUE(pane_->window().hasFocus());
    EXPECT_TRUE(pane_->view().focused());
    sendKey(Qt::Key_A, "a");
    sendKey(Qt::Key_Tab, "\t");
    sendKey(Qt::Key_F12);
    sendKey(Qt::Key_Return, "\r");
    EXPECT_EQ(edit_.text(), "a\r\n");
    EXPECT_EQ(client_.previews, 4);
    EXPECT_TRUE(pane_->window().hasFocus());
}

TEST_F(QtEditorWindowTest, InputMethodPreeditAndCommitAndQueries) {
    edit_.setText("ab");
    pane_->view().select(1, 1);
    QInputMethodEvent preedit(QStringLiteral("zhong"), {});
    QCoreApplication::sendEvent(&widget(), &preedit);
    EXPECT_EQ(edit_.text(), "ab");
    EXPECT_EQ(pane_->view().preedit(), "zhong");
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中"));
    QCoreApplication::sendEvent(&widget(), &commit);
    EXPECT_EQ(edit_.text(), "a\xD6\xD0" "b");
    EXPECT_TRUE(pane_->view().preedit().empty());
    EXPECT_TRUE(pane_->view().undo());
    EXPECT_EQ(edit_.text(), "ab");
    pane_->view().select(1, 1);

    EXPECT_TRUE(widget().inputMethodQuery(Qt::ImEnabled).toBool());
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("ab"));
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImAnchorPosition).toInt(), 1);
    // With a selection the anchor is answered apart from the caret, counted the same way.
    edit_.setText("\xD6\xD0" "ab" "\xCE\xC4");
    pane_->view().select(6, 2);
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("中ab文"));
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImAnchorPosition).toInt(), 4);
    pane_->view().select(2, 6);
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
    EXPECT_EQ(widget().inputMethodQuery(Qt::ImAnchorPosition).toInt(), 1);
    edit_.setText("ab");
    pane_->view().select(1, 1);
    const QRect caret = widget().inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint origin = widget().viewport()->mapTo(&widget(), QPoint(0, 0));
    EXPECT_EQ(caret.top(), origin.y());
    EXPECT_GT(caret.left(), origin.x() + EditView::kMargin);
    EXPECT_GE(caret.height(), 16);
}

// As the program does with its main window: the editor is given the keyboard while its window is
// hidden, and has it once the window shows.
TEST_F(QtEditorWindowTest, AnEditorFocusedBeforeItsWindowShowsHasTheKeyboardOnceItShows) {
    PreviewClient client;
    WindowOptions options;
    options.bounds = {60, 50, 460, 350};
    std::unique_ptr<NativeWindow> window = host_->createWindow(client, options);
    EditControl edit;
    EditorPane pane(*host_, *window, edit);
    pane.window().setBounds({0, 0, 300, 200});
    pane.window().setFocus();
    window->show();
    window->activate();
    EXPECT_TRUE(pumpUntil([&] { return pane.window().hasFocus(); }));
    EXPECT_TRUE(pane.view().focused());
}

TEST_F(QtEditorWindowTest, ScrollBarsFollowTheViewAndTheUsersMovesScrollIt) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line\r\n";
    edit_.setText(text);
    QScrollBar* bar = widget().verticalScrollBar();
    EXPECT_TRUE(bar->isVisible() || bar->isVisibleTo(&widget()));
    EXPECT_EQ(bar->maximum(), 200 - static_cast<int>(pane_->view().visibleRows()) + 1);
    bar->setValue(50);
    EXPECT_EQ(pane_->view().topLine(), 50);
    pane_->view().scrollToLine(10);
    EXPECT_EQ(bar->value(), 10);
}

TEST_F(QtEditorWindowTest, PaintsTheTextInTheEditorsFont) {
    edit_.setText("\xD6\xD0\xCE\xC4 text");
    const QImage image = widget().viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 30);
}

}  // namespace
}  // namespace zozuz
