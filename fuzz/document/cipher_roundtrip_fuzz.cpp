// The cipher's round trip and the stream's agreement with the document. Encrypt then Decrypt of a
// document opened byte for byte gives the bytes back whenever the shift formed no new line break, and
// the stream of zozuz-cli gives the same bytes as the document path in every direction and mode.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/LineCipher.h"
#include "document/StreamCipher.h"
#include "document/TMemoStrings.h"
#include "editor/EditControl.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::string documentPath(const std::string& input, zozuz::CipherDirection direction, bool plain) {
    zozuz::EditControl editor;
    zozuz::TMemoStrings document(editor);
    if (plain) {
        document.setText(input);
    } else {
        document.setRawText(input);
    }
    zozuz::LineCipher(direction).run(document, {});
    return document.text();
}

std::string streamPath(std::string input, zozuz::CipherDirection direction, bool plain, std::size_t piece) {
    std::string out;
    zozuz::StreamCipher cipher(direction, plain, [&out](std::string_view bytes) { out.append(bytes); });
    for (std::size_t at = 0; at < input.size(); at += piece) {
        if (!cipher.feed(input.data() + at, std::min(piece, input.size() - at))) break;
    }
    cipher.finish();
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 31;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    zozuz::EditControl editor;
    zozuz::TMemoStrings document(editor);
    document.setRawText(text);
    const auto lines = document.editor().editorLineCount();
    zozuz::LineCipher(zozuz::CipherDirection::Encrypt).run(document, {});
    check(document.text().size() == text.size());
    if (document.editor().editorLineCount() == lines) {
        zozuz::LineCipher(zozuz::CipherDirection::Decrypt).run(document, {});
        check(document.text() == text);
    }

    for (const bool plain : {true, false}) {
        for (const auto direction : {zozuz::CipherDirection::Encrypt, zozuz::CipherDirection::Decrypt}) {
            check(streamPath(text, direction, plain, piece) == documentPath(text, direction, plain));
        }
    }
    return 0;
}
