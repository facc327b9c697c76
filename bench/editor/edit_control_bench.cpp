// The edit control on a document of 64 MiB in lines of about 100 bytes: setting the text, looking up
// lines, and a line-by-line pass that puts every line back with bytes of the same length, as the
// document's put line does, next to a plain copy of the same bytes for scale.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "editor/EditControl.h"

namespace {

using zozuz::EditControl;
using Pos = EditControl::Pos;

constexpr std::size_t kDocumentBytes = 64u << 20;

const std::string& document() {
    static const std::string text = [] {
        std::string result;
        result.reserve(kDocumentBytes + 256);
        std::mt19937 random(7);
        while (result.size() < kDocumentBytes) {
            const std::size_t length = 80 + random() % 41;
            for (std::size_t i = 0; i < length; ++i) {
                // Printable ASCII with some double-byte characters, as a Chinese text would have.
                if (random() % 4 == 0 && i + 1 < length) {
                    result.push_back(static_cast<char>(0xB0 + random() % 0x40));
                    result.push_back(static_cast<char>(0xA1 + random() % 0x5E));
                    ++i;
                } else {
                    result.push_back(static_cast<char>(0x20 + random() % 0x5F));
                }
            }
            result += "\r\n";
        }
        return result;
    }();
    return text;
}

void BM_SetText(benchmark::State& state) {
    const std::string& text = document();
    EditControl edit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(edit.setText(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

void BM_LineLookups(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    const Pos lines = edit.lineCount();
    std::mt19937 random(3);
    for (auto _ : state) {
        const Pos line = static_cast<Pos>(random() % static_cast<std::uint32_t>(lines));
        const Pos start = edit.lineIndex(line);
        benchmark::DoNotOptimize(edit.lineCount());
        benchmark::DoNotOptimize(edit.lineLength(start));
        benchmark::DoNotOptimize(edit.lineFromPosition(start + 5));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_LineLookups);

// Every line replaced by bytes of its own length as the document's put line does it: the line
// selected, the selection replaced without undo.
void BM_PutEveryLine(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    const std::string replacement(4096, 'x');
    for (auto _ : state) {
        const Pos lines = edit.lineCount();
        for (Pos line = 0; line < lines; ++line) {
            const Pos start = edit.lineIndex(line);
            const Pos length = edit.lineLength(start);
            edit.setSelection(start, start + length);
            edit.replaceSelection(std::string_view(replacement.data(), static_cast<std::size_t>(length)), false);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document().size()));
}
BENCHMARK(BM_PutEveryLine)->Unit(benchmark::kMillisecond);

// A cipher pass line by line: get each line, raise its bytes, put it back.
void BM_GetRaisePutEveryLine(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    std::vector<char> buffer(4096);
    for (auto _ : state) {
        const Pos lines = edit.lineCount();
        for (Pos line = 0; line < lines; ++line) {
            const std::size_t length = edit.getLine(line, buffer.data(), buffer.size());
            for (std::size_t i = 0; i < length; ++i) buffer[i] = static_cast<char>(buffer[i] + 1);
            const Pos start = edit.lineIndex(line);
            edit.setSelection(start, start + static_cast<Pos>(length));
            edit.replaceSelection(std::string_view(buffer.data(), length), false);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document().size()));
}
BENCHMARK(BM_GetRaisePutEveryLine)->Unit(benchmark::kMillisecond);

// For scale: copying the document's bytes once.
void BM_MemcpyDocument(benchmark::State& state) {
    const std::string& text = document();
    std::vector<char> target(text.size());
    for (auto _ : state) {
        std::memcpy(target.data(), text.data(), text.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemcpyDocument)->Unit(benchmark::kMillisecond);

// Word wrap divides lazily; the line count divides the whole document.
void BM_WordWrapWholeDocument(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    for (auto _ : state) {
        edit.setWordWrap(true, {}, 60);
        benchmark::DoNotOptimize(edit.lineCount());
        edit.setWordWrap(false);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document().size()));
}
BENCHMARK(BM_WordWrapWholeDocument)->Unit(benchmark::kMillisecond);

// Switching word wrap on divides nothing yet; one idle step then divides a slice of 1 MiB.
void BM_WordWrapOnAndOneSlice(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    for (auto _ : state) {
        edit.setWordWrap(true, {}, 60);
        benchmark::DoNotOptimize(edit.wrapSome(Pos{1} << 20));
        state.PauseTiming();
        edit.setWordWrap(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WordWrapOnAndOneSlice)->Unit(benchmark::kMillisecond);

// Typing and deleting in the middle of the wrapped document: only the touched line is divided anew.
void BM_TypeInMiddleUnderWordWrap(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    edit.setWordWrap(true, {}, 60);
    edit.lineCount();  // divides every line
    const Pos middle = edit.editorLineStart(edit.editorLineCount() / 2) + 10;
    for (auto _ : state) {
        edit.setSelection(middle, middle);
        edit.userInsert("a");
        edit.userDeleteBackward();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(BM_TypeInMiddleUnderWordWrap);

// The same in one editor line of 16 MiB: only the display lines near the edit are divided anew.
void BM_TypeInOneLongLineUnderWordWrap(benchmark::State& state) {
    std::string line;
    for (const char c : document().substr(0, 16u << 20)) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
    EditControl edit;
    edit.setText(line);
    edit.setWordWrap(true, {}, 60);
    edit.lineCount();  // divides every line
    const Pos middle = static_cast<Pos>(line.size() / 2);
    for (auto _ : state) {
        edit.setSelection(middle, middle);
        edit.userInsert("a");
        edit.userDeleteBackward();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2);
}
BENCHMARK(BM_TypeInOneLongLineUnderWordWrap);

// Rewriting every display line under word wrap the way a line list does it: select the line,
// replace the selection without undo.
void BM_RewriteEveryDisplayLineUnderWordWrap(benchmark::State& state) {
    EditControl edit;
    edit.setText(document());
    edit.setWordWrap(true, {}, 60);
    edit.lineCount();  // divides every line
    const std::string replacement(4096, 'x');
    for (auto _ : state) {
        for (Pos line = 0; line < edit.lineCount(); ++line) {
            const Pos start = edit.lineIndex(line);
            const Pos length = edit.lineLength(start);
            edit.setSelection(start, start + length);
            edit.replaceSelection(std::string_view(replacement.data(), static_cast<std::size_t>(length)), false);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document().size()));
}
BENCHMARK(BM_RewriteEveryDisplayLineUnderWordWrap)->Unit(benchmark::kMillisecond);

}  // namespace
