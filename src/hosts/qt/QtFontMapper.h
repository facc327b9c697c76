#pragma once

#include <QFont>
#include <QStringList>

#include "platform/gfx/Font.h"

namespace zozuz {

// Turns the program's fonts into the desktop's. The program names Windows faces ("宋体",
// "仿宋_GB2312") that a Linux desktop does not have; such a face falls back to an installed font that
// covers Chinese, so that the program's captions and texts never show as empty boxes.
class QtFontMapper {
public:
    // The installed faces that cover Simplified Chinese, best first: serif faces first for a serif
    // name such as 宋体 (Song), sans faces first otherwise. Looked up once per process.
    static const QStringList& chineseFallbacks(bool serif);

    // The QFont for a program font: its face when installed, then the fallbacks; the character
    // height in pixels (the em height, internal leading excluded, as the program measures it).
    static QFont toQFont(const Font& font);
};

}  // namespace zozuz
