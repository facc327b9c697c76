#include "ui/forms/DocumentPrintJob.h"

#include <cstddef>
#include <utility>

#include "editor/EditControl.h"
#include "ui/toolkit/controls/TMemo.h"

namespace zozuz {

PrintJob documentPrintJob(TMemo& memo, std::string title) {
    const EditControl& editor = memo.Editor();
    EditControl::Pos lines = editor.editorLineCount();
    // A text ending in a line break has an empty editor line after it, which is no line of the text.
    if (lines > 0 && editor.editorLineLength(lines - 1) == 0) --lines;

    PrintJob job;
    job.title = std::move(title);
    job.font = memo.GetFont();
    job.lineCount = static_cast<std::size_t>(lines);
    job.line = [&editor](std::size_t index) {
        const auto line = static_cast<EditControl::Pos>(index);
        const EditControl::Pos start = editor.editorLineStart(line);
        if (start < 0) return std::string();
        return editor.range(start, start + editor.editorLineLength(line));
    };
    return job;
}

}  // namespace zozuz
