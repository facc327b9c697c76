#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

class ErrorForm : public TForm {
public:
    explicit ErrorForm(TApplication& application) : TForm(application) { SetBounds(0, 0, 200, 100); }
    // The next paint fails once with this message, when it is not empty.
    std::string paintError;
    int paints = 0;

protected:
    void PaintWindow(Surface& surface, const Rect& area) override {
        ++paints;
        if (!paintError.empty()) throw EInvalidOperation(std::exchange(paintError, {}));
        TForm::PaintWindow(surface, area);
    }
};

class ApplicationErrorsTest : public ::testing::Test {
protected:
    // The title is derived when the application object is made, so the path is set before that.
    static HeadlessHost& named(HeadlessHost& host) {
        host.setExecutablePath("/opt/bin/MyEditor.exe");
        return host;
    }

    // Runs the program with a main window whose shortcut check raises `error` once.
    template <class Error>
    void raiseFromAHandler(const Error& error) {
        app.CreateForm(main);
        mainNative = main->Native();
        bool raised = false;
        main->OnShortCut = [&](const KeyEvent&) -> bool {
            if (raised) return false;
            raised = true;
            throw error;
        };
        host.whenIdle([&] { host.postKeyPress(*main->Native(), 'X'); });
        host.whenIdle([&] { host.postCloseRequest(*main->Native()); });
        exitCode = app.Execute([&] { app.Run(); });
    }

    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.messageBoxes()) texts.push_back(box.request.text);
        return texts;
    }

    HeadlessHost host;
    TApplication app{named(host)};
    ErrorForm* main = nullptr;
    // Execute destroys the windows at its end; what tests compare against afterwards is kept here.
    NativeWindow* mainNative = nullptr;
    int exitCode = -1;
};

struct PeriodCase {
    std::string message;
    std::string shown;
};

class ErrorPeriodTest : public ApplicationErrorsTest, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(ErrorPeriodTest, TheBoxAddsAPeriodOnlyAfterCharactersAboveTheFullStop) {
    raiseFromAHandler(EInvalidOperation(GetParam().message));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{GetParam().shown});
    EXPECT_EQ(exitCode, 0) << "the program goes on after the error box";
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorPeriodTest,
                         ::testing::Values(PeriodCase{"Done.", "Done."}, PeriodCase{"(file)", "(file)"},
                                           PeriodCase{"Stop!", "Stop!"}, PeriodCase{"Trailing ", "Trailing "},
                                           PeriodCase{"Why?", "Why?."}, PeriodCase{"Line 42", "Line 42."},
                                           PeriodCase{"Cannot open file C:\\a.txt", "Cannot open file C:\\a.txt."},
                                           PeriodCase{"已完成。", "已完成。."}, PeriodCase{"文件", "文件."},
                                           PeriodCase{"", ""}));

TEST_F(ApplicationErrorsTest, TheBoxHasTheTitleAsCaptionTheStopIconAndOneOkButton) {
    raiseFromAHandler(EFOpenError("Cannot open file /tmp/a.txt"));
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    const auto& box = host.messageBoxes()[0];
    EXPECT_EQ(box.request.caption, "Myeditor");
    EXPECT_EQ(box.request.icon, MessageBoxIcon::Stop);
    EXPECT_EQ(box.request.buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(box.request.owner, mainNative) << "shown over the active window";
    EXPECT_FALSE(box.request.taskModal);
    EXPECT_TRUE(box.enabledWindows.empty()) << "every window is disabled while the box shows";
}

TEST_F(ApplicationErrorsTest, AnEmptyMessageShowsAnEmptyBox) {
    raiseFromAHandler(EStreamError(""));
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "");
    EXPECT_EQ(host.messageBoxes()[0].request.caption, "Myeditor");
}

TEST_F(ApplicationErrorsTest, AbortIsSilentAndTheProgramGoesOn) {
    raiseFromAHandler(EAbort("Operation aborted"));
    EXPECT_TRUE(host.messageBoxes().empty());
    EXPECT_EQ(exitCode, 0);
}

TEST_F(ApplicationErrorsTest, AfterTheBoxTheWindowsAreEnabledAndTheActiveOneActiveAgain) {
    app.CreateForm(main);
    ErrorForm* second = nullptr;
    app.CreateForm(second);
    second->Show();
    main->Show();
    ErrorForm* hidden = nullptr;
    app.CreateForm(hidden);
    second->OnShortCut = [&](const KeyEvent&) -> bool { throw EReadError("Stream read error"); };
    host.whenIdle([&] {
        second->Native()->activate();
        host.postKeyPress(*second->Native(), 'X');
    });
    host.whenIdle([&] { app.Terminate(); });
    app.Run();

    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.owner, second->Native());
    EXPECT_TRUE(main->Enabled());
    EXPECT_TRUE(second->Enabled());
    EXPECT_TRUE(hidden->Enabled());
    EXPECT_FALSE(hidden->Visible());
    EXPECT_EQ(host.activeWindow(), second->Native());
}

TEST_F(ApplicationErrorsTest, ErrorsInPaintAndCloseHandlersAreShownToo) {
    app.CreateForm(main);
    main->paintError = "No paint";
    main->OnCloseQuery = [&](TForm&, bool&) { throw EInvalidOperation("No close"); };
    host.whenIdle([&] {
        EXPECT_EQ(main->paints, 1) << "the first paint, of the window being shown, failed";
        host.postCloseRequest(*main->Native());
    });
    host.whenIdle([&] {
        main->OnCloseQuery = nullptr;
        host.postCloseRequest(*main->Native());
    });
    EXPECT_EQ(app.Execute([&] { app.Run(); }), 0);
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"No paint.", "No close."}));
}

TEST_F(ApplicationErrorsTest, AnErrorOutsideTheFamilyIsShownInTheFatalWordsButTheProgramGoesOn) {
    raiseFromAHandler(std::runtime_error("odd"));
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    const auto& box = host.messageBoxes()[0];
    EXPECT_EQ(box.request.caption, "Application Error");
    EXPECT_TRUE(std::regex_match(box.request.text,
                                 std::regex("Exception std::runtime_error in module MyEditor\\.exe at [0-9A-F]{8}\\.\nodd\\.")))
        << box.request.text;
    EXPECT_EQ(exitCode, 0);
}

// A window whose construction fails, after it has checked that the reference already names it.
class FailingForm : public TForm {
public:
    static FailingForm** reference;
    static bool sawItself;
    explicit FailingForm(TApplication& application) : TForm(application) {
        sawItself = *reference == this;
        throw EInvalidOperation("Layout broken");
    }
};
FailingForm** FailingForm::reference = nullptr;
bool FailingForm::sawItself = false;

class OrderForm : public TForm {
public:
    static std::vector<std::string> destroyed;
    explicit OrderForm(TApplication& application) : TForm(application) {}
    ~OrderForm() override { destroyed.push_back(Name()); }
};
std::vector<std::string> OrderForm::destroyed;

TEST_F(ApplicationErrorsTest, AnErrorDuringWindowCreationIsFatal) {
    OrderForm::destroyed.clear();
    OrderForm* first = nullptr;
    FailingForm* failing = nullptr;
    FailingForm::reference = &failing;
    const int code = app.Execute([&] {
        app.CreateForm(first);
        first->SetName("first");
        app.CreateForm(failing);
        FAIL() << "creation went on";
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(FailingForm::sawItself) << "the reference names the window while it is constructed";
    EXPECT_EQ(failing, nullptr);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    const auto& box = host.messageBoxes()[0];
    EXPECT_EQ(box.request.caption, "Application Error");
    EXPECT_EQ(box.request.owner, nullptr);
    EXPECT_TRUE(box.request.taskModal);
    EXPECT_EQ(box.request.icon, MessageBoxIcon::Stop);
    EXPECT_TRUE(std::regex_match(
        box.request.text, std::regex("Exception EInvalidOperation in module MyEditor\\.exe at [0-9A-F]{8}\\.\nLayout broken\\.")))
        << box.request.text;
    // Shutdown ran: the window created before is gone, and the loop never started.
    EXPECT_EQ(OrderForm::destroyed, std::vector<std::string>{"first"});
    EXPECT_TRUE(host.windows().empty());
    EXPECT_EQ(app.MainForm(), nullptr);
}

TEST_F(ApplicationErrorsTest, AnErrorEscapingTheLoopIsFatal) {
    app.CreateForm(main);
    host.whenIdle([&] { host.post([] { throw EWriteError("Stream write error"); }); });
    EXPECT_EQ(app.Execute([&] { app.Run(); }), 1);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_NE(host.messageBoxes()[0].request.text.find("EWriteError"), std::string::npos);
    EXPECT_FALSE(app.Running());
    EXPECT_TRUE(host.windows().empty());
}

TEST_F(ApplicationErrorsTest, ShutdownDestroysTheNewestWindowFirst) {
    OrderForm::destroyed.clear();
    OrderForm* mainForm = nullptr;
    OrderForm* aboutBox = nullptr;
    const int code = app.Execute([&] {
        app.CreateForm(mainForm);
        mainForm->SetName("main");
        app.CreateForm(aboutBox);
        aboutBox->SetName("about");
        host.whenIdle([&] { host.postCloseRequest(*mainForm->Native()); });
        app.Run();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(OrderForm::destroyed, (std::vector<std::string>{"about", "main"}));
}

}  // namespace
}  // namespace zozuz
