#pragma once

// An EditView on the headless host's services: the C library's code page 936, the bitmap font
// (a 16-pixel font advances 12 pixels per character, double-byte ones included, on 16-pixel lines)
// and a clipboard in memory.

#include <string>
#include <string_view>

#include "editor/EditControl.h"
#include "editor/EditView.h"
#include "hosts/headless/BitmapCodePageText.h"
#include "platform/files/SystemCodePageCodec.h"
#include "hosts/headless/MemoryClipboard.h"

namespace zozuz::testing {

struct EditViewRig {
    static constexpr int kAdvance = 12;
    static constexpr int kLineHeight = 16;
    static constexpr int kBoxWidth = 16;

    SystemCodePageCodec codec;
    BitmapCodePageText text{codec};
    MemoryClipboard clipboard;
    EditControl edit;
    EditView view{edit, codec, text, clipboard};

    explicit EditViewRig(Size size = {240, 160}) { view.setViewSize(size); }

    void setText(std::string_view bytes, EditControl::Pos caret = 0) {
        edit.setText(bytes);
        view.select(caret, caret);
    }

    bool press(std::uint8_t virtualKey, bool shift = false, bool ctrl = false, bool alt = false) {
        KeyEvent key;
        key.virtualKey = virtualKey;
        key.shift = shift;
        key.ctrl = ctrl;
        key.alt = alt;
        return view.key(key);
    }

    bool type(std::string_view utf8) {
        KeyEvent key;
        key.virtualKey = 'A';
        key.text = std::string(utf8);
        return view.key(key);
    }

    void click(Point at, MouseEvent::Kind kind = MouseEvent::Kind::Down, bool shift = false) {
        MouseEvent event;
        event.kind = kind;
        event.button = MouseEvent::Button::Left;
        event.position = at;
        event.shift = shift;
        view.mouse(event);
    }

    // The point in the middle of the character cell at x (from the line start) on a row in view.
    static Point cell(int x, int row) { return {EditView::kMargin + x + 1, row * kLineHeight + kLineHeight / 2}; }
};

}  // namespace zozuz::testing
