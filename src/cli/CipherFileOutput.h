#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "cli/OutputBuffer.h"
#include "document/StreamCipher.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SafeFileWriter.h"
#include "platform/files/ScratchFile.h"

namespace zozuz {

// The cipher's output on its way to a writer, gathered into large writes. A long line's first bytes
// are written again in place once the line has ended, where the writer can go back; where it cannot
// (a pipe, a terminal), the rest of the line waits in a scratch file until its first bytes are known,
// so that memory stays bounded either way.
class CipherFileOutput : public StreamCipher::Output {
public:
    CipherFileOutput(SafeFileWriter& writer, FileSystem& fs);

    void write(std::string_view bytes) override;
    void beginLongLine() override;
    void rewriteLineHead(std::string_view head) override;
    // Writes out what is still gathered.
    void flush() { buffer_.flush(); }

private:
    SafeFileWriter& writer_;
    FileSystem& fs_;
    OutputBuffer buffer_;
    std::optional<ScratchFile> scratch_;  // made for the first long line that needs it
    bool spilling_ = false;               // true while a long line goes to the scratch file
    std::uint64_t lineStart_ = 0;         // where the long line starts in the writer's output
};

}  // namespace zozuz
