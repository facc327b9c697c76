#include "platform/headless/BitmapCodePageText.h"

#include "base/LeadByteSet.h"
#include "platform/gfx/Raster.h"

namespace zozuz {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

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
