#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/LeadByteSet.h"
#include "document/LineBreaks.h"
#include "document/LoneBreakCount.h"
#include "editor/EditControl.h"

namespace zozuz {

class EditorHost;

// The editor's text seen as a list of byte lines. It keeps no copy of the text: every operation asks
// the editor afresh and changes it at once. Lines are separated by CR LF only; a last empty line is
// not counted. The line operations (count, get, put) work on the editor's lines, which are its
// display lines while word wrap is on; the byte-range operations below them read and write any
// bytes whole, whatever the word-wrap setting.
class TMemoStrings {
public:
    using Index = std::int64_t;

    // The most bytes one get line returns.
    static constexpr std::size_t kMaxLineRead = 4096;

    explicit TMemoStrings(EditControl& editor, LeadByteSet leadBytes = LeadByteSet::codePage936(),
                          EditorHost* host = nullptr);
    TMemoStrings(const TMemoStrings&) = delete;
    TMemoStrings& operator=(const TMemoStrings&) = delete;

    void setHost(EditorHost* host) { host_ = host; }

    // --- Lines ---
    // The number of lines, without a last empty one.
    Index count() const;
    // At most the first 4096 bytes of a line, cut at a byte; the empty line for an index that does
    // not exist.
    std::string get(Index index) const;
    // Replaces a whole line, not undoable, with `line` up to its first zero byte. A CR LF inside it
    // becomes a line break. An index that does not exist changes nothing; the index one past the last
    // line appends a line when the text is empty or ends in CR LF.
    void put(Index index, std::string_view line);
    // Empties the text and the undo history.
    void clear();

    // --- Updates ---
    // Only the outermost pair switches the editor's redraw off and on again.
    void beginUpdate();
    void endUpdate();
    int updateDepth() const { return updateDepth_; }

    // Ends an update on every way out of a scope.
    class UpdateScope {
    public:
        explicit UpdateScope(TMemoStrings& strings) : strings_(strings) { strings_.beginUpdate(); }
        ~UpdateScope() { strings_.endUpdate(); }
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;

    private:
        TMemoStrings& strings_;
    };

    // --- Whole text ---
    std::string text() const;
    // Normalises the line breaks of `text` and makes the result, up to its first zero byte, the
    // editor's text. When the whole normalised text, zero byte and the bytes after it included,
    // equals the editor's text nothing changes (caret, selection and undo history stay). Fails with
    // EInvalidOperation "Text exceeds memo capacity" when the editor cannot hold it, leaving the
    // editor as it was.
    void setText(std::string_view text);
    // Makes `bytes` the editor's text exactly as they are: no normalisation and no cut at a zero
    // byte. The same capacity rule and the same "unchanged" rule apply.
    void setRawText(std::string_view bytes);

    // Takes a text that was read into a block of its own: `allocated` bytes, of which the first
    // `length` hold the text. With `plain` the text is loaded as setText loads it, otherwise as
    // setRawText does. The block itself becomes the editor's storage whenever it can hold the text
    // the editor takes, normalised in place if need be, so a large file's text is never copied.
    void adoptText(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated, bool plain);

    // Reads the text again from its start into `into`, at most `size` bytes, and returns how many it
    // read.
    using ReadAgain = std::function<std::size_t(char* into, std::size_t size)>;
    // adoptText for a plain text that `count` has counted whole (and finished). When normalising
    // adds more than the block has room for, the normalised text needs a block of its own. Holding
    // both at once costs at most two and a half times the text while the text grows by half at
    // most; a text that grows more (a run of empty lines doubles) has its block let go first and
    // `readAgain` fills the end of the new one, where the text is normalised in place. If the text
    // read again would grow more than it did the first time, it has changed since: EReadError
    // "Stream read error", the editor untouched.
    void adoptPlainText(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated,
                        const LoneBreakCount& count, const ReadAgain& readAgain);

    // --- Byte ranges, whatever the word-wrap setting ---
    // Fills `out` with the bytes from `start` to `end`, every byte value included.
    void editorText(EditControl::Pos start, EditControl::Pos end, std::string& out) const;
    // Replaces the bytes from `start` to `end`, every byte value included, not undoable; CR LF pairs
    // in `bytes` become line breaks. Returns false, changing nothing, when the editor cannot hold
    // the result.
    bool replaceEditorText(EditControl::Pos start, EditControl::Pos end, std::string_view bytes);

    // --- Flags ---
    bool readOnly() const;
    void setReadOnly(bool readOnly);
    bool wordWrap() const;
    // Switching to a new value rebuilds the editor's display as a new window would: the text and the
    // read-only flag stay, the caret goes to the start and the undo history is emptied. Setting the
    // value it already has does nothing.
    void setWordWrap(bool on, EditControl::WidthFunction measure = {}, int width = 0);

    EditControl& editor() { return editor_; }
    const EditControl& editor() const { return editor_; }
    const LineBreaks& lineBreaks() const { return lineBreaks_; }

    // Whether the editor can hold a text of `length` bytes; asked before a large text is even read.
    bool fits(std::uint64_t length) const;
    // The bytes to allocate for a text of `length` bytes that becomes the editor's storage: the
    // text, and room for the editor to grow into before it has to copy the text.
    static std::size_t blockSizeFor(std::size_t length) { return length + std::max<std::size_t>(4096, length / 64); }

private:
    bool editorTextEquals(std::string_view bytes) const;
    // Whether `text` with its line breaks normalised, `normalisedLength` bytes, is the editor's text.
    bool normalisedTextEquals(std::string_view text, std::size_t normalisedLength) const;
    // Hands a block to the editor as its new text.
    void adoptBlock(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated);
    // Gives `bytes` to the editor unless they are its text already.
    void replaceText(std::string_view bytes);
    // Gives `bytes` to the editor as its new text, also when they equal its text.
    void loadText(std::string_view bytes);

    EditControl& editor_;
    LineBreaks lineBreaks_;
    EditorHost* host_;
    int updateDepth_ = 0;
};

}  // namespace zozuz
