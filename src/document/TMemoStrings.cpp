#include "document/TMemoStrings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>

#include "base/Assert.h"
#include "base/Exception.h"
#include "document/EditorHost.h"
#include "document/LineBreakStream.h"

namespace zozuz {

namespace {

// The bytes before the first zero byte: the editor's lines take nothing from a zero byte on.
std::string_view beforeFirstZero(std::string_view bytes) {
    if (bytes.empty()) return bytes;
    const void* zero = std::memchr(bytes.data(), '\0', bytes.size());
    return zero == nullptr ? bytes : bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data()));
}

[[noreturn]] void throwCapacity() { throw EInvalidOperation(std::string(messages::kTextExceedsCapacity)); }

}  // namespace

TMemoStrings::TMemoStrings(EditControl& editor, LeadByteSet leadBytes, EditorHost* host)
    : editor_(editor), lineBreaks_(leadBytes), host_(host) {}

TMemoStrings::Index TMemoStrings::count() const {
    const Index lines = editor_.lineCount();
    const EditControl::Pos lastStart = editor_.lineIndex(lines - 1);
    return editor_.lineLength(lastStart) == 0 ? lines - 1 : lines;
}

std::string TMemoStrings::get(Index index) const {
    if (index < 0) return {};
    std::array<char, kMaxLineRead> buffer;
    const std::size_t copied = editor_.getLine(index, buffer.data(), buffer.size());
    return std::string(buffer.data(), copied);
}

void TMemoStrings::put(Index index, std::string_view line) {
    if (index < 0) return;
    const EditControl::Pos start = editor_.lineIndex(index);
    if (start < 0) return;
    const EditControl::Pos length = editor_.lineLength(start);
    editor_.setSelection(start, start + length);
    // A replacement the editor cannot hold is dropped without a word, as every put line failure is.
    editor_.replaceSelection(beforeFirstZero(line), false);
}

void TMemoStrings::clear() { editor_.setText({}); }

void TMemoStrings::beginUpdate() {
    if (updateDepth_ == 0 && host_ != nullptr && host_->editorWindowExists()) host_->setEditorRedraw(false);
    ++updateDepth_;
}

void TMemoStrings::endUpdate() {
    if (updateDepth_ == 0) return;  // an unpaired end must not switch anything
    --updateDepth_;
    if (updateDepth_ == 0 && host_ != nullptr && host_->editorWindowExists()) {
        host_->setEditorRedraw(true);
        host_->refreshEditor();
    }
}

std::string TMemoStrings::text() const { return editor_.text(); }

void TMemoStrings::setText(std::string_view text) {
    // The whole text is compared, the bytes after a zero byte included: a text that differs from the
    // editor's only there is still a new text, and loading it resets the caret and the undo history.
    const std::size_t wholeAdded = lineBreaks_.countLoneBreaks(text);
    if (normalisedTextEquals(text, text.size() + wholeAdded)) return;
    const std::string_view loaded = beforeFirstZero(text);
    // Cutting before normalising gives the same bytes as normalising first and cutting after: a CR or
    // a lead byte right before the zero ends up the same either way. Counting first lets a text that
    // would outgrow the editor be refused before its normalised copy is made.
    const std::size_t added = loaded.size() == text.size() ? wholeAdded : lineBreaks_.countLoneBreaks(loaded);
    if (!fits(static_cast<std::uint64_t>(loaded.size()) + added)) throwCapacity();
    if (added == 0) {
        loadText(loaded);
        return;
    }
    // Normalised straight into the block that the editor takes over, so that the text is copied
    // once only.
    const std::size_t length = loaded.size() + added;
    auto block = std::make_unique_for_overwrite<char[]>(blockSizeFor(length));
    lineBreaks_.normaliseInto(loaded, block.get());
    adoptBlock(std::move(block), length, blockSizeFor(length));
}

void TMemoStrings::setRawText(std::string_view bytes) {
    if (!fits(bytes.size())) throwCapacity();
    replaceText(bytes);
}

void TMemoStrings::adoptText(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated, bool plain) {
    if (plain) {
        LoneBreakCount count(lineBreaks_.leadBytes());
        count.feed(block.get(), length);
        count.finish();
        adoptPlainText(std::move(block), length, allocated, count, {});
        return;
    }
    const std::string_view bytes(block.get(), length);
    if (!fits(bytes.size())) throwCapacity();
    if (editorTextEquals(bytes)) return;
    adoptBlock(std::move(block), bytes.size(), allocated);
}

void TMemoStrings::adoptPlainText(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated,
                                  const LoneBreakCount& count, const ReadAgain& readAgain) {
    ZOZUZ_ASSERT(count.length() == length && length <= allocated);
    // Compared whole and then cut at a zero byte, as setText does.
    if (normalisedTextEquals(std::string_view(block.get(), length), length + count.added())) return;
    const std::size_t loaded = count.firstZero();
    const std::size_t added = count.addedBeforeZero();
    const std::size_t normalised = loaded + added;
    if (!fits(normalised)) throwCapacity();
    if (added == 0) {
        adoptBlock(std::move(block), loaded, allocated);
        return;
    }
    if (allocated >= normalised + std::max<std::size_t>(4096, normalised / 256)) {
        // The block has room for the added bytes, and some left for the editor: the text moves to
        // its end and is normalised from there to its start.
        std::memmove(block.get() + added, block.get(), loaded);
        [[maybe_unused]] const std::size_t written = lineBreaks_.normaliseInPlace(block.get(), added, loaded);
        ZOZUZ_ASSERT(written == normalised);
        adoptBlock(std::move(block), normalised, allocated);
        return;
    }
    const std::size_t room = blockSizeFor(normalised);
    if (added <= loaded / 2 || !readAgain) {
        auto fresh = std::make_unique_for_overwrite<char[]>(room);
        lineBreaks_.normaliseInto(std::string_view(block.get(), loaded), fresh.get());
        block.reset();
        adoptBlock(std::move(fresh), normalised, room);
        return;
    }
    block.reset();
    auto fresh = std::make_unique_for_overwrite<char[]>(room);
    const std::size_t got = readAgain(fresh.get() + added, loaded);
    // What came the second time is what loads, up to its own first zero byte.
    const std::size_t text = beforeFirstZero(std::string_view(fresh.get() + added, got)).size();
    const std::size_t written = lineBreaks_.normaliseInPlace(fresh.get(), added, text);
    if (written == LineBreaks::kNoRoom) {
        throw EReadError(std::string(messages::kStreamReadError), "the text changed while it was read again");
    }
    adoptBlock(std::move(fresh), written, room);
}

void TMemoStrings::adoptBlock(std::unique_ptr<char[]> block, std::size_t length, std::size_t allocated) {
    if (!editor_.adoptText(std::move(block), static_cast<EditControl::Pos>(length), static_cast<EditControl::Pos>(allocated))) {
        throwCapacity();
    }
    if (host_ != nullptr) host_->editorTextChanged();
}

void TMemoStrings::replaceText(std::string_view bytes) {
    if (editorTextEquals(bytes)) return;
    loadText(bytes);
}

void TMemoStrings::loadText(std::string_view bytes) {
    if (!editor_.setText(bytes)) throwCapacity();
    if (host_ != nullptr) host_->editorTextChanged();
}

bool TMemoStrings::fits(std::uint64_t length) const {
    return length <= static_cast<std::uint64_t>(editor_.capacity());
}

bool TMemoStrings::normalisedTextEquals(std::string_view text, std::size_t normalisedLength) const {
    if (editor_.textLength() != static_cast<EditControl::Pos>(normalisedLength)) return false;
    // Normalised and compared piece by piece, so that checking a large text costs no copy of it.
    constexpr std::size_t kPiece = 64 * 1024;
    LineBreakStream stream(lineBreaks_.leadBytes());
    std::string stored;
    EditControl::Pos done = 0;
    const auto matches = [&](const char* bytes, std::size_t n) {
        if (n == 0) return true;
        stored.resize(n);
        editor_.copyRange(done, done + static_cast<EditControl::Pos>(n), stored.data());
        done += static_cast<EditControl::Pos>(n);
        return std::memcmp(stored.data(), bytes, n) == 0;
    };
    for (std::size_t at = 0; at < text.size(); at += kPiece) {
        // The stream only reads the piece it is fed; it hands back the piece itself or its own buffer.
        const std::span<char> piece = stream.feed(const_cast<char*>(text.data()) + at, std::min(kPiece, text.size() - at));
        if (!matches(piece.data(), piece.size())) return false;
    }
    const std::string_view last = stream.finish();
    return matches(last.data(), last.size());
}

bool TMemoStrings::editorTextEquals(std::string_view bytes) const {
    if (editor_.textLength() != static_cast<EditControl::Pos>(bytes.size())) return false;
    // Compared piece by piece, so that checking a large text costs no copy of it.
    constexpr std::size_t kPiece = 64 * 1024;
    std::string piece(std::min(kPiece, bytes.size()), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t n = std::min(kPiece, bytes.size() - done);
        const auto start = static_cast<EditControl::Pos>(done);
        editor_.copyRange(start, start + static_cast<EditControl::Pos>(n), piece.data());
        if (std::memcmp(piece.data(), bytes.data() + done, n) != 0) return false;
        done += n;
    }
    return true;
}

void TMemoStrings::editorText(EditControl::Pos start, EditControl::Pos end, std::string& out) const {
    start = std::clamp<EditControl::Pos>(start, 0, editor_.textLength());
    end = std::clamp<EditControl::Pos>(end, start, editor_.textLength());
    out.resize(static_cast<std::size_t>(end - start));
    if (end > start) editor_.copyRange(start, end, out.data());
}

bool TMemoStrings::replaceEditorText(EditControl::Pos start, EditControl::Pos end, std::string_view bytes) {
    editor_.setSelection(start, end);
    return editor_.replaceSelection(bytes, false);
}

bool TMemoStrings::readOnly() const { return editor_.readOnly(); }

void TMemoStrings::setReadOnly(bool readOnly) { editor_.setReadOnly(readOnly); }

bool TMemoStrings::wordWrap() const { return editor_.wordWrap(); }

void TMemoStrings::setWordWrap(bool on, EditControl::WidthFunction measure, int width) {
    if (on == editor_.wordWrap()) return;
    editor_.setWordWrap(on, std::move(measure), width);
    // A rebuilt editor window starts with the caret at the start and no undo history; the text and
    // the read-only flag stay where they are.
    editor_.setSelection(0, 0);
    editor_.clearUndo();
}

}  // namespace zozuz
