#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

class ModalForm : public TForm {
public:
    explicit ModalForm(TApplication& application) : TForm(application) { SetBounds(50, 50, 300, 200); }
};

class ApplicationModalTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(main);
        app.CreateForm(box);
        app.CreateForm(other);
        main->Show();
    }
    HeadlessWindow& native(TForm* form) { return static_cast<HeadlessWindow&>(*form->Native()); }

    HeadlessHost host;
    TApplication app{host};
    ModalForm* main = nullptr;
    ModalForm* box = nullptr;
    ModalForm* other = nullptr;
};

TEST_F(ApplicationModalTest, DisablesExactlyTheVisibleEnabledWindowsAndRestoresThem) {
    ModalForm* disabledBefore = nullptr;
    app.CreateForm(disabledBefore);
    disabledBefore->Show();
    disabledBefore->SetEnabled(false);
    main->Show();  // the main window is the active one when the box opens

    host.whenIdle([&] {
        EXPECT_FALSE(main->Enabled());
        EXPECT_FALSE(native(main).enabled());
        EXPECT_TRUE(box->Enabled());
        EXPECT_TRUE(box->Visible());
        EXPECT_EQ(host.activeWindow(), box->Native());
        EXPECT_TRUE(box->Modal());
        host.postCloseRequest(*box->Native());
    });
    EXPECT_EQ(box->ShowModal(), mrCancel);

    EXPECT_TRUE(main->Enabled());
    EXPECT_FALSE(disabledBefore->Enabled()) << "a window disabled before stays disabled";
    EXPECT_TRUE(other->Enabled());
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(box->Modal());
    EXPECT_EQ(host.activeWindow(), main->Native());
    EXPECT_TRUE(host.messageBoxes().empty());
}

TEST_F(ApplicationModalTest, InputToDisabledWindowsIsIgnoredWhileTheBoxShows) {
    int mainKeys = 0;
    main->OnKeyDown = [&](const KeyEvent&) { ++mainKeys; };
    host.whenIdle([&] {
        host.postKeyPress(*main->Native(), 'A');
        host.postCloseRequest(*main->Native());
    });
    host.whenIdle([&] { host.post([&] { box->SetModalResult(mrOk); }); });
    EXPECT_EQ(box->ShowModal(), mrOk);
    EXPECT_EQ(mainKeys, 0);
    EXPECT_FALSE(app.Terminated()) << "the main window's close box did nothing while disabled";
}

TEST(ApplicationModal, TerminateOrSessionEndDuringTheShowingGivesCancel) {
    for (const bool sessionEnd : {false, true}) {
        HeadlessHost host;
        TApplication app{host};
        ModalForm* main = nullptr;
        ModalForm* box = nullptr;
        app.CreateForm(main);
        app.CreateForm(box);
        main->Show();
        host.whenIdle([&] {
            if (sessionEnd)
                host.postSessionEnd();
            else
                app.Terminate();
        });
        EXPECT_EQ(box->ShowModal(), mrCancel) << sessionEnd;
        EXPECT_TRUE(app.Terminated()) << sessionEnd;
        EXPECT_TRUE(main->Enabled()) << sessionEnd;
        EXPECT_FALSE(box->Visible()) << sessionEnd;
        EXPECT_FALSE(box->Modal()) << sessionEnd;
    }
}

TEST_F(ApplicationModalTest, CloseCheckCanRefuseAndItsErrorsAreShown) {
    int asked = 0;
    box->OnCloseQuery = [&](TForm&, bool& canClose) {
        ++asked;
        if (asked == 1) throw EInvalidOperation("Check failed");
        canClose = asked > 2;
    };
    for (int i = 0; i < 3; ++i) host.whenIdle([&] { host.post([&] { box->SetModalResult(mrOk); }); });
    EXPECT_EQ(box->ShowModal(), mrOk);
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Check failed.");
}

TEST_F(ApplicationModalTest, AVisibleDisabledOrModalWindowCannotBeShownModally) {
    box->Show();
    try {
        box->ShowModal();
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.message(), "Cannot make a visible window modal");
    }
    box->Hide();
    box->SetEnabled(false);
    EXPECT_THROW(box->ShowModal(), EInvalidOperation);
    box->SetEnabled(true);

    host.whenIdle([&] {
        host.post([&] { EXPECT_THROW(app.ShowModal(*box), EInvalidOperation); });
        host.postCloseRequest(*box->Native());
    });
    EXPECT_EQ(box->ShowModal(), mrCancel);
}

TEST_F(ApplicationModalTest, ShowingAVisibleWindowFromAHandlerShowsTheErrorAndTheLoopGoesOn) {
    other->Show();
    main->OnShortCut = [&](const KeyEvent&) { return other->ShowModal() != mrNone; };
    host.whenIdle([&] { host.postKeyPress(*main->Native(), vk::F1); });
    host.whenIdle([&] { host.postCloseRequest(*main->Native()); });
    app.Run();
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Cannot make a visible window modal.");
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationModalTest, AnErrorWhileTheBoxShowsIsShownOverItAndTheBoxStaysOpen) {
    box->OnShortCut = [&](const KeyEvent&) -> bool { throw EFOpenError("Cannot open file C:\\a.txt"); };
    host.whenIdle([&] { host.postKeyPress(*box->Native(), vk::F12); });
    host.whenIdle([&] {
        EXPECT_EQ(host.activeWindow(), box->Native()) << "the box is active again after the error box";
        EXPECT_TRUE(box->Enabled());
        EXPECT_FALSE(main->Enabled());
        EXPECT_EQ(box->ModalResult(), mrNone);
        host.postCloseRequest(*box->Native());
    });
    EXPECT_EQ(box->ShowModal(), mrCancel);

    ASSERT_EQ(host.messageBoxes().size(), 1u);
    const auto& shown = host.messageBoxes()[0];
    EXPECT_EQ(shown.request.text, "Cannot open file C:\\a.txt.");
    EXPECT_EQ(shown.request.owner, box->Native());
    EXPECT_EQ(shown.activeWindow, box->Native());
    EXPECT_TRUE(shown.enabledWindows.empty()) << "neither the main window nor the box accepts input";
    EXPECT_EQ(host.activeWindow(), main->Native());
}

TEST_F(ApplicationModalTest, TheSameWindowCanBeShownAgain) {
    box->HandleNeeded();
    const std::size_t windows = host.windows().size();
    host.whenIdle([&] { host.post([&] { box->SetModalResult(mrOk); }); });
    EXPECT_EQ(box->ShowModal(), mrOk);
    host.whenIdle([&] { host.postCloseRequest(*box->Native()); });
    EXPECT_EQ(box->ShowModal(), mrCancel);
    EXPECT_EQ(host.windows().size(), windows);
}

TEST_F(ApplicationModalTest, AnErrorEscapingTheNestedLoopStillRestoresTheWindows) {
    host.whenIdle([&] { host.post([] { throw std::runtime_error("loose"); }); });
    EXPECT_THROW(box->ShowModal(), std::runtime_error);
    EXPECT_TRUE(main->Enabled());
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(box->Modal());
}

}  // namespace
}  // namespace zozuz
