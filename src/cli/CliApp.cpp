#include "cli/CliApp.h"

#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>

#include "base/ErrorText.h"
#include "base/Exception.h"
#include "base/VersionRecord.h"
#include "cli/CipherFileOutput.h"
#include "cli/ProgressBar.h"
#include "document/ConvertedBreaks.h"
#include "document/LineBreakStream.h"
#include "document/StreamCipher.h"
#include "platform/files/InputFile.h"
#include "platform/files/SafeFileWriter.h"
#include "platform/files/ScratchFile.h"

namespace zozuz {

namespace {

constexpr std::size_t kReadSize = 1 << 20;
// The longest line held whole; a longer one is written as it comes and its first bytes again at its
// end, so that memory stays bounded whatever the input.
constexpr std::size_t kHoldLimit = 4 << 20;

}  // namespace

std::string CliApp::usage() {
    return "Usage: zozuz-cli encrypt IN OUT\n"
           "       zozuz-cli decrypt IN OUT\n"
           "       zozuz-cli --help | --version\n"
           "\n"
           "encrypt  reads IN as a plain text (line breaks made CR LF, text ended at a zero byte),\n"
           "         raises the bytes of each line by one and writes OUT.\n"
           "decrypt  reads IN as an encrypted text, byte for byte, lowers the bytes of each line by\n"
           "         one and writes OUT. A text whose CR LF line breaks another tool turned into\n"
           "         LF (it holds no CR LF at all) gets them back first.\n"
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
        // The first line is the program's own message; the system's reason, when there is one,
        // follows on a line of its own.
        std::string text = "zozuz-cli: " + withFinalPeriod(error.message()) + "\n";
        if (!error.reason().empty()) text += "zozuz-cli: " + error.reason() + "\n";
        writeTo(streams_.error, text);
    } catch (const std::bad_alloc&) {
        writeTo(streams_.error, "zozuz-cli: Out of memory.\n");
    }
    return kFailure;
}

void CliApp::convert(bool encrypt, const std::string& input, const std::string& output) {
    // The input is opened first, as the program opens a file before it can save anything.
    InputFile in = input == "-" ? InputFile(fs_, StandardStream{streams_.input}, input) : InputFile(fs_, input, InputFile::Accept::AnyStream);
    const FileIdentity reading = in.identity();

    std::optional<SafeFileWriter> file;
    if (output == "-") {
        file.emplace(StandardStream{streams_.output}, "standard output", fs_, SafeFileWriter::Flush::ToSystem, &reading);
    } else {
        SafeFileWriter::Options options;
        options.flush = SafeFileWriter::Flush::ToSystem;
        // Like any filter, the run writes a FIFO, a terminal or a device it is given.
        options.accept = SafeFileWriter::Accept::AnyStream;
        options.reading = &reading;
        options.standardOutput = StandardStream{streams_.output};
        // A plain text grows at most twofold, when every line break is a lone CR or LF.
        if (in.size()) options.reserve = *in.size() * (encrypt ? 2 : 1);
        file.emplace(output, fs_, options);
    }
    CipherFileOutput out(*file, fs_);

    std::optional<ProgressBar> progress;
    const std::uint64_t total = in.size().value_or(0);
    if (streams_.errorIsTerminal && in.size() && total > kProgressThreshold) {
        progress.emplace([this](std::string_view text) { writeTo(streams_.error, text); }, total);
    }
    // A bar left unfinished by an error must not share its line with the message.
    struct EndBar {
        std::optional<ProgressBar>& bar;
        ~EndBar() {
            if (bar) bar->end();
        }
    } endBar{progress};

    StreamCipher cipher(encrypt ? CipherDirection::Encrypt : CipherDirection::Decrypt, encrypt, out, kHoldLimit);
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadSize);
    std::uint64_t done = 0;
    const auto read = [&] {
        const std::size_t n = in.readSome(buffer.get(), kReadSize);
        done += n;
        if (progress && n > 0) progress->update(done);
        return n;
    };
    // An encrypted text is held aside until its first CR LF pair shows that its line breaks are
    // its own; one that ends without any had them converted by another tool, and gets them back.
    const bool more = encrypt || decryptHeldText(cipher, read, buffer.get());
    while (more) {
        const std::size_t n = read();
        if (n == 0) break;
        if (!cipher.feed(buffer.get(), n)) break;
    }
    cipher.finish();
    out.flush();
    file->commit();
    if (progress) progress->update(total);
}

bool CliApp::decryptHeldText(StreamCipher& cipher, const std::function<std::size_t()>& read, char* buffer) {
    ConvertedBreaks breaks;
    std::optional<ScratchFile> held;
    const auto feedCopy = [&cipher](std::string_view bytes) {
        std::string copy(bytes);
        cipher.feed(copy.data(), copy.size());
    };
    for (;;) {
        const std::size_t n = read();
        if (n == 0) break;
        breaks.feed(std::string_view(buffer, n));
        if (breaks.sawPair() && !held) {
            cipher.feed(buffer, n);
            return true;
        }
        if (!held) held.emplace(fs_);
        held->append(std::string_view(buffer, n));
        if (breaks.sawPair()) {
            held->drain(0, feedCopy);
            return true;
        }
    }
    if (!held) return false;
    if (!breaks.converted()) {
        held->drain(0, feedCopy);
        return false;
    }
    LineBreakStream restore(ConvertedBreaks::restoringLeadBytes());
    held->drain(0, [&](std::string_view bytes) {
        std::string copy(bytes);
        const std::span<char> restored = restore.feed(copy.data(), copy.size());
        cipher.feed(restored.data(), restored.size());
    });
    std::string last(restore.finish());
    cipher.feed(last.data(), last.size());
    return false;
}

void CliApp::writeTo(int stream, std::string_view bytes) const {
    SafeFileWriter writer(StandardStream{stream}, stream == streams_.error ? "standard error" : "standard output", fs_);
    writer.write(bytes);
    writer.commit();
}

}  // namespace zozuz
