#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace zozuz {

class TMemoStrings;

enum class CipherDirection { Encrypt, Decrypt };

// Receives the cipher's progress: 2 * i + 2 after line i has been written back.
using ProgressSink = std::function<void(int value)>;

// The byte-shift cipher. Encrypt raises each byte in a line's shift window by one and Decrypt lowers
// it by one, both wrapping modulo 256. The shift window of a line of L bytes is its first (L mod 256)
// bytes: encrypted files have always been written that way, so a line of 256 bytes is not shifted at
// all and a line of 257 bytes only in its first byte.
class LineCipher {
public:
    explicit LineCipher(CipherDirection direction) : direction_(direction) {}

    // Shifts the window of one whole line in place.
    void shiftLine(char* line, std::size_t length) const;

    // Runs the cipher over every line of the document, inside one update so that the editor repaints
    // once, and reports progress after each line. The lines are the editor's lines, CR LF delimited,
    // read and written back whole whatever their length and whatever the word-wrap setting. A line
    // whose shifted bytes hold a CR LF pair comes back as several lines; every line the document had
    // at the start is shifted exactly once all the same. When the editor cannot take the shifted
    // lines back the run stops with EInvalidOperation "Text exceeds memo capacity": the lines before
    // them stay shifted, and the update is ended all the same. A finished run leaves the caret just
    // after the bytes of the last line.
    void run(TMemoStrings& document, const ProgressSink& progress) const;

    CipherDirection direction() const { return direction_; }

private:
    CipherDirection direction_;
};

}  // namespace zozuz
