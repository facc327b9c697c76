#include "editor/EditView.h"

#include <algorithm>
#include <optional>

#include "editor/EditKeyMap.h"

namespace zozuz {

// --- Keys and mouse ---

void EditView::verticalMove(Pos lines, bool extend) {
    if (goalX_ < 0) goalX_ = xOfCaret();
    const std::int64_t goal = goalX_;
    const Pos line = existingLine(caretLine() + lines);
    // positionAt measures from the top line in view; a line out of view is first scrolled to.
    if (line < topLine_ || line >= topLine_ + visibleRows()) {
        topLine_ = line < topLine_ ? line : line - visibleRows() + 1;
        clampScroll();
    }
    bool pastEnd = false;
    const Pos position = positionInLine(line, goal, pastEnd);
    moveCaret(position, extend, pastEnd);
    goalX_ = goal;
}

bool EditView::key(const KeyEvent& key) {
    if (key.kind != KeyEvent::Kind::Down) return false;
    const std::optional<EditCommand> command = EditKeyMap::find(key);
    // Up, Down, PgUp and PgDn aim for the x of the first of them; every other key forgets it.
    if (!command || !EditKeyMap::isVertical(*command)) goalX_ = -1;
    if (command) return perform(*command, key.shift);
    // Other shortcuts with Ctrl are the window's.
    if (key.ctrl && !key.alt) return false;
    // Typed text; Ctrl with Alt is AltGr on many keyboards and types as well.
    if ((!key.alt || key.ctrl) && !key.text.empty()) {
        const auto first = static_cast<std::uint8_t>(key.text[0]);
        if (first < 0x20 || first == 0x7F) return false;
        typeText(key.text);
        return true;
    }
    return false;
}

bool EditView::perform(EditCommand command, bool extend) {
    const Pos caret = edit_.caret();
    switch (command) {
        case EditCommand::CharacterLeft:
            if (edit_.hasSelection() && !extend) moveCaret(edit_.selectionStart(), false);
            else moveCaret(previousStop(caret), extend);
            break;
        case EditCommand::CharacterRight:
            if (edit_.hasSelection() && !extend) moveCaret(edit_.selectionEnd(), false);
            else moveCaret(nextStop(caret), extend);
            break;
        case EditCommand::WordLeft: moveCaret(wordLeft(caret), extend); break;
        case EditCommand::WordRight: moveCaret(wordRight(caret), extend); break;
        case EditCommand::LineUp: verticalMove(-1, extend); break;
        case EditCommand::LineDown: verticalMove(1, extend); break;
        case EditCommand::PageUp:
        case EditCommand::PageDown: {
            const Pos rows = command == EditCommand::PageUp ? -visibleRows() : visibleRows();
            topLine_ += rows;
            clampScroll();
            verticalMove(rows, extend);
            break;
        }
        case EditCommand::LineStart: moveCaret(lineStart(caretLine()), extend); break;
        case EditCommand::LineEnd: {
            // The caret stays on its display line, at its end, also where the next one starts there.
            const Pos line = caretLine();
            moveCaret(lineEnd(line), extend, isWrappedRowEnd(line, lineEnd(line)));
            break;
        }
        case EditCommand::DocumentStart: moveCaret(0, extend); break;
        case EditCommand::DocumentEnd: moveCaret(edit_.textLength(), extend); break;
        case EditCommand::DeleteBackward: deleteCharacter(false); break;
        case EditCommand::DeleteForward: deleteCharacter(true); break;
        case EditCommand::Cut: cut(); break;
        case EditCommand::Copy: copy(); break;
        case EditCommand::Paste: paste(); break;
        case EditCommand::Undo: undo(); break;
        case EditCommand::Redo: redo(); break;
        case EditCommand::SelectAll: selectAll(); break;
        case EditCommand::TypeBreak: typeText("\r\n"); break;
        case EditCommand::Nothing: break;
        case EditCommand::NotHandled: return false;
    }
    return true;
}

void EditView::mouse(const MouseEvent& event) {
    switch (event.kind) {
        case MouseEvent::Kind::Down: {
            if (event.button != MouseEvent::Button::Left) return;
            if (listener_) listener_->focusWanted();
            goalX_ = -1;
            bool pastEnd = false;
            const Pos position = positionAt(event.position, pastEnd);
            moveCaret(position, event.shift, pastEnd);
            dragging_ = true;
            return;
        }
        case MouseEvent::Kind::DoubleClick:
            if (event.button != MouseEvent::Button::Left) return;
            goalX_ = -1;
            selectWordAt(positionAt(event.position));
            dragging_ = false;
            return;
        case MouseEvent::Kind::Move: {
            if (!dragging_) return;
            // Leaving the view while dragging scrolls towards the pointer.
            if (event.position.y < 0) scrollToLine(topLine_ - 1);
            if (event.position.y >= size_.height) scrollToLine(topLine_ + 1);
            if (!wordWrap() && event.position.x < 0) scrollHorizontally(xOffset_ - lineHeight_);
            if (!wordWrap() && event.position.x >= size_.width) scrollHorizontally(xOffset_ + lineHeight_);
            const Point inside{static_cast<int>(std::clamp<std::int64_t>(event.position.x, -xOffset_, size_.width)),
                               std::clamp(event.position.y, 0, std::max(0, static_cast<int>(visibleRows()) * lineHeight_ - 1))};
            bool pastEnd = false;
            const Pos position = positionAt(inside, pastEnd);
            moveCaret(position, true, pastEnd);
            return;
        }
        case MouseEvent::Kind::Up:
            if (event.button == MouseEvent::Button::Left) dragging_ = false;
            return;
        case MouseEvent::Kind::Wheel: {
            // Small turns add up until they make a line; turning back drops what the other way left.
            if (event.wheelDelta == 0) return;
            if ((wheelRemainder_ < 0) != (event.wheelDelta < 0)) wheelRemainder_ = 0;
            wheelRemainder_ += event.wheelDelta;
            const std::int64_t lines = wheelRemainder_ / kWheelUnitsPerLine;
            wheelRemainder_ -= lines * kWheelUnitsPerLine;
            if (lines != 0) scrollToLine(topLine_ - lines);
            return;
        }
    }
}

}  // namespace zozuz
