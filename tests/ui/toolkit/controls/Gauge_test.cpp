#include "ui/toolkit/controls/TGauge.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "GaugeFixture.h"
#include "base/Exception.h"

namespace zozuz {
namespace {

using test::FakeParent;
using test::makeGauge;

std::string rangeError(TGauge& gauge, bool minimum, int value) {
    try {
        if (minimum)
            gauge.SetMinValue(value);
        else
            gauge.SetMaxValue(value);
    } catch (const EInvalidOperation& e) {
        return e.message();
    }
    return "no error";
}

TEST(Gauge, StartsWithItsDefaults) {
    TGauge gauge;
    EXPECT_EQ(gauge.Width(), 100);
    EXPECT_EQ(gauge.Height(), 100);
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(gauge.Kind(), TGaugeKind::gkHorizontalBar);
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(gauge.ForeColor(), clBlack);
    EXPECT_EQ(gauge.BackColor(), clWhite);
    EXPECT_TRUE(gauge.Opaque());
    EXPECT_TRUE(gauge.ParentFont());
    EXPECT_TRUE(gauge.ParentColor());
}

TEST(Gauge, PercentDoneTruncatesAndSurvivesAnEmptyOrHugeRange) {
    TGauge gauge;
    gauge.SetProgress(37);
    EXPECT_EQ(gauge.PercentDone(), 37);
    gauge.SetMaxValue(3);
    gauge.SetProgress(2);
    EXPECT_EQ(gauge.PercentDone(), 66);

    gauge.SetMinValue(3);  // equal to the maximum: an empty range
    EXPECT_EQ(gauge.Progress(), 3);
    EXPECT_EQ(gauge.PercentDone(), 0);

    // The whole int range: a 32-bit difference would overflow here.
    TGauge wide;
    wide.SetMinValue(INT_MIN);
    wide.SetMaxValue(INT_MAX);
    wide.SetProgress(0);
    EXPECT_EQ(wide.PercentDone(), 50);
    wide.SetProgress(INT_MAX);
    EXPECT_EQ(wide.PercentDone(), 100);
    wide.SetProgress(INT_MIN + 1);
    EXPECT_EQ(wide.PercentDone(), 0);
}

TEST(Gauge, ProportionalLengthUsesExtendedPrecisionWithAHundredthHeldLow) {
    EXPECT_EQ(TGauge::ProportionalLength(10, 10), 0);
    EXPECT_EQ(TGauge::ProportionalLength(5, 20), 0);
    EXPECT_EQ(TGauge::ProportionalLength(20, 25), 4);
    EXPECT_EQ(TGauge::ProportionalLength(0, 296), 0);
    for (int n : {1, 7, 10, 17, 25, 100, 296, 1001})
        for (int q : {25, 50, 75, 100}) EXPECT_EQ(TGauge::ProportionalLength(q, n), n * q / 100) << n << " " << q;
    for (int q = 0; q <= 100; ++q) EXPECT_EQ(TGauge::ProportionalLength(q, 296), 296 * q / 100) << q;
    EXPECT_EQ(TGauge::ProportionalLength(-50, 10), -5);
    EXPECT_EQ(TGauge::ProportionalLength(INT_MAX, INT_MAX), INT_MAX);  // saturates, no overflow
}

TEST(Gauge, ProgressIsClampedLowerBoundFirst) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 100, 20});
    gauge->SetProgress(102);
    EXPECT_EQ(gauge->Progress(), 100);
    const auto paints = parent.paints();
    gauge->SetProgress(104);
    gauge->SetProgress(102);
    EXPECT_EQ(parent.paints(), paints);  // held at the maximum: nothing to show
    gauge->SetProgress(-5);
    EXPECT_EQ(gauge->Progress(), 0);
    EXPECT_EQ(parent.paints(), paints + 1);
}

TEST(Gauge, ProgressRepaintsOnlyWhenTheWholePercentageChanges) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 297, 17});
    gauge->SetMaxValue(1000);
    const auto before = parent.paints();
    gauge->SetProgress(5);
    EXPECT_EQ(gauge->Progress(), 5);
    EXPECT_EQ(parent.paints(), before);
    gauge->SetProgress(10);
    EXPECT_EQ(gauge->PercentDone(), 1);
    EXPECT_EQ(parent.paints(), before + 1);

    gauge->SetProgress(0);
    parent.imageSurface().resetDrawCount();
    for (int i = 0; i <= 1000; ++i) gauge->SetProgress(i);
    EXPECT_EQ(parent.paints(), 100u);
}

TEST(Gauge, RangeErrorsNameTheAllowedRangeAndChangeNothing) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 50, 10});
    gauge->SetProgress(40);
    const auto paints = parent.paints();
    EXPECT_EQ(rangeError(*gauge, true, 150), "Value must be between -2147483647 and 99");
    EXPECT_EQ(rangeError(*gauge, false, -1), "Value must be between 1 and 2147483647");
    EXPECT_EQ(gauge->MinValue(), 0);
    EXPECT_EQ(gauge->MaxValue(), 100);
    EXPECT_EQ(gauge->Progress(), 40);
    EXPECT_EQ(parent.paints(), paints);

    gauge->SetMinValue(100);  // equal to the maximum is allowed, though the message's range ends at 99
    EXPECT_EQ(gauge->MinValue(), 100);
    EXPECT_EQ(gauge->Progress(), 100);

    // The numbers are worked out without overflow at the ends of the int range.
    TGauge extreme;
    extreme.SetMinValue(INT_MIN);
    extreme.SetMaxValue(INT_MIN);
    EXPECT_EQ(rangeError(extreme, true, 0), "Value must be between -2147483647 and -2147483649");
}

TEST(Gauge, MovingTheRangePastProgressCarriesItAlongAndRepaints) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 50, 10});
    gauge->SetProgress(30);
    auto paints = parent.paints();
    gauge->SetMinValue(40);
    EXPECT_EQ(gauge->Progress(), 40);
    EXPECT_EQ(parent.paints(), ++paints);
    gauge->SetProgress(90);
    EXPECT_EQ(parent.paints(), ++paints);
    gauge->SetMaxValue(45);
    EXPECT_EQ(gauge->Progress(), 45);
    EXPECT_EQ(parent.paints(), ++paints);
    gauge->SetMaxValue(60);  // a range change repaints even when Progress stays
    EXPECT_EQ(gauge->Progress(), 45);
    EXPECT_EQ(parent.paints(), ++paints);
}

TEST(Gauge, LoadingSkipsTheRangeChecksButStillClamps) {
    TGauge gauge;
    gauge.BeginLoading();
    gauge.SetMinValue(500);  // above the default maximum of 100
    EXPECT_EQ(gauge.MinValue(), 500);
    EXPECT_EQ(gauge.Progress(), 500);
    gauge.SetMaxValue(900);
    gauge.SetProgress(950);
    EXPECT_EQ(gauge.Progress(), 900);
    gauge.SetMaxValue(200);  // below the minimum, still loading
    EXPECT_EQ(gauge.Progress(), 200);
    gauge.EndLoading();
    EXPECT_EQ(rangeError(gauge, false, 100), "Value must be between 501 and 2147483647");
}

TEST(Gauge, EqualValuesAreIgnoredAndChangesRepaintOnce) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{10, 10, 60, 30});
    auto paints = parent.paints();
    gauge->SetKind(TGaugeKind::gkHorizontalBar);
    gauge->SetShowText(true);
    gauge->SetBorderStyle(TBorderStyle::bsSingle);
    gauge->SetForeColor(clBlack);
    gauge->SetBackColor(clWhite);
    gauge->SetMinValue(0);
    gauge->SetMaxValue(100);
    gauge->SetProgress(0);
    EXPECT_EQ(parent.paints(), paints);

    gauge->SetKind(TGaugeKind::gkPie);
    gauge->SetShowText(false);
    gauge->SetBorderStyle(TBorderStyle::bsNone);
    gauge->SetForeColor(clRed);
    gauge->SetBackColor(clBlue);
    EXPECT_EQ(parent.paints(), paints + 5);
    EXPECT_EQ(gauge->Kind(), TGaugeKind::gkPie);
    EXPECT_FALSE(gauge->ShowText());
    EXPECT_EQ(gauge->BorderStyle(), TBorderStyle::bsNone);
    EXPECT_EQ(gauge->ForeColor(), clRed);
    EXPECT_EQ(gauge->BackColor(), clBlue);
}

TEST(Gauge, RepaintsAtOnceOnlyOnAShowingSurfaceThenTheControlsAbove) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{20, 30, 120, 47});
    gauge->SetProgress(10);
    EXPECT_EQ(parent.paints(), 1u);
    EXPECT_EQ(parent.imageSurface().lastDrawn(), (Rect{20, 30, 120, 47}));
    EXPECT_EQ(parent.paintAboveCalls, 1);
    EXPECT_EQ(parent.paintAboveArea, (Rect{20, 30, 120, 47}));

    parent.hasSurface = false;
    gauge->SetProgress(20);
    parent.hasSurface = true;
    parent.isShowing = false;
    gauge->SetProgress(30);
    parent.isShowing = true;
    gauge->SetVisible(false);
    gauge->SetProgress(40);
    EXPECT_EQ(parent.paints(), 1u);
    EXPECT_EQ(parent.paintAboveCalls, 1);
    EXPECT_EQ(gauge->Progress(), 40);  // the state is kept for the next ordinary paint

    test::FakeParent other;
    gauge->PaintTo(other.imageSurface());  // hidden: the ordinary paint skips it too
    EXPECT_EQ(other.paints(), 0u);

    TGauge orphan;  // no parent at all
    orphan.SetProgress(50);
    EXPECT_EQ(orphan.Progress(), 50);
}

TEST(Gauge, OrdinaryPaintIsClippedToTheAreaAsked) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{10, 10, 110, 27});
    parent.hasSurface = false;
    gauge->SetProgress(100);
    parent.hasSurface = true;
    gauge->PaintTo(parent.imageSurface(), Rect{0, 0, 60, 15});
    EXPECT_EQ(parent.imageSurface().lastDrawn(), (Rect{10, 10, 60, 15}));
    EXPECT_EQ(parent.screen().pixel(10, 10), 0u);          // the frame
    EXPECT_EQ(parent.screen().pixel(11, 11), 0u);          // the full bar, black
    EXPECT_EQ(parent.screen().pixel(70, 20), 0u);          // outside the clip: untouched (black surface)
    gauge->PaintTo(parent.imageSurface(), Rect{200, 0, 300, 100});  // misses the gauge
    EXPECT_EQ(parent.paints(), 1u);
    EXPECT_EQ(parent.paintAboveCalls, 0);  // an ordinary paint leaves the stacking to the parent
}

// A surface that fails when the picture is copied onto it.
class FailingSurface final : public Surface {
public:
    void drawImage(Point, const Image&, const Rect&) override { throw std::runtime_error("surface lost"); }
    TextRenderer& textRenderer() override { return renderer_; }

private:
    BitmapFontRenderer renderer_;
};

// A renderer that fails to measure text.
class FailingRenderer final : public TextRenderer {
public:
    Size measure(const Font&, std::string_view) override { throw EInvalidOperation("no font"); }
    void draw(Image&, int, int, const Rect&, const Font&, std::string_view, std::uint32_t) override {}
};

class TextlessSurface final : public Surface {
public:
    void drawImage(Point, const Image&, const Rect&) override { ++draws; }
    TextRenderer& textRenderer() override { return renderer_; }
    int draws = 0;

private:
    FailingRenderer renderer_;
};

TEST(Gauge, AFailedPaintReachesTheCallerAndTheNextPaintWorks) {
    TGauge gauge;
    FailingSurface failing;
    EXPECT_THROW(gauge.PaintTo(failing), std::runtime_error);

    TextlessSurface textless;
    EXPECT_THROW(gauge.PaintTo(textless), EInvalidOperation);
    EXPECT_EQ(textless.draws, 0);
    gauge.SetShowText(false);
    gauge.PaintTo(textless);
    EXPECT_EQ(textless.draws, 1);

    // Through a setter: the error goes to whoever set the value, which is kept for the next paint.
    FakeParent parent;
    gauge.SetParent(&parent);
    parent.replacement = &failing;
    EXPECT_THROW(gauge.SetProgress(50), std::runtime_error);
    EXPECT_EQ(gauge.Progress(), 50);
    parent.replacement = nullptr;
    gauge.SetProgress(60);
    EXPECT_EQ(parent.paints(), 1u);
}

TEST(Gauge, TextFollowsTheParentFontUnlessGivenItsOwn) {
    FakeParent parent;
    auto gauge = makeGauge(parent, Rect{0, 0, 100, 20});
    EXPECT_EQ(gauge->GetFont().pixelHeight, 12);
    Font own;
    own.pixelHeight = 16;
    parent.invalidated.clear();
    const std::size_t paints = parent.paints();
    gauge->SetFont(own);
    EXPECT_FALSE(gauge->ParentFont());
    EXPECT_EQ(gauge->GetFont().pixelHeight, 16);
    // A font change waits for the ordinary paint of the gauge's area.
    EXPECT_EQ(parent.invalidated, (std::vector<Rect>{Rect{0, 0, 100, 20}}));
    EXPECT_EQ(parent.paints(), paints);

    parent.invalidated.clear();
    gauge->SetFont(own);
    EXPECT_TRUE(parent.invalidated.empty()) << "the same font again changes nothing";
    Font bigger = parent.GetFont();
    bigger.pixelHeight = 30;
    parent.SetFont(bigger);
    EXPECT_EQ(gauge->GetFont().pixelHeight, 16) << "its own font no longer follows the parent's";
    gauge->SetParentFont(true);
    EXPECT_EQ(gauge->GetFont().pixelHeight, 30);
}

}  // namespace
}  // namespace zozuz
