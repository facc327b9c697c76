#pragma once

#include <string>
#include <string_view>

#include "base/LeadByteSet.h"
#include "editor/CharacterKinds.h"
#include "platform/host/CodePageCodec.h"

namespace zozuz {

// The two directions between the editor's bytes and the desktop's clipboard text.
namespace clipboard_text {

// The Unicode text (UTF-8) that other programs get for copied bytes: each CR LF becomes "\n", each
// character its Unicode character, and each byte that is no character U+FFFD, except control bytes,
// which keep their value.
std::string fromBytes(std::string_view bytes, const CharacterKinds& kinds, const CodePageCodec& codec);

// Whether bytes read in the program's own format are what a copy puts there: a copy takes a
// selection, which is never empty, of a document, which never holds a zero byte. Anything else was
// put by another program or spoilt on the way, and a paste takes the text beside it instead.
bool isCopiedBytes(std::string_view bytes);

// The bytes that text pasted from another program becomes: the text up to its first U+0000,
// converted to the code page (a character it cannot hold becomes "?"), with every lone CR and lone
// LF made CR LF, as loaded files are. A lead byte carries the byte after it along.
std::string toBytes(std::string_view utf8, const LeadByteSet& leadBytes, const CodePageCodec& codec);

}  // namespace clipboard_text

}  // namespace zozuz
