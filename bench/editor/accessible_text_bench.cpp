// What a screen reader costs on a text of 256 MiB in 80-byte lines of GBK prose (about 3.4 million
// lines): the first count of its characters (one walk of the text), reading a line near the end once
// counted, moving the caret there and telling the reader, a key typed at the start followed by the
// reader's next question, the caret stepping along a single line of 64 MiB, and a run that rewrites every line (as Encrypt does) followed by one
// question. CI runs no benchmark.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "editor/EditControl.h"
#include "editor/EditView.h"
#include "editor/EditorAccessibleText.h"
#include "hosts/headless/BitmapCodePageText.h"
#include "hosts/headless/MemoryClipboard.h"
#include "platform/files/SystemCodePageCodec.h"

namespace {

using namespace zozuz;
using Pos = EditControl::Pos;

std::string proseLines(std::int64_t bytes) {
    std::mt19937 random(3);
    std::string piece;
    while (piece.size() < (1u << 20)) {
        for (int i = 0; i < 30; ++i) {
            piece.push_back(static_cast<char>(0xB0 + random() % 0x40));
            piece.push_back(static_cast<char>(0xA1 + random() % 0x5E));
        }
        piece += "abc, 12345678901234\r\n";  // 60 + 20 = 80 bytes a line
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(bytes) + piece.size());
    while (static_cast<std::int64_t>(text.size()) < bytes) text += piece;
    return text;
}

struct Rig {
    SystemCodePageCodec codec;
    BitmapCodePageText measure{codec};
    MemoryClipboard clipboard;
    EditControl edit;
    EditView view{edit, codec, measure, clipboard};
    int notices = 0;
    // Null without a reader.
    std::unique_ptr<EditorAccessibleText> text;

    // Without `withReader` no screen reader ever asked: the text object is never made.
    explicit Rig(std::int64_t bytes, bool withReader = true)
        : text(withReader ? std::make_unique<EditorAccessibleText>(view, codec, [this](const AccessibleTextChange&) { ++notices; },
                                                                     EditorAccessibleText::RequestFlush{})
                            : nullptr) {
        view.setViewSize({800, 600});
        edit.setText(proseLines(bytes));
    }
};

constexpr std::int64_t k256MiB = std::int64_t{256} << 20;

void BM_FirstCount(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<Rig>(state.range(0));
        state.ResumeTiming();
        benchmark::DoNotOptimize(rig->text->characterCount());
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstCount)->Arg(k256MiB)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ReadLineNearTheEnd(benchmark::State& state) {
    Rig rig(state.range(0));
    const AccessibleText::Offset end = rig.text->characterCount();
    for (auto _ : state) {
        const AccessibleText::Range line = rig.text->lineAt(end - 100);
        benchmark::DoNotOptimize(rig.text->text(line.start, line.end));
    }
}
BENCHMARK(BM_ReadLineNearTheEnd)->Arg(k256MiB)->Unit(benchmark::kMicrosecond);

void BM_CaretMovedNearTheEnd(benchmark::State& state) {
    Rig rig(state.range(0));
    rig.text->characterCount();
    // Lines in the middle of a full block of lines near the end.
    const Pos lines = rig.edit.editorLineCount();
    const Pos base = rig.edit.editorLineStart((lines - 300) / 256 * 256 + 128);
    Pos step = 0;
    for (auto _ : state) {
        const Pos position = base + (step++ % 400) * 2;
        rig.view.select(position, position);
        rig.text->caretMoved();
        rig.text->flush();
    }
}
BENCHMARK(BM_CaretMovedNearTheEnd)->Arg(k256MiB)->Unit(benchmark::kMicrosecond);

// One line of 64 MiB (the prose without its breaks): the caret stepping near its end, and reading
// the character there, as a reader arrowing along it does.
void BM_CaretStepsNearTheEndOfA64MiBLine(benchmark::State& state) {
    Rig rig(0);
    std::string line = proseLines(std::int64_t{64} << 20);
    std::erase(line, '\r');
    std::erase(line, '\n');
    rig.edit.setText(line);
    const Pos base = rig.edit.textLength() - 100000;
    Pos step = 0;
    for (auto _ : state) {
        const Pos position = base + (step++ % 4000) * 2;
        rig.view.select(position, position);
        rig.text->caretMoved();
        rig.text->flush();
        const AccessibleText::Offset caret = rig.text->caret();
        benchmark::DoNotOptimize(rig.text->text(caret, caret + 1));
    }
}
BENCHMARK(BM_CaretStepsNearTheEndOfA64MiBLine)->Unit(benchmark::kMicrosecond);

void BM_KeyAtTheStartThenCount(benchmark::State& state) {
    Rig rig(state.range(0));
    rig.text->characterCount();
    rig.view.select(10, 10);
    for (auto _ : state) {
        rig.view.typeText("中");
        rig.text->flush();
        benchmark::DoNotOptimize(rig.text->characterCount());
    }
}
BENCHMARK(BM_KeyAtTheStartThenCount)->Arg(k256MiB)->Unit(benchmark::kMicrosecond);

// The second argument: 1 with a screen reader, 0 without (the run's own cost, for the ratio).
void BM_EveryLineRewrittenThenCount(benchmark::State& state) {
    const bool reader = state.range(1) != 0;
    Rig rig(state.range(0), reader);
    if (reader) rig.text->characterCount();
    const Pos lines = rig.edit.editorLineCount();
    for (auto _ : state) {
        for (Pos line = 0; line < lines; line += 1) {
            const Pos start = rig.edit.editorLineStart(line);
            if (rig.edit.editorLineLength(line) < 2) continue;
            rig.edit.setSelection(start, start + 2);
            rig.edit.replaceSelection("\xB0\xA1", false);
        }
        if (!reader) continue;
        rig.text->flush();
        benchmark::DoNotOptimize(rig.text->characterCount());
    }
}
BENCHMARK(BM_EveryLineRewrittenThenCount)->Args({k256MiB, 0})->Args({k256MiB, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
