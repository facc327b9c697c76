#pragma once

#include <string_view>

#include "platform/gfx/Font.h"

namespace zozuz {

// Measuring text given as bytes of the system code page in a font; the host decodes the bytes at its
// edge. A Windows host answers with GetTextExtentPoint32A and GetTextMetrics on a device context.
class CodePageTextMeasure {
public:
    virtual ~CodePageTextMeasure() = default;

    // The advance in pixels of one valid character (one byte, or a lead byte with its trail byte).
    virtual int advance(const Font& font, std::string_view character) = 0;
    // The height of a line of text: ascent, descent and the font's external leading.
    virtual int lineHeight(const Font& font) = 0;
    // The font's average character width, the unit of the edit control's tab stops.
    virtual int averageCharWidth(const Font& font) = 0;
};

}  // namespace zozuz
