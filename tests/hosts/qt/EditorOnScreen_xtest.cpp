// The editor on a real X server under openbox, driven through the X server as a user would: text
// typed with xdotool (Chinese included) reaches the document as GBK, a selection made with the
// keyboard and copied is read back from the desktop's clipboard with xclip, and text that xclip puts
// on the clipboard is pasted with CR LF line breaks and copied back unchanged.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "editor/EditorPane.h"
#include "platform/host/Host.h"
#include "hosts/qt/QtClipboard.h"
#include "hosts/qt/QtHost.h"

namespace zozuz {
namespace {

class PlainClient : public WindowClient {};

class EditorOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display (run under run_in_x_session.sh)";
        if (std::system("command -v xdotool >/dev/null 2>&1 && command -v xclip >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xdotool or xclip is missing";
        // xdotool drops characters it has to remap keys for while typing into a Qt window; with a
        // keycode of their own for the Chinese characters typed here, it needs no remapping.
        ASSERT_EQ(std::system("xmodmap -e 'keycode 250 = U4E2D' -e 'keycode 251 = U6587'"), 0);
        static int argc = 1;
        static char name[] = "EditorOnScreen_xtest";
        static char* argv[] = {name, nullptr};
        host_ = std::make_unique<QtHost>(argc, argv);
        WindowOptions options;
        options.caption = "editor";
        options.bounds = {100, 100, 600, 400};
        window_ = host_->createWindow(client_, options);
        pane_ = std::make_unique<EditorPane>(*host_, *window_, edit_);
        pane_->window().setBounds({0, 0, 480, 260});
        window_->show();
        window_->activate();
        ASSERT_TRUE(pumpUntil([&] { return host_->activeWindow() == window_.get(); }));
        pane_->window().setFocus();
        ASSERT_TRUE(pumpUntil([&] { return pane_->window().hasFocus(); }));
        dir_ = testing::TempDir();
    }
    void TearDown() override {
        pane_.reset();
        window_.reset();
        host_.reset();
    }

    bool pumpUntil(const std::function<bool()>& done, int seconds = 15) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (host_->pumpOne() == Host::PumpResult::Empty) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Runs a shell command in the background while the event loop goes on (the program has to
    // answer the X server and the clipboard's other side meanwhile), and waits for it to end.
    bool runWhilePumping(const std::string& command) {
        const std::string done = dir_ + "/command.done";
        std::remove(done.c_str());
        const std::string line = "(" + command + "; echo $? > " + done + ") >/dev/null 2>&1 &";
        if (std::system(line.c_str()) != 0) return false;
        bool finished = pumpUntil([&] { return std::ifstream(done).good(); });
        // Let the last events the command caused arrive.
        for (int i = 0; i < 20; ++i) {
            host_->pumpOne();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(done);
        int status = -1;
        in >> status;
        return finished && status == 0;
    }

    std::string desktopClipboard() {
        const std::string out = dir_ + "/clipboard.txt";
        if (!runWhilePumping("timeout 10 xclip -o -selection clipboard > " + out)) return "<xclip failed>";
        std::ifstream in(out, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Starts another client that owns the clipboard (ClipboardOwner.cpp) and waits until it does;
    // its process id, or 0.
    int startOwner(const std::string& mode, const std::string& text) {
        const std::string out = dir_ + "/owner-" + mode + ".txt";
        std::remove(out.c_str());
        const std::string line = std::string(ZOZUZ_CLIPBOARD_OWNER) + " " + mode + " '" + text + "' >" + out + " 2>&1 & echo $!";
        const std::unique_ptr<FILE, decltype(&pclose)> shell(popen(line.c_str(), "r"), &pclose);
        int pid = 0;
        if (!shell || std::fscanf(shell.get(), "%d", &pid) != 1) return 0;
        const bool owns = pumpUntil([&] {
            std::ifstream in(out);
            std::string word;
            return in >> word && word == "owner";
        }, 5);
        return owns ? pid : 0;
    }

    std::unique_ptr<QtHost> host_;
    PlainClient client_;
    std::unique_ptr<NativeWindow> window_;
    EditControl edit_;
    std::unique_ptr<EditorPane> pane_;
    std::string dir_;
};

TEST_F(EditorOnScreen, TypedTextSelectedCopiedAndPastedThroughTheDesktop) {
    // Tab and Ctrl+Tab type nothing and leave the focus in the editor.
    ASSERT_TRUE(runWhilePumping("xdotool key --delay 40 Tab ctrl+Tab && xdotool type --delay 40 'hello 中文'"));
    ASSERT_TRUE(pumpUntil([&] { return edit_.textLength() >= 10; }, 5));
    EXPECT_EQ(edit_.text(), "hello \xD6\xD0\xCE\xC4");

    ASSERT_TRUE(runWhilePumping("xdotool key --delay 40 shift+Left shift+Left"));
    EXPECT_EQ(edit_.selectionStart(), 6);
    EXPECT_EQ(edit_.selectionEnd(), 10);
    ASSERT_TRUE(runWhilePumping("xdotool key ctrl+Insert"));
    EXPECT_EQ(desktopClipboard(), "中文");

    ASSERT_TRUE(runWhilePumping("printf '粘贴\\nline' | xclip -selection clipboard"));
    ASSERT_TRUE(runWhilePumping("xdotool key --delay 40 End shift+Insert"));
    ASSERT_TRUE(pumpUntil([&] { return edit_.textLength() > 10; }, 5));
    EXPECT_EQ(edit_.text(), "hello \xD6\xD0\xCE\xC4\xD5\xB3\xCC\xF9\r\nline");

    ASSERT_TRUE(runWhilePumping("xdotool key --delay 40 ctrl+a ctrl+Insert"));
    EXPECT_EQ(desktopClipboard(), "hello 中文粘贴\nline");

    // A picture for whoever looks at the editor: invalid bytes as boxes, a selection.
    if (const char* shot = std::getenv("ZOZUZ_SCREENSHOT")) {
        edit_.setText(std::string("GBK \xD6\xD0\xCE\xC4 and bytes: ") + '\0' + "\x80\xFF\x81\r\n\t\xCB\xCE\xCC\xE5 16px\r\nlone\rCR");
        pane_->view().select(4, 8);
        runWhilePumping(std::string("import -window root ") + shot);
    }
}

// Another program lists the program's own format beside its text and then fails to deliver the
// bytes: the paste takes the text, after a short wait for one that never answers. An owner that
// stops answering altogether costs the paste, never the selection. Nothing waits anywhere near Qt's
// own five seconds a question.
TEST_F(EditorOnScreen, PasteTakesTheTextWhenTheOwnerWithholdsTheExactBytes) {
    using Clock = std::chrono::steady_clock;
    EditView& view = pane_->view();
    const auto timedPaste = [&](bool& pasted) {
        edit_.setText("[keep]");
        view.select(1, 5);
        const auto start = Clock::now();
        pasted = view.paste();
        return Clock::now() - start;
    };
    bool pasted = false;

    const int refusing = startOwner("refuse", "粘贴");
    ASSERT_NE(refusing, 0);
    EXPECT_LT(timedPaste(pasted), QtClipboard::kPatience);
    EXPECT_TRUE(pasted);
    EXPECT_EQ(edit_.text(), "[\xD5\xB3\xCC\xF9]");

    const int silent = startOwner("silent", "x");
    ASSERT_NE(silent, 0);
    auto waited = timedPaste(pasted);
    EXPECT_GE(waited, QtClipboard::kPatience);
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_TRUE(pasted);
    EXPECT_EQ(edit_.text(), "[x]");

    ASSERT_EQ(std::system(("kill -STOP " + std::to_string(silent)).c_str()), 0);
    waited = timedPaste(pasted);
    std::system(("kill -CONT " + std::to_string(silent) + "; kill " + std::to_string(silent)).c_str());
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_FALSE(pasted);
    EXPECT_EQ(edit_.text(), "[keep]");
    EXPECT_EQ(edit_.selectionStart(), 1);
    EXPECT_EQ(edit_.selectionEnd(), 5);

    // An owner stopped before anyone asked it what it offers: the idle step's question waits once,
    // briefly, and the next ones (for a while) not at all.
    const int stopped = startOwner("refuse", "y");
    ASSERT_NE(stopped, 0);
    ASSERT_EQ(std::system(("kill -STOP " + std::to_string(stopped)).c_str()), 0);
    auto start = Clock::now();
    EXPECT_FALSE(host_->clipboard().hasText());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    start = Clock::now();
    EXPECT_FALSE(host_->clipboard().hasText());
    EXPECT_FALSE(view.paste());
    EXPECT_LT(Clock::now() - start, QtClipboard::kPatience);
    std::system(("kill -CONT " + std::to_string(stopped) + "; kill " + std::to_string(stopped)).c_str());

    // Text too large for one property arrives in pieces, all of it.
    ASSERT_TRUE(runWhilePumping("head -c 6000000 /dev/zero | tr '\\0' z | xclip -selection clipboard"));
    EXPECT_TRUE(timedPaste(pasted) < std::chrono::seconds(5) && pasted);
    EXPECT_EQ(edit_.text(), "[" + std::string(6000000, 'z') + "]");
}

}  // namespace
}  // namespace zozuz
