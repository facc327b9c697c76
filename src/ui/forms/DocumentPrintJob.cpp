#include "ui/forms/DocumentPrintJob.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "base/LeadByteSet.h"
#include "editor/CharacterKinds.h"
#include "editor/ClipboardText.h"
#include "ui/toolkit/controls/TMemo.h"

namespace zozuz {

PrintJob documentPrintJob(TMemo& memo, const CodePageCodec& codec, std::string title) {
    const EditControl& editor = memo.Editor();
    EditControl::Pos lines = editor.editorLineCount();
    // A text ending in a line break has an empty editor line after it, which is no line of the text.
    if (lines > 0 && editor.editorLineLength(lines - 1) == 0) --lines;

    PrintJob job;
    job.title = std::move(title);
    job.font = memo.GetFont();
    job.lineCount = static_cast<std::size_t>(lines);
    auto kinds = std::make_shared<CharacterKinds>(LeadByteSet::codePage936(), codec);
    job.line = [&editor, &codec, kinds](std::size_t index) {
        const auto line = static_cast<EditControl::Pos>(index);
        const EditControl::Pos start = editor.editorLineStart(line);
        if (start < 0) return std::string();
        const std::string bytes = editor.range(start, start + editor.editorLineLength(line));
        return clipboard_text::fromBytes(bytes, *kinds, codec);
    };
    return job;
}

}  // namespace zozuz
