#pragma once

// Drives an EditView with a stream of keys, mouse events, clipboard and input-method events, and
// checks after each one against a plain byte string edited the obvious way: the text must be exactly
// the model's (every untouched byte survives), and the caret and the anchor must stand on caret
// stops worked out here from scratch. After a navigation key the caret must stand where the model
// puts it (characters, words, display lines, the x kept by Up and Down), with the anchor left behind
// under Shift and joining the caret without. The x of the caret and of the runs laid out must be
// those of a walk from the line's start; the view indexes lines longer than a few bytes here, so
// that its index of long lines is checked on short ones. Shared by the randomised unit test and the
// fuzz target.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "EditControlModel.h"
#include "EditViewFixture.h"

namespace zozuz::view_model {

using Pos = EditControl::Pos;
using model::ByteStream;

class Checker {
public:
    using Fail = std::function<void(const std::string&)>;

    explicit Checker(Fail fail) : fail_(std::move(fail)) {
        rig_.view.setViewSize({200, 80});
        rig_.view.setCheckpointSpacing(kCheckpointSpacing);
        history_.push_back("");
    }

    void run(ByteStream& in, std::size_t maxOperations) {
        for (std::size_t i = 0; i < maxOperations && !in.done() && !failed_; ++i) {
            step(in);
            check();
        }
    }

private:
    // --- The obvious model ---

    bool isLead(char b) const { return LeadByteSet::codePage936().contains(b); }

    // Scanned along editor lines, whatever word wrap does: a display line must never end inside a
    // character, and reading no display line leaves word wrap's division as partial as the view left it.
    std::set<Pos> referenceStops() const {
        std::set<Pos> stops;
        const EditControl& edit = rig_.edit;
        for (Pos line = 0; line < edit.editorLineCount(); ++line) {
            const Pos start = edit.editorLineStart(line);
            const Pos end = start + edit.editorLineLength(line);
            Pos p = start;
            while (p < end) {
                stops.insert(p);
                const bool pair = isLead(text_[p]) && p + 1 < end &&
                                  rig_.codec.decode(std::string_view(text_).substr(p, 2)).has_value();
                p += pair ? 2 : 1;
            }
            stops.insert(end);
        }
        return stops;
    }

    std::string normalised(const std::string& bytes) const {
        std::string out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                out += "\r\n";
                ++i;
            } else if (bytes[i] == '\r' || bytes[i] == '\n') {
                out += "\r\n";
            } else if (isLead(bytes[i]) && i + 1 < bytes.size()) {
                out += bytes.substr(i, 2);
                ++i;
            } else {
                out += bytes[i];
            }
        }
        return out;
    }

    void replaceSelectionInModel(const std::string& bytes) {
        if (rig_.edit.readOnly()) return;
        const Pos start = rig_.edit.selectionStart();
        text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(rig_.edit.selectionEnd() - start), bytes);
    }

    // --- Where navigation keys put the caret ---

    // Display lines come from the control (word wrap's division is its business); the characters on
    // them are the reference stops, as a display line never divides a character.
    Pos displayLineStart(Pos line) const { return rig_.edit.lineIndex(line); }
    Pos displayLineEnd(Pos line) const {
        const Pos start = rig_.edit.lineIndex(line);
        return start + rig_.edit.lineLength(start);
    }
    std::vector<Pos> charactersOf(Pos line, const std::set<Pos>& stops) const {
        const Pos end = displayLineEnd(line);
        std::vector<Pos> out;
        for (auto it = stops.lower_bound(displayLineStart(line)); it != stops.end() && *it < end; ++it) out.push_back(*it);
        return out;
    }

    // Words are runs of one class: blanks, word characters (letters, digits, '_' and everything
    // beyond ASCII) and the rest, each character classed by its first byte.
    enum class WordClass { Blank, Word, Other };
    WordClass classAt(Pos p) const {
        const auto b = static_cast<unsigned char>(text_[static_cast<std::size_t>(p)]);
        if (b == ' ' || b == '\t') return WordClass::Blank;
        if (b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_')
            return WordClass::Word;
        return WordClass::Other;
    }

    static Pos stopAfter(Pos p, const std::set<Pos>& stops) {
        const auto it = stops.upper_bound(p);
        return it == stops.end() ? p : *it;
    }
    static Pos stopBefore(Pos p, const std::set<Pos>& stops) {
        const auto it = stops.lower_bound(p);
        return it == stops.begin() ? p : *std::prev(it);
    }

    // Ctrl+Right: over the rest of the word (or run of other characters) and the blanks after it, to
    // the end of the display line at most; from a line's end to the next line.
    Pos wordRight(Pos p, const std::set<Pos>& stops) const {
        if (p >= static_cast<Pos>(text_.size())) return static_cast<Pos>(text_.size());
        const Pos line = rig_.edit.lineFromPosition(p);
        const Pos end = displayLineEnd(line);
        if (p >= end) return stopAfter(p, stops);
        const std::vector<Pos> chars = charactersOf(line, stops);
        std::size_t i = 0;
        while (i < chars.size() && chars[i] < p) ++i;
        if (i < chars.size() && classAt(chars[i]) != WordClass::Blank) {
            const WordClass run = classAt(chars[i]);
            while (i < chars.size() && classAt(chars[i]) == run) ++i;
        }
        while (i < chars.size() && classAt(chars[i]) == WordClass::Blank) ++i;
        return i < chars.size() ? chars[i] : end;
    }

    // Ctrl+Left: back over blanks to the start of the word before; over a line break to the end of
    // the line before.
    Pos wordLeft(Pos p, const std::set<Pos>& stops) const {
        const Pos previous = stopBefore(p, stops);
        if (previous == p) return p;
        if (p - previous == 2 && text_.compare(static_cast<std::size_t>(previous), 2, "\r\n") == 0) return previous;
        const std::vector<Pos> chars = charactersOf(rig_.edit.lineFromPosition(previous), stops);
        if (chars.empty()) return previous;
        std::size_t i = 0;
        while (i + 1 < chars.size() && chars[i] < previous) ++i;
        while (i > 0 && classAt(chars[i]) == WordClass::Blank) --i;
        const WordClass run = classAt(chars[i]);
        while (i > 0 && classAt(chars[i - 1]) == run) --i;
        return chars[i];
    }

    // How wide a character is drawn at x: tabs to the next tab stop (eight average characters),
    // bytes that form no character of the code page and control bytes as boxes, and the rest as
    // the font measures them.
    int widthAt(Pos p, Pos length, std::int64_t x) {
        const auto b = static_cast<unsigned char>(text_[static_cast<std::size_t>(p)]);
        if (b == '\t') {
            const int tab = std::max(1, 8 * rig_.text.averageCharWidth(rig_.view.font()));
            return tab - static_cast<int>(x % tab);
        }
        const std::string_view bytes = std::string_view(text_).substr(static_cast<std::size_t>(p), static_cast<std::size_t>(length));
        const bool box = length == 1 && (b < 0x20 || b == 0x7F || isLead(text_[static_cast<std::size_t>(p)]) ||
                                         !rig_.codec.decode(bytes).has_value());
        return box ? testing::EditViewRig::kBoxWidth : rig_.text.advance(rig_.view.font(), bytes);
    }

    // Up and Down keep the caret's x: on the new line the caret goes before the first character
    // whose middle lies right of it, or to the line's end.
    Pos verticalTarget(Pos fromLine, Pos toLine, const std::set<Pos>& stops) {
        const Pos caret = rig_.view.caret();
        int goal = 0;
        {
            const std::vector<Pos> chars = charactersOf(fromLine, stops);
            const Pos end = displayLineEnd(fromLine);
            for (std::size_t i = 0; i < chars.size() && chars[i] < caret; ++i)
                goal += widthAt(chars[i], (i + 1 < chars.size() ? chars[i + 1] : end) - chars[i], goal);
        }
        const std::vector<Pos> chars = charactersOf(toLine, stops);
        const Pos end = displayLineEnd(toLine);
        int x = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const int width = widthAt(chars[i], (i + 1 < chars.size() ? chars[i + 1] : end) - chars[i], x);
            if (goal < x + width / 2) return chars[i];
            x += width;
        }
        return end;
    }

    // The x of each character of a display line and of its end, walked from the line's start.
    std::map<Pos, std::int64_t> xsOfLine(Pos line, const std::set<Pos>& stops) {
        std::map<Pos, std::int64_t> xs;
        const std::vector<Pos> chars = charactersOf(line, stops);
        const Pos end = displayLineEnd(line);
        std::int64_t x = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            xs[chars[i]] = x;
            x += widthAt(chars[i], (i + 1 < chars.size() ? chars[i + 1] : end) - chars[i], x);
        }
        xs[end] = x;
        return xs;
    }

    void checkXs(const std::set<Pos>& stops) {
        EditView& view = rig_.view;
        const Pos caret = view.caret();
        const std::int64_t x = xsOfLine(view.caretLine(), stops)[caret];
        if (view.xOfCaret() != x) fail("the caret's x is " + std::to_string(view.xOfCaret()) + " instead of " + std::to_string(x));
        // The composed text moves what follows it; the model leaves it out.
        if (!view.preedit().empty()) return;
        for (const EditView::LineLayout& layout : view.visibleLines()) {
            const std::map<Pos, std::int64_t> xs = xsOfLine(layout.line, stops);
            for (const EditView::Run& run : layout.runs) {
                const auto found = xs.find(run.start);
                if (found == xs.end() || found->second != run.x) {
                    fail("a run at " + std::to_string(run.start) + " laid out at x " + std::to_string(run.x));
                    return;
                }
            }
        }
    }

    Pos existingLine(Pos line) const {
        if (line <= 0) return 0;
        return rig_.edit.lineIndex(line) >= 0 ? line : rig_.edit.lineCount() - 1;
    }

    // Sets what a navigation key must do: the caret's new place, or for the vertical keys the display
    // line it must show on, and the anchor staying with Shift or joining the caret without.
    void predictNavigation(std::uint8_t key, bool shift, bool ctrl, const std::set<Pos>& stops) {
        const EditView& view = rig_.view;
        const Pos caret = view.caret();
        const Pos shown = view.caretLine();
        const Pos length = static_cast<Pos>(text_.size());
        expectedAnchor_ = shift ? std::optional<Pos>(view.anchor()) : std::nullopt;
        anchorJoinsCaret_ = !shift;
        const bool collapse = rig_.edit.hasSelection() && !shift && !ctrl;
        switch (key) {
            case vk::Left:
                expectedCaret_ = ctrl ? wordLeft(caret, stops) : collapse ? rig_.edit.selectionStart() : stopBefore(caret, stops);
                break;
            case vk::Right:
                expectedCaret_ = ctrl ? wordRight(caret, stops) : collapse ? rig_.edit.selectionEnd() : stopAfter(caret, stops);
                break;
            case vk::Home: expectedCaret_ = ctrl ? 0 : displayLineStart(shown); break;
            case vk::End: expectedCaret_ = ctrl ? length : displayLineEnd(shown); break;
            case vk::Up:
            case vk::Down:
            case vk::Prior:
            case vk::Next: {
                const Pos rows = key == vk::Up || key == vk::Down ? 1 : rig_.view.visibleRows();
                expectedLine_ = existingLine(key == vk::Up || key == vk::Prior ? shown - rows : shown + rows);
                // The x kept from earlier vertical moves is the view's own; after any other key it
                // is the caret's.
                if (goalIsCaretsX_) expectedCaret_ = verticalTarget(shown, *expectedLine_, stops);
                break;
            }
            default:  // an edit, not a move
                expectedAnchor_.reset();
                anchorJoinsCaret_ = false;
                break;
        }
    }

    // --- Random input ---

    std::string randomUtf8(ByteStream& in, std::size_t maxCharacters) {
        static const char* const kPieces[] = {"a", " ", "中", "文", "\n", "\r", "\r\n", "😀", "€", "\t", "ü", "·"};
        std::string out;
        const std::size_t n = in.byte() % (maxCharacters + 1);
        for (std::size_t i = 0; i < n; ++i) out += kPieces[in.byte() % std::size(kPieces)];
        return out;
    }

    std::string randomBytes(ByteStream& in, std::size_t maxLength) {
        static constexpr char kAlphabet[] = {'\r', '\n', ' ', 'a', '\0', '\xB0', '\xA1', '\x81', '\xD6', '\xD0', '\x80', '\xFF', '\t', '\x30'};
        std::string out;
        const std::size_t n = in.byte() % (maxLength + 1);
        for (std::size_t i = 0; i < n; ++i) out.push_back(kAlphabet[in.byte() % sizeof kAlphabet]);
        return out;
    }

    Point randomPoint(ByteStream& in) {
        return {static_cast<int>(in.byte()) - 20, static_cast<int>(in.byte() % 120) - 20};
    }

    void step(ByteStream& in) {
        const bool goalWasCaretsX = goalIsCaretsX_;
        goalIsCaretsX_ = false;
        rememberBefore();
        EditView& view = rig_.view;
        const bool readOnly = rig_.edit.readOnly();
        const std::set<Pos> stops = referenceStops();
        const Pos caret = view.caret();
        const bool selection = rig_.edit.hasSelection();
        const int op = in.byte() % 14;
        lastOp_ = "operation " + std::to_string(op);
        switch (op) {
            case 0:
            case 1: {
                const std::string text = randomUtf8(in, 3);
                if (text.empty() || static_cast<unsigned char>(text[0]) < 0x20) break;
                replaceSelectionInModel(rig_.codec.encode(text));
                rig_.type(text);
                goalIsCaretsX_ = true;
                break;
            }
            case 2:
            case 3: {
                static constexpr std::uint8_t kKeys[] = {vk::Left, vk::Right, vk::Up, vk::Down, vk::Home, vk::End,
                                                         vk::Prior, vk::Next, vk::Back, vk::Delete, vk::Return, vk::Tab};
                const std::uint8_t key = kKeys[in.byte() % sizeof kKeys];
                const std::uint8_t modifiers = in.byte();
                const bool shift = modifiers & 1;
                const bool ctrl = (modifiers & 2) != 0;
                lastOp_ = "key " + std::to_string(key) + (shift ? " shift" : "") + (ctrl ? " ctrl" : "") + " at caret " +
                          std::to_string(caret) + (selection ? " with a selection" : "") + (readOnly ? " read-only" : "") +
                          (view.wordWrap() ? " wrapped" : "");
                goalIsCaretsX_ = goalWasCaretsX;
                predictNavigation(key, shift, ctrl, stops);
                goalIsCaretsX_ = !(key == vk::Up || key == vk::Down || key == vk::Prior || key == vk::Next);
                if (key == vk::Back || key == vk::Delete) {
                    if (key == vk::Delete && shift && !ctrl) {
                        if (selection && !readOnly) expectedClipboard_ = rig_.edit.range(rig_.edit.selectionStart(), rig_.edit.selectionEnd());
                        replaceSelectionInModel("");
                    } else if (selection) {
                        replaceSelectionInModel("");
                    } else if (!readOnly) {
                        auto it = stops.find(caret);
                        if (key == vk::Back && it != stops.begin()) {
                            const Pos before = *std::prev(it);
                            text_.erase(static_cast<std::size_t>(before), static_cast<std::size_t>(caret - before));
                        } else if (key == vk::Delete && std::next(it) != stops.end()) {
                            const Pos after = *std::next(it);
                            text_.erase(static_cast<std::size_t>(caret), static_cast<std::size_t>(after - caret));
                        }
                    }
                } else if (key == vk::Return && !ctrl) {
                    replaceSelectionInModel("\r\n");
                }
                rig_.press(key, shift, ctrl);
                checkCaretInView_ = true;
                break;
            }
            case 4: {
                MouseEvent event;
                static constexpr MouseEvent::Kind kKinds[] = {MouseEvent::Kind::Down, MouseEvent::Kind::Move,
                                                              MouseEvent::Kind::Up, MouseEvent::Kind::DoubleClick,
                                                              MouseEvent::Kind::Wheel};
                event.kind = kKinds[in.byte() % std::size(kKinds)];
                event.button = MouseEvent::Button::Left;
                event.position = randomPoint(in);
                event.shift = in.byte() & 1;
                event.wheelDelta = (static_cast<int>(in.byte() % 5) - 2) * 120;
                view.mouse(event);
                break;
            }
            case 5: {
                const std::string bytes = randomBytes(in, 12);
                rig_.clipboard.put("text", bytes);
                expectedClipboard_ = bytes;
                // Bytes no copy puts (empty, or with a zero byte) give way to the text beside them.
                const bool exact = !bytes.empty() && bytes.find('\0') == std::string::npos;
                replaceSelectionInModel(exact ? bytes : "text");
                view.paste();
                break;
            }
            case 6: {
                const std::string text = randomUtf8(in, 6);
                rig_.clipboard.offerText(text);
                expectedClipboard_.reset();
                replaceSelectionInModel(normalised(rig_.codec.encode(text)));
                view.paste();
                break;
            }
            case 7:
                if (selection && !readOnly) {
                    expectedClipboard_ = rig_.edit.range(rig_.edit.selectionStart(), rig_.edit.selectionEnd());
                    replaceSelectionInModel("");
                }
                view.cut();
                break;
            case 8:
                if (selection) expectedClipboard_ = rig_.edit.range(rig_.edit.selectionStart(), rig_.edit.selectionEnd());
                view.copy();
                break;
            case 9: {
                const bool done = in.byte() & 1 ? view.undo() : view.redo();
                if (done) {
                    if (std::find(history_.begin(), history_.end(), rig_.edit.text()) == history_.end()) {
                        fail("undo or redo made a text that never existed");
                    }
                    text_ = rig_.edit.text();
                }
                break;
            }
            case 10: {
                const std::string text = randomUtf8(in, 3);
                if (in.byte() & 1) {
                    view.setPreedit(text);
                } else {
                    if (!text.empty()) replaceSelectionInModel(rig_.codec.encode(text));
                    view.commitText(text);
                }
                break;
            }
            case 11:
                if (in.byte() & 1) view.setWordWrap(!view.wordWrap());
                else view.setViewSize({40 + in.byte() % 200, 16 + in.byte() % 100});
                checkCaretInView_ = true;
                break;
            case 12:
                rig_.edit.setReadOnly(!readOnly);
                break;
            case 13:
                view.select(in.upTo(rig_.edit.textLength()), in.upTo(rig_.edit.textLength()));
                checkCaretInView_ = true;
                break;
        }
    }

    void rememberBefore() {
        checkCaretInView_ = false;
        expectedCaret_.reset();
        expectedAnchor_.reset();
        expectedLine_.reset();
        anchorJoinsCaret_ = false;
        caretBefore_ = rig_.view.caret();
        textBefore_ = text_;
    }

    void check() {
        if (failed_) return;
        // The control's storage, word wrap's division as far as it has got included.
        rig_.edit.checkInvariants();
        const std::string actual = rig_.edit.text();
        if (actual != text_) {
            fail("text differs: " + std::to_string(actual.size()) + " bytes against " + std::to_string(text_.size()));
            return;
        }
        if (history_.back() != actual) history_.push_back(actual);
        const std::set<Pos> stops = referenceStops();
        if (!stops.count(rig_.view.caret())) fail("caret inside a character at " + std::to_string(rig_.view.caret()));
        if (!stops.count(rig_.view.anchor())) fail("anchor inside a character at " + std::to_string(rig_.view.anchor()));
        if (expectedClipboard_ && rig_.clipboard.bytes() != expectedClipboard_) fail("clipboard bytes differ");
        checkNavigation();
        checkXs(stops);
        // A key that changed nothing (a refused edit, Up on the first line) leaves the view where the
        // wheel may have put it.
        // The caret shows on its own display line, or at the end of the one before where word wrap
        // divided the two at the caret.
        const Pos caret = rig_.view.caret();
        const Pos own = rig_.edit.lineFromPosition(caret);
        const Pos shown = rig_.view.caretLine();
        if (shown != own && !(shown == own - 1 && rig_.edit.lineIndex(own) == caret && rig_.view.wordWrap())) {
            fail("caret at " + std::to_string(caret) + " shown on line " + std::to_string(shown));
        }
        if (checkCaretInView_ && (caret != caretBefore_ || actual != textBefore_)) {
            const Pos line = shown;
            if (line < rig_.view.topLine() || line >= rig_.view.topLine() + rig_.view.visibleRows()) {
                fail("caret line " + std::to_string(line) + " out of view from " + std::to_string(rig_.view.topLine()));
            }
        }
    }

    void checkNavigation() {
        const EditView& view = rig_.view;
        if (expectedCaret_ && view.caret() != *expectedCaret_) {
            fail("caret at " + std::to_string(view.caret()) + " instead of " + std::to_string(*expectedCaret_));
        }
        // Up and Down go to the display line above or below, stopping at the first and the last.
        if (expectedLine_ && view.caretLine() != *expectedLine_) {
            fail("caret shown on line " + std::to_string(view.caretLine()) + " instead of " + std::to_string(*expectedLine_));
        }
        if (expectedAnchor_ && view.anchor() != *expectedAnchor_) {
            fail("anchor at " + std::to_string(view.anchor()) + " instead of staying at " + std::to_string(*expectedAnchor_));
        }
        if (anchorJoinsCaret_ && view.anchor() != view.caret()) {
            fail("a selection from " + std::to_string(view.anchor()) + " is left without Shift");
        }
    }

    void fail(const std::string& what) {
        failed_ = true;
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string hex;
        for (const char c : text_.substr(0, 64)) {
            hex += kHex[static_cast<unsigned char>(c) >> 4];
            hex += kHex[c & 15];
            hex += ' ';
        }
        fail_(what + " after " + lastOp_ + (rig_.view.wordWrap() ? " (wrapped)" : "") + "; text " + hex);
    }

    // Lines longer than this are indexed: an odd spacing puts checkpoints between the bytes of
    // double-byte characters as often as before them.
    static constexpr Pos kCheckpointSpacing = 3;

    testing::EditViewRig rig_;
    std::string text_;
    std::vector<std::string> history_;
    std::optional<std::string> expectedClipboard_;
    bool checkCaretInView_ = false;
    // What the last navigation key must have done; empty for other operations.
    std::optional<Pos> expectedCaret_;
    std::optional<Pos> expectedAnchor_;
    std::optional<Pos> expectedLine_;
    // Whether the last operation was a key other than Up, Down, Page Up and Page Down.
    bool goalIsCaretsX_ = false;
    bool anchorJoinsCaret_ = false;
    std::string lastOp_;
    Pos caretBefore_ = 0;
    std::string textBefore_;
    bool failed_ = false;
    Fail fail_;
};

}  // namespace zozuz::view_model
