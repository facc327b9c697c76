#pragma once

#include <cstdint>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "ui/toolkit/components/TComponent.h"
#include "ui/toolkit/controls/TBorderStyle.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TGraphicControl.h"

namespace zozuz {

// How a gauge shows its position. Values outside these five draw no picture at all.
enum class TGaugeKind : std::uint8_t { gkText = 0, gkHorizontalBar = 1, gkVerticalBar = 2, gkPie = 3, gkNeedle = 4 };

// A progress control without a window of its own: it shows where Progress lies between MinValue and
// MaxValue as a bar, a pie or a needle, with the percentage done written in its middle.
//
// Every change that shows paints at once, inside the setter, so a long computation on the
// user-interface thread can show its progress without returning to the event loop. A new Progress
// paints only when the whole-number percentage changes, so a sweep over any range paints at most 100
// times. Each paint composes the whole picture off-screen and copies it in one step, without
// flicker.
class TGauge : public TGraphicControl {
public:
    explicit TGauge(TComponent* owner = nullptr);

    int MinValue() const { return minValue_; }
    // Fails with EInvalidOperation above MaxValue (not while loading); raises Progress to it.
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    // Fails with EInvalidOperation below MinValue (not while loading); lowers Progress to it.
    void SetMaxValue(int value);
    int Progress() const { return progress_; }
    // Clamps the value into the range, the lower bound first; never fails.
    void SetProgress(int value);

    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind kind);
    bool ShowText() const { return showText_; }
    void SetShowText(bool show);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor color);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color);

    // (Progress - MinValue) * 100 / (MaxValue - MinValue), truncated toward zero; 0 for an empty range.
    int PercentDone() const;

    // The share `percent` of `length`, as length * (percent * 0.01) in 80-bit extended arithmetic,
    // truncated toward zero. As 0.01 is held slightly low, n * q / 100 can come out one short when
    // it is whole (10 at 10 % gives 0): the bars are drawn that way.
    static int ProportionalLength(int percent, int length);

protected:
    void Paint() override;

private:
    // The picture of the current kind, drawn into a black image, within the paint rectangle.
    void drawKind(Image& image, const Rect& paint) const;
    void drawHorizontalBar(Image& image, const Rect& paint) const;
    void drawVerticalBar(Image& image, const Rect& paint) const;
    void drawPie(Image& image, const Rect& paint) const;
    void drawNeedle(Image& image, const Rect& paint) const;
    // Combines the percentage, in white, into the picture by exclusive-or.
    void drawPercentText(Image& picture, const Rect& paint);

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = TGaugeKind::gkHorizontalBar;
    bool showText_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
};

}  // namespace zozuz
