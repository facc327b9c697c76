#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/Image.h"
#include "hosts/headless/BitmapFontRenderer.h"
#include "platform/host/CodePageCanvas.h"
#include "platform/host/CodePageCodec.h"
#include "platform/host/CodePageTextMeasure.h"

namespace zozuz {

// Code-page text in the headless host's bitmap font: bytes are decoded with the codec and drawn as
// the bitmap font draws their Unicode characters (every character without a glyph as a hollow box).
class BitmapCodePageText final : public CodePageTextMeasure {
public:
    explicit BitmapCodePageText(const CodePageCodec& codec) : codec_(codec) {}

    int advance(const Font& font, std::string_view character) override;
    int lineHeight(const Font& font) override { return BitmapFontRenderer::cellHeight(font); }
    int averageCharWidth(const Font& font) override {
        return BitmapFontRenderer::kAdvanceDots * BitmapFontRenderer::scale(font);
    }

    // The bytes as UTF-8, a lead byte taking the byte after it; what does not decode becomes U+FFFD.
    std::string toUtf8(std::string_view bytes) const;
    const CodePageCodec& codec() const { return codec_; }

private:
    const CodePageCodec& codec_;
    BitmapFontRenderer renderer_;
};

// Paints into an image, clipped to a rectangle.
class ImageCodePageCanvas final : public CodePageCanvas {
public:
    ImageCodePageCanvas(Image& image, const Rect& clip, BitmapCodePageText& text)
        : image_(image), clip_(clip.intersected(image.bounds())), text_(text) {}

    void fill(const Rect& area, std::uint32_t rgb) override;
    void drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) override;

private:
    Image& image_;
    Rect clip_;
    BitmapCodePageText& text_;
    BitmapFontRenderer renderer_;
};

}  // namespace zozuz
