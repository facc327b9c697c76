#include "ui/toolkit/controls/TGauge.h"

#include "ui/toolkit/controls/TWinControl.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "base/Exception.h"
#include "base/MessageFormat.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Raster.h"
#include "platform/host/TextRenderer.h"
#include "ui/toolkit/controls/TBltBitmap.h"

namespace zozuz {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

int clampToInt(long double value) {
    if (!(value >= static_cast<long double>(INT_MIN))) return INT_MIN;  // also catches NaN
    if (value > static_cast<long double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}

int clampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

// Rounds to the nearest integer, halfway cases to the even one (the default rounding mode).
int roundHalfEven(long double value) { return clampToInt(std::nearbyint(value)); }

// The angles are worked out in extended precision and then kept in double precision, as the
// drawing has always done; the trigonometry that follows is extended again.
long double heldAsDouble(long double angle) { return static_cast<double>(angle); }

constexpr long double kPi = std::numbers::pi_v<long double>;

}  // namespace

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
    // The picture covers the whole control, so nothing beneath needs erasing first.
    SetOpaque(true);
    SetBounds(Left(), Top(), 100, 100);
}

void TGauge::SetMinValue(int value) {
    if (value == minValue_) return;
    if (value > maxValue_ && !Loading())
        throw EInvalidOperation(formatMessage(messages::kValueOutOfRange,
                                              {std::int64_t{-2147483647}, std::int64_t{maxValue_} - 1}));
    minValue_ = value;
    if (progress_ < value) progress_ = value;
    Repaint();
}

void TGauge::SetMaxValue(int value) {
    if (value == maxValue_) return;
    if (value < minValue_ && !Loading())
        throw EInvalidOperation(formatMessage(messages::kValueOutOfRange,
                                              {std::int64_t{minValue_} + 1, std::int64_t{2147483647}}));
    maxValue_ = value;
    if (progress_ > value) progress_ = value;
    Repaint();
}

void TGauge::SetProgress(int value) {
    const int before = PercentDone();
    if (value < minValue_)
        value = minValue_;
    else if (value > maxValue_)
        value = maxValue_;
    if (value == progress_) return;
    progress_ = value;
    if (PercentDone() != before) {
        Repaint();
        if (TWinControl* window = TopWindow()) window->AccessibleValueChanged();
    }
}

void TGauge::SetKind(TGaugeKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    Repaint();
}

void TGauge::SetShowText(bool show) {
    if (show == showText_) return;
    showText_ = show;
    Repaint();
}

void TGauge::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    Repaint();
}

void TGauge::SetForeColor(TColor color) {
    if (color == foreColor_) return;
    foreColor_ = color;
    Repaint();
}

void TGauge::SetBackColor(TColor color) {
    if (color == backColor_) return;
    backColor_ = color;
    Repaint();
}

int TGauge::PercentDone() const {
    // The differences are taken in 64 bits, so that a range wider than 2^31 (say the whole int range)
    // still gives a true percentage instead of an overflowed one.
    const std::int64_t range = std::int64_t{maxValue_} - minValue_;
    const std::int64_t done = std::int64_t{progress_} - minValue_;
    if (range == 0) return 0;
    return clampToInt(done * 100 / range);
}

int TGauge::ProportionalLength(int percent, int length) {
    // Both products are rounded to the 64-bit significand of the extended type, exactly as the bars
    // have always been measured; 0.01L is the extended value nearest 0.01, slightly below it.
    const long double share = static_cast<long double>(percent) * 0.01L;
    return clampToInt(std::trunc(static_cast<long double>(length) * share));
}

void TGauge::Paint() {
    const int width = Width();
    const int height = Height();
    Image picture(width, height);
    Rect paint{0, 0, width, height};
    if (borderStyle_ == TBorderStyle::bsSingle) paint = Rect{1, 1, width - 1, height - 1};

    TBltBitmap overlay;
    overlay.MakeLike(picture);
    drawKind(overlay.Pixels(), paint);
    raster::xorImage(picture, overlay.Pixels());

    if (showText_) drawPercentText(picture, paint);
    DrawImage(picture);
}

void TGauge::drawKind(Image& image, const Rect& paint) const {
    switch (kind_) {
        case TGaugeKind::gkText: raster::fillRect(image, paint, colorToRgb(backColor_)); break;
        case TGaugeKind::gkHorizontalBar: drawHorizontalBar(image, paint); break;
        case TGaugeKind::gkVerticalBar: drawVerticalBar(image, paint); break;
        case TGaugeKind::gkPie: drawPie(image, paint); break;
        case TGaugeKind::gkNeedle: drawNeedle(image, paint); break;
    }
}

// In the bar pictures the spans w, h and f serve directly as right and bottom coordinates, not as
// offsets from the paint rectangle's corner; the image clips whatever reaches past it.
void TGauge::drawHorizontalBar(Image& image, const Rect& paint) const {
    raster::fillRect(image, paint, colorToRgb(backColor_));
    const int w = clampToInt(std::int64_t{paint.right} - paint.left + 1);
    const int h = clampToInt(std::int64_t{paint.bottom} - paint.top + 1);
    const int f = std::min(ProportionalLength(PercentDone(), w), w);
    if (f < 1) return;
    raster::fillRect(image, Rect{paint.left, paint.top, f, h}, colorToRgb(foreColor_));
}

void TGauge::drawVerticalBar(Image& image, const Rect& paint) const {
    raster::fillRect(image, paint, colorToRgb(backColor_));
    const int w = clampToInt(std::int64_t{paint.right} - paint.left + 1);
    const int h = clampToInt(std::int64_t{paint.bottom} - paint.top + 1);
    int f = ProportionalLength(PercentDone(), h);
    if (f >= h) f = h - 1;
    raster::fillRect(image, Rect{paint.left, clampToInt(std::int64_t{h} - f), w, h}, colorToRgb(foreColor_));
}

void TGauge::drawPie(Image& image, const Rect& paint) const {
    raster::fillRect(image, paint, colorToRgb(Color()));
    const int extra = borderStyle_ == TBorderStyle::bsSingle ? 1 : 0;
    const int w = clampToInt(std::int64_t{paint.right} - paint.left + extra);
    const int h = clampToInt(std::int64_t{paint.bottom} - paint.top + extra);
    const Rect box{paint.left, paint.top, w, h};
    const std::uint32_t fore = colorToRgb(foreColor_);
    raster::ellipse(image, box, colorToRgb(backColor_), fore);

    const int percent = PercentDone();
    if (percent <= 0) return;
    const long double mx = w / 2;
    const long double my = h / 2;
    const long double angle = heldAsDouble((static_cast<long double>(percent) / 50 + 0.5L) * kPi);
    const Point start{roundHalfEven(mx * (1 - std::cos(angle))), roundHalfEven(my * (1 - std::sin(angle)))};
    raster::pie(image, box, start, Point{w / 2, 0}, fore, fore);
}

void TGauge::drawNeedle(Image& image, const Rect& paint) const {
    raster::fillRect(image, paint, colorToRgb(Color()));
    const int extra = borderStyle_ == TBorderStyle::bsSingle ? 1 : 0;
    const int w = clampToInt(std::int64_t{paint.right} - paint.left + extra);
    const int h = clampToInt(std::int64_t{paint.bottom} - paint.top + extra);
    const std::uint32_t fore = colorToRgb(foreColor_);
    // The half-dial: the upper half of an ellipse whose centre lies on the paint rectangle's bottom.
    const Rect dial{paint.left, paint.top, w, clampToInt(2 * std::int64_t{h} - 1)};
    const int baseY = paint.bottom - 1;
    raster::pie(image, dial, Point{clampToInt(std::int64_t{w} + paint.left), baseY}, Point{paint.left, baseY},
                colorToRgb(backColor_), fore);
    raster::line(image, Point{paint.left, paint.bottom}, Point{clampToInt(std::int64_t{paint.left} + w), paint.bottom},
                 fore);

    const int percent = PercentDone();
    if (percent <= 0) return;
    const int cx = Width() / 2;
    const long double angle = heldAsDouble(static_cast<long double>(percent) / 100 * kPi);
    const Point tip{roundHalfEven(cx * (1 - std::cos(angle))), roundHalfEven(baseY * (1 - std::sin(angle)))};
    raster::line(image, Point{cx, baseY}, tip, fore);
}

void TGauge::drawPercentText(Image& picture, const Rect& paint) {
    TextRenderer* renderer = Renderer();
    if (!renderer) return;
    Image textImage(picture.width(), picture.height());
    // The text is always white, whatever colour the font carries: combined by exclusive-or, each of
    // its pixels inverts the picture beneath it.
    Font font = GetFont();
    font.rgb = kWhite;
    const std::string text = formatMessage("%d%%", {std::int64_t{PercentDone()}});
    const Size size = renderer->measure(font, text);
    // Image coordinates, centred on the paint rectangle's span, not offsets from its corner.
    const int x = clampToInt((std::int64_t{paint.right} - paint.left + 1 - size.width) / 2);
    const int y = clampToInt((std::int64_t{paint.bottom} - paint.top + 1 - size.height) / 2);
    renderer->draw(textImage, x, y, paint, font, text, kWhite);
    raster::xorImage(picture, textImage);
}

}  // namespace zozuz
