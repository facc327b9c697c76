#include "cli/CipherFileOutput.h"

namespace zozuz {

CipherFileOutput::CipherFileOutput(SafeFileWriter& writer, FileSystem& fs)
    : writer_(writer), fs_(fs), buffer_([this](std::string_view bytes) { writer_.write(bytes); }) {}

void CipherFileOutput::write(std::string_view bytes) {
    if (spilling_) {
        scratch_->append(bytes);
    } else {
        buffer_.append(bytes);
    }
}

void CipherFileOutput::beginLongLine() {
    buffer_.flush();
    if (writer_.seekable()) {
        lineStart_ = writer_.written();
        return;
    }
    if (!scratch_) scratch_.emplace(fs_);
    spilling_ = true;
}

void CipherFileOutput::rewriteLineHead(std::string_view head) {
    if (!spilling_) {
        buffer_.flush();
        if (!head.empty()) writer_.writeAt(lineStart_, head);
        return;
    }
    spilling_ = false;
    buffer_.append(head);
    scratch_->drain(head.size(), [this](std::string_view bytes) { buffer_.append(bytes); });
}

}  // namespace zozuz
