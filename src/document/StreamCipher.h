#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/LeadByteSet.h"
#include "document/LineBreakStream.h"
#include "document/LineCipher.h"

namespace zozuz {

// The program's open, cipher and save, done on a stream of bytes in bounded memory. A plain text is read as the editor loads a plain file: line breaks
// normalised to CR LF and the text ended at its first zero byte. An encrypted text is taken byte for
// byte. Either way every CR LF delimited line then has its shift window shifted, and the output is
// byte for byte what the editor would save.
//
// Lines that lie wholly inside one piece are shifted where they are and passed on in one span; only
// the unfinished line at the end of a piece is copied, to be completed by the next. A line that grows
// past the hold limit is passed on unshifted as it comes, keeping back only its first 255 bytes: only
// the first (L mod 256) bytes of a line of L bytes change, so once the line ends the output is asked
// to write those again, shifted.
class StreamCipher {
public:
    using Sink = std::function<void(std::string_view bytes)>;

    // Where the output goes when lines may be longer than what is held.
    class Output {
    public:
        virtual ~Output() = default;
        // The next bytes of the output.
        virtual void write(std::string_view bytes) = 0;
        // A line too long to hold starts with the next bytes written, which are still unshifted.
        virtual void beginLongLine() = 0;
        // That line has ended (its line break is written next): its first head.size() bytes are to
        // be replaced by `head`, which may be empty.
        virtual void rewriteLineHead(std::string_view head) = 0;
    };

    // Every line is held whole and passed on shifted: memory grows with the longest line.
    StreamCipher(CipherDirection direction, bool plainInput, Sink sink,
                 LeadByteSet leadBytes = LeadByteSet::codePage936());
    // A line is held up to `holdLimit` bytes (at least 256); a longer one goes to `output` as a long
    // line. `output` must outlive the cipher.
    StreamCipher(CipherDirection direction, bool plainInput, Output& output, std::size_t holdLimit,
                 LeadByteSet leadBytes = LeadByteSet::codePage936());
    ~StreamCipher();
    StreamCipher(const StreamCipher&) = delete;
    StreamCipher& operator=(const StreamCipher&) = delete;

    // Takes the next piece of input, whose bytes may be changed in place. Returns false once the text
    // has ended (a zero byte in plain input): whatever follows does not matter and need not be read.
    bool feed(char* data, std::size_t size);
    // Ends the input and passes on the last line.
    void finish();

private:
    void processNormalised(char* data, std::size_t size);
    void holdTail(const char* data, std::size_t size);
    std::size_t continueLongLine(const char* data, std::size_t size);
    void endLongLine(bool lineBreak);

    LineCipher cipher_;
    bool plainInput_;
    std::unique_ptr<Output> ownOutput_;  // set when the caller gave a plain sink
    Output& out_;
    std::size_t holdLimit_;
    LineBreakStream lineBreaks_;
    std::string line_;  // the unfinished line carried over from the previous piece, at most holdLimit_ bytes
    bool ended_ = false;
    // A long line under way: its first bytes as read, its length so far, and whether a CR ended the
    // last piece, which the next piece decides about.
    bool long_ = false;
    std::string head_;  // at most 255 bytes
    std::uint64_t longLength_ = 0;
    bool pendingCR_ = false;
};

}  // namespace zozuz
