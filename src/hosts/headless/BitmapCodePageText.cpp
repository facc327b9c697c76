#include "hosts/headless/BitmapCodePageText.h"

#include "base/LeadByteSet.h"
#include "base/Utf8Append.h"
#include "platform/gfx/Raster.h"

namespace zozuz {

std::string BitmapCodePageText::toUtf8(std::string_view bytes) const {
    constexpr LeadByteSet lead = LeadByteSet::codePage936();
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = lead.contains(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        appendUtf8(out, codec_.decode(bytes.substr(i, length)).value_or(U'\uFFFD'));
        i += length;
    }
    return out;
}

int BitmapCodePageText::advance(const Font& font, std::string_view character) {
    return renderer_.measure(font, toUtf8(character)).width;
}

void ImageCodePageCanvas::fill(const Rect& area, std::uint32_t rgb) { raster::fillRect(image_, area.intersected(clip_), rgb); }

void ImageCodePageCanvas::drawText(Point at, std::string_view bytes, const Font& font, std::uint32_t rgb) {
    renderer_.draw(image_, at.x, at.y, clip_, font, text_.toUtf8(bytes), rgb);
}

}  // namespace zozuz
