// Line-break normalisation and loading: the whole-text, the streaming and the in-place forms agree
// wherever the pieces end, counting in pieces agrees with counting the whole, normalising twice
// changes nothing more, and the document takes the normalised text up to its first zero byte,
// whether it is handed over as a string or as a block with or without room, or the bytes exactly
// when they are opened as they are.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "document/LineBreakStream.h"
#include "document/LineBreaks.h"
#include "document/LoneBreakCount.h"
#include "document/TMemoStrings.h"
#include "editor/EditControl.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the piece sizes of the streaming run.
    const std::size_t piece = 1 + data[0] % 17;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const zozuz::LineBreaks breaks;
    const std::string whole(breaks.normalise(text).text());
    check(whole.size() == text.size() + breaks.countLoneBreaks(text));
    check(breaks.normalise(whole).text() == whole);

    zozuz::LineBreakStream stream;
    std::string streamed;
    std::string input = text;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        const auto out = stream.feed(input.data() + at, std::min(piece, input.size() - at));
        streamed.append(out.data(), out.size());
    }
    streamed += stream.finish();
    check(streamed == whole);

    // In place, in a block with just the room normalisation needs.
    const std::size_t added = whole.size() - text.size();
    std::string block(added, '?');
    block += text;
    check(breaks.normaliseInPlace(block.data(), added, text.size()) == whole.size());
    check(block == whole);

    zozuz::LoneBreakCount count;
    for (std::size_t at = 0; at < text.size(); at += piece) count.feed(text.data() + at, std::min(piece, text.size() - at));
    count.finish();
    const std::size_t zero = std::min(text.find('\0'), text.size());
    check(count.added() == added && count.firstZero() == zero);
    check(count.loadedLength() == std::min(whole.find('\0'), whole.size()));

    zozuz::EditControl editor;
    zozuz::TMemoStrings document(editor);
    document.setText(text);
    const std::string loaded = document.text();
    check(loaded == whole.substr(0, whole.find('\0')));
    // Every CR LF pair of the loaded text is a line break, and a last empty line is not counted.
    std::int64_t pairs = 0;
    for (std::size_t p = loaded.find("\r\n"); p != std::string::npos; p = loaded.find("\r\n", p + 1)) ++pairs;
    const bool endsInBreak = loaded.size() >= 2 && loaded.compare(loaded.size() - 2, 2, "\r\n") == 0;
    check(document.count() == (loaded.empty() ? 0 : pairs + (endsInBreak ? 0 : 1)));

    // Handed over in a block, with room to normalise in it or without.
    for (const std::size_t room : {std::size_t{0}, added + 4096}) {
        document.clear();
        auto bytes = std::make_unique<char[]>(text.size() + room);
        std::copy(text.begin(), text.end(), bytes.get());
        document.adoptText(std::move(bytes), text.size(), text.size() + room, true);
        check(document.text() == loaded);
    }

    document.setRawText(text);
    check(document.text() == text);
    return 0;
}
