#include "cli/CliApp.h"

#include <cerrno>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>

#include "base/ErrorText.h"
#include "base/Exception.h"
#include "base/VersionRecord.h"
#include "cli/OutputBuffer.h"
#include "cli/ProgressBar.h"
#include "platform/files/InputFile.h"
#include "document/StreamCipher.h"
#include "platform/files/SafeFileWriter.h"

namespace zozuz {

namespace {

constexpr std::size_t kReadSize = 1 << 20;

}  // namespace

std::string CliApp::usage() {
    return "Usage: zozuz-cli encrypt IN OUT\n"
           "       zozuz-cli decrypt IN OUT\n"
           "       zozuz-cli --help | --version\n"
           "\n"
           "encrypt  reads IN as a plain text (line breaks made CR LF, text ended at a zero byte),\n"
           "         raises the bytes of each line by one and writes OUT.\n"
           "decrypt  reads IN as an encrypted text, byte for byte, lowers the bytes of each line by\n"
           "         one and writes OUT.\n"
           "The output is exactly what zozuz saves. IN or OUT may be - for standard input or output.\n";
}

int CliApp::run(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        writeTo(streams_.output, usage());
        return kSuccess;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        writeTo(streams_.output, VersionRecord::line("zozuz-cli"));
        return kSuccess;
    }
    if (arguments.size() != 3 || (arguments[0] != "encrypt" && arguments[0] != "decrypt")) {
        writeTo(streams_.error, usage());
        return kUsageError;
    }
    try {
        convert(arguments[0] == "encrypt", arguments[1], arguments[2]);
        return kSuccess;
    } catch (const EAbort&) {
        return kFailure;
    } catch (const Exception& error) {
        writeTo(streams_.error, "zozuz-cli: " + withFinalPeriod(error.message()) + "\n");
    } catch (const std::bad_alloc&) {
        writeTo(streams_.error, "zozuz-cli: Out of memory.\n");
    }
    return kFailure;
}

void CliApp::convert(bool encrypt, const std::string& input, const std::string& output) {
    // The input is opened first, as the program opens a file before it can save anything.
    const bool fromStandardInput = input == "-";
    const InputFile in = fromStandardInput ? InputFile(fs_, streams_.input, input) : InputFile(fs_, input);
    const struct stat& status = in.status();

    std::optional<SafeFileWriter> file;
    if (output != "-") file.emplace(output, fs_, SafeFileWriter::Flush::ToSystem);
    OutputBuffer out([&](std::string_view bytes) {
        if (file) {
            file->write(bytes);
        } else {
            writeTo(streams_.output, bytes);
        }
    });

    std::optional<ProgressBar> progress;
    const auto total = static_cast<std::uint64_t>(status.st_size);
    if (streams_.errorIsTerminal && S_ISREG(status.st_mode) && total > kProgressThreshold) {
        progress.emplace([this](std::string_view text) { writeTo(streams_.error, text); }, total);
    }
    // A bar left unfinished by an error must not share its line with the message.
    struct EndBar {
        std::optional<ProgressBar>& bar;
        ~EndBar() {
            if (bar) bar->end();
        }
    } endBar{progress};

    StreamCipher cipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt, encrypt,
                        [&out](std::string_view bytes) { out.append(bytes); });
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadSize);
    std::uint64_t done = 0;
    for (;;) {
        const ssize_t n = fs_.read(in.fd(), buffer.get(), kReadSize);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError(std::string(messages::kStreamReadError));
        if (n == 0) break;
        done += static_cast<std::uint64_t>(n);
        if (progress) progress->update(done);
        if (!cipher.feed(buffer.get(), static_cast<std::size_t>(n))) break;
    }
    cipher.finish();
    out.flush();
    if (file) file->commit();
    if (progress) progress->update(total);
}

void CliApp::writeTo(int fd, std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = fs_.write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw EWriteError(std::string(messages::kStreamWriteError));
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace zozuz
