#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/FileSystem.h"

namespace zozuz {

class StreamCipher;

// zozuz-cli: encrypts a plain text file or decrypts an encrypted one, producing exactly the bytes the
// program saves after opening the file and pressing Encrypt or Decrypt.
//
//   zozuz-cli encrypt IN OUT    open plain file IN, Encrypt, save as OUT
//   zozuz-cli decrypt IN OUT    open encrypted file IN, Decrypt, save as OUT
//
// "-" stands for standard input or output. An error prints "zozuz-cli: " and the message the
// program's error box would show, then the system's reason on a line of its own when it gave one,
// and exits with 1; a usage error prints the usage and exits with 2. Memory stays bounded whatever
// the input, lines of gigabytes included.
class CliApp {
public:
    // The standard streams as the C runtime numbers them; tests hand in others.
    struct Streams {
        int input = 0;
        int output = 1;
        int error = 2;
        bool errorIsTerminal = false;
    };

    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsageError = 2;
    // Inputs larger than this show a progress bar when standard error is a terminal.
    static constexpr std::uint64_t kProgressThreshold = 16 << 20;

    explicit CliApp(Streams streams, FileSystem& fileSystem = systemFiles())
        : streams_(streams), fs_(fileSystem) {}

    // `arguments` leaves out the program's own name.
    int run(const std::vector<std::string>& arguments);

    static std::string usage();

private:
    void convert(bool encrypt, const std::string& input, const std::string& output);
    // Reads an encrypted text up to its first CR LF pair and hands what it read to the cipher; when
    // the text ends without one, its line breaks are restored on the way (see ConvertedBreaks).
    // Returns whether input is left to read. `read` fills `buffer` and returns how much it holds.
    bool decryptHeldText(StreamCipher& cipher, const std::function<std::size_t()>& read, char* buffer);
    void writeTo(int stream, std::string_view bytes) const;

    Streams streams_;
    FileSystem& fs_;
};

}  // namespace zozuz
