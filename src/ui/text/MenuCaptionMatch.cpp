#include "ui/text/MenuCaptionMatch.h"

#include <cstddef>
#include <string>

namespace zozuz {

namespace {

// The caption as shown, without access-key marks, with ASCII letters in lower case.
std::string plainLower(std::string_view caption) {
    std::string plain;
    plain.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (c == '&') {
            // A mark makes the next character the access key; "&&" keeps one "&"; a last lone
            // "&" shows nothing.
            if (++i == caption.size()) break;
            c = caption[i];
        }
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        plain += c;
    }
    return plain;
}

}  // namespace

bool SameMenuCaption(std::string_view a, std::string_view b) { return plainLower(a) == plainLower(b); }

}  // namespace zozuz
