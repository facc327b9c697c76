#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "base/Exception.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/forms/VeskMain.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TGraphicControl.h"
#include "ui/toolkit/windows/TForm.h"

namespace zozuz {
namespace {

constexpr std::uint32_t kButtonFace = 0xF0F0F0;

class PlainForm : public TForm {
public:
    explicit PlainForm(TApplication& application) : TForm(application) { SetBounds(0, 0, 208, 127); }
};

// A window-less control that fills its bounds with one colour.
class SolidControl : public TGraphicControl {
public:
    SolidControl(TForm& form, Rect bounds, std::uint32_t rgb) : TGraphicControl(&form), rgb_(rgb) {
        SetParent(&form);
        SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
    }
    int paints = 0;
    bool fail = false;

protected:
    void Paint() override {
        ++paints;
        if (fail) throw EInvalidOperation("Paint failed");
        Image image(Width(), Height());
        for (int y = 0; y < image.height(); ++y) std::fill_n(image.row(y), image.width(), rgb_);
        DrawImage(image);
    }

private:
    std::uint32_t rgb_;
};

class FormTest : public ::testing::Test {
protected:
    HeadlessWindow& native(TForm* form) { return static_cast<HeadlessWindow&>(*form->Native()); }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }

    HeadlessHost host;
    TApplication app{host};
};

TEST_F(FormTest, TheMainWindowShellHasItsDesignedPlaceCaptionFontAndIcon) {
    TVeskAppForm* form = nullptr;
    app.CreateForm(form);
    ASSERT_NE(form->Native(), nullptr) << "the main window's host window exists at once";
    HeadlessWindow& window = native(form);
    EXPECT_EQ(window.caption(), "zozuz");
    EXPECT_EQ(window.bounds(), (Rect{193, 135, 193 + 570, 135 + 385}));
    EXPECT_EQ(window.frame(), WindowFrame::Sizeable);
    EXPECT_EQ(window.owner(), nullptr) << "the main window is the taskbar entry";
    EXPECT_EQ(window.font().family, "仿宋_GB2312");
    EXPECT_EQ(window.font().pixelHeight, 13);
    EXPECT_EQ(window.font().charset, Font::Charset::GB2312);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(window.icon().width(), 32);
    EXPECT_EQ(window.icon().pixel(0, 0), app.Icon().pixel(0, 0));
    EXPECT_EQ(window.icon().pixel(16, 16), app.Icon().pixel(16, 16));
    EXPECT_FALSE(window.visible());
    EXPECT_EQ(app.MainForm(), form);
}

TEST_F(FormTest, TheMainWindowKeepsItsPlaceWhereTheScreenHoldsItAndIsMovedOnItElse) {
    struct Row {
        Rect workArea;
        Rect shown;
    };
    const Row rows[] = {
        {{0, 0, 1024, 768}, {193, 135, 763, 520}},      // it fits: kept
        {{0, 0, 640, 450}, {70, 65, 640, 450}},         // a scale of 2 on 1280 x 900: moved on
        {{100, 200, 1380, 1000}, {193, 200, 763, 585}},  // a panel above: moved down only
        {{0, 0, 500, 300}, {0, 0, 500, 300}},           // smaller than the window: shrunk to it
    };
    for (const Row& row : rows) {
        HeadlessHost screen;
        screen.setWorkArea(row.workArea);
        TApplication program{screen};
        TVeskAppForm* form = nullptr;
        program.CreateForm(form);
        form->Show();
        EXPECT_EQ(native(form).bounds(), row.shown);
    }
}

TEST_F(FormTest, TheAboutBoxIsAHiddenFixedDialogCentredOnlyTheFirstTime) {
    TVeskAppForm* mainForm = nullptr;
    TAboutBox* about = nullptr;
    host.setScreenSize({1025, 769});
    app.CreateForm(mainForm);
    app.CreateForm(about);
    EXPECT_EQ(about->Caption(), "关于zozuz");
    EXPECT_FALSE(about->Visible());
    EXPECT_EQ(about->ClientWidth(), 298);
    EXPECT_EQ(about->ClientHeight(), 209);
    EXPECT_EQ(about->GetFont().family, "宋体");

    about->Show();
    HeadlessWindow& window = native(about);
    EXPECT_EQ(window.frame(), WindowFrame::Dialog);
    EXPECT_EQ(window.owner(), mainForm->Native());
    EXPECT_EQ(window.clientSize(), (Size{298, 209}));
    // Centred with the outer size, rounded down.
    const int width = window.bounds().width();
    const int height = window.bounds().height();
    EXPECT_EQ(window.bounds().left, (1025 - width) / 2);
    EXPECT_EQ(window.bounds().top, (769 - height) / 2);

    window.userSetBounds(Rect{10, 20, 10 + width, 20 + height});
    about->Hide();
    about->Show();
    EXPECT_EQ(window.bounds().left, 10) << "a box the user moved comes back where it was";
    EXPECT_EQ(window.bounds().top, 20);
}

TEST_F(FormTest, PaintingFillsTheBackgroundAndDrawsControlsBottomToTop) {
    PlainForm* form = nullptr;
    app.CreateForm(form);
    auto* lower = new SolidControl(*form, {10, 10, 50, 50}, 0xFF0000);
    auto* upper = new SolidControl(*form, {30, 30, 70, 70}, 0x0000FF);
    form->Show();
    drain();
    const Image& image = native(form).image();
    EXPECT_EQ(image.pixel(0, 0), kButtonFace);
    EXPECT_EQ(image.pixel(15, 15), 0xFF0000u);
    EXPECT_EQ(image.pixel(40, 40), 0x0000FFu) << "the upper control covers the lower one";
    EXPECT_EQ(image.pixel(65, 65), 0x0000FFu);
    EXPECT_EQ(image.pixel(75, 75), kButtonFace);

    // Painting the lower one at once paints the upper one again over it.
    const int upperPaints = upper->paints;
    lower->Repaint();
    EXPECT_EQ(image.pixel(40, 40), 0x0000FFu);
    EXPECT_EQ(upper->paints, upperPaints + 1);
    EXPECT_EQ(host.pendingEvents(), 0u);
}

TEST_F(FormTest, AHiddenControlLeavesTheBackgroundAfterTheNextPaint) {
    PlainForm* form = nullptr;
    app.CreateForm(form);
    auto* control = new SolidControl(*form, {10, 10, 50, 50}, 0xFF0000);
    form->Show();
    drain();
    control->SetVisible(false);
    drain();
    EXPECT_EQ(native(form).image().pixel(15, 15), kButtonFace);
}

TEST_F(FormTest, AGaugeOnTheFormRepaintsAtOnceInsideTheSetter) {
    PlainForm* form = nullptr;
    app.CreateForm(form);
    auto* gauge = new TGauge(form);
    gauge->SetParent(form);
    gauge->SetBounds(8, 32, 100, 17);
    form->Show();
    drain();
    ImageSurface& surface = native(form).imageSurface();
    const std::size_t before = surface.drawCount();
    gauge->SetProgress(50);
    EXPECT_GT(surface.drawCount(), before) << "painted without a trip through the event loop";
    EXPECT_EQ(native(form).image().pixel(8, 32), 0x000000u) << "the gauge's frame";
}

TEST_F(FormTest, ClosingAnOtherWindowHidesItAndTheCloseCheckCanKeepItOpen) {
    PlainForm* mainForm = nullptr;
    PlainForm* other = nullptr;
    app.CreateForm(mainForm);
    app.CreateForm(other);
    mainForm->Show();
    other->Show();
    bool allow = false;
    other->OnCloseQuery = [&](TForm&, bool& canClose) { canClose = allow; };
    host.postCloseRequest(*other->Native());
    drain();
    EXPECT_TRUE(other->Visible());
    allow = true;
    host.postCloseRequest(*other->Native());
    drain();
    EXPECT_FALSE(other->Visible());
    ASSERT_NE(other->Native(), nullptr) << "hidden, not destroyed";
    EXPECT_FALSE(app.Terminated());
    EXPECT_EQ(host.pendingEvents(), 0u) << "no quit request for a window that is not the main window";
}

TEST_F(FormTest, AnErrorWhilePaintingIsShownAndThePaintIsAbandoned) {
    PlainForm* form = nullptr;
    app.CreateForm(form);
    auto* control = new SolidControl(*form, {10, 10, 50, 50}, 0xFF0000);
    control->fail = true;
    form->Show();
    drain();
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].request.text, "Paint failed.");
}

TEST_F(FormTest, ChangingTheFormsColourRepaintsWithIt) {
    PlainForm* form = nullptr;
    app.CreateForm(form);
    form->Show();
    drain();
    form->SetColor(clWhite);
    drain();
    EXPECT_EQ(native(form).image().pixel(100, 50), 0xFFFFFFu);
}

// A component that notes when its loading ends.
class LoadProbe : public TComponent {
public:
    LoadProbe(TComponent* owner, std::vector<std::string>& log, std::string name) : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }

protected:
    void Loaded() override { log_.push_back(Name()); }

private:
    std::vector<std::string>& log_;
};

// A window read from a stored layout whose gauge's range lies wholly above the default maximum.
class StoredForm : public TForm {
public:
    static std::vector<std::string> loaded;
    explicit StoredForm(TApplication& application) : TForm(application) {
        BeginLoading();
        auto* panel = new LoadProbe(this, loaded, "Panel1");
        new LoadProbe(panel, loaded, "Inner1");
        gauge = new TGauge(this);
        gauge->SetName("Gauge1");
        gauge->SetParent(this);
        gauge->SetMinValue(150);
        gauge->SetMaxValue(300);
        gaugeWasLoading = gauge->Loading();
        new LoadProbe(this, loaded, "Last1");
        EndLoading();
    }
    TGauge* gauge = nullptr;
    bool gaugeWasLoading = false;

protected:
    void Loaded() override { loaded.push_back("form"); }
};
std::vector<std::string> StoredForm::loaded;

TEST_F(FormTest, LoadingReachesEveryOwnedComponentAndEndsWithTheWindow) {
    StoredForm* form = nullptr;
    app.CreateForm(form);
    EXPECT_TRUE(form->gaugeWasLoading) << "created while its window loads";
    EXPECT_EQ(form->gauge->MinValue(), 150) << "the range checks were skipped";
    EXPECT_EQ(form->gauge->MaxValue(), 300);
    EXPECT_EQ(form->gauge->Progress(), 150);
    EXPECT_FALSE(form->gauge->Loading());
    EXPECT_EQ(StoredForm::loaded, (std::vector<std::string>{"Inner1", "Panel1", "Last1", "form"}))
        << "owned components end loading first, in creation order";
    EXPECT_THROW(form->gauge->SetMinValue(400), EInvalidOperation) << "checked again once loaded";

    StoredForm::loaded.clear();
    form->BeginLoading();
    EXPECT_TRUE(form->gauge->Loading()) << "a window that loads again marks what it owns";
    form->gauge->SetMaxValue(100);
    form->EndLoading();
    EXPECT_EQ(form->gauge->MaxValue(), 100);
    EXPECT_EQ(StoredForm::loaded.size(), 4u);
}

TEST(ProgramStart, CreatesBothWindowsRunsUntilTheMainWindowClosesAndEndsWithCodeZero) {
    HeadlessHost host;
    host.whenIdle([&] {
        ASSERT_EQ(host.windows().size(), 1u) << "the About box has no host window before it is shown";
        HeadlessWindow* mainWindow = host.windows()[0];
        EXPECT_EQ(mainWindow->caption(), "zozuz");
        EXPECT_TRUE(mainWindow->visible());
        EXPECT_EQ(host.activeWindow(), mainWindow);
        host.postCloseRequest(*mainWindow);
    });
    EXPECT_EQ(runZozuz(host), 0);
    EXPECT_TRUE(host.messageBoxes().empty());
    EXPECT_TRUE(host.windows().empty());
}

}  // namespace
}  // namespace zozuz
