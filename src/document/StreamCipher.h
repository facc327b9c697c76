#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "base/LeadByteSet.h"
#include "document/LineBreakStream.h"
#include "document/LineCipher.h"

namespace zozuz {

// The program's open, cipher and save, done on a stream of bytes with memory bounded by the longest
// line instead of the file. A plain text is read as the editor loads a plain file: line breaks
// normalised to CR LF and the text ended at its first zero byte. An encrypted text is taken byte for
// byte. Either way every CR LF delimited line then has its shift window shifted, and the output is
// byte for byte what the editor would save.
//
// Lines that lie wholly inside one piece are shifted where they are and passed on in one span; only
// the unfinished line at the end of a piece is copied, to be completed by the next.
class StreamCipher {
public:
    using Sink = std::function<void(std::string_view bytes)>;

    StreamCipher(CipherDirection direction, bool plainInput, Sink sink,
                 LeadByteSet leadBytes = LeadByteSet::codePage936());

    // Takes the next piece of input, whose bytes may be changed in place. Returns false once the text
    // has ended (a zero byte in plain input): whatever follows does not matter and need not be read.
    bool feed(char* data, std::size_t size);
    // Ends the input and passes on the last line.
    void finish();

private:
    void processNormalised(char* data, std::size_t size);

    LineCipher cipher_;
    bool plainInput_;
    Sink sink_;
    LineBreakStream lineBreaks_;
    std::string line_;  // the unfinished line carried over from the previous piece
    bool ended_ = false;
};

}  // namespace zozuz
