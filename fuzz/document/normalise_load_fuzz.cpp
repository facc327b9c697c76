// Line-break normalisation and loading: the whole-text and the streaming forms agree wherever the
// pieces end, normalising twice changes nothing more, and the document takes the normalised text up to
// its first zero byte, or the bytes exactly when they are opened as they are.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/LineBreakStream.h"
#include "document/LineBreaks.h"
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

    document.setRawText(text);
    check(document.text() == text);
    return 0;
}
