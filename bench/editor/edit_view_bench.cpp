// The editor's view on one line of 64 MiB and of 1 GiB (GBK text without a line break) on the
// headless host, painting into an image of
// 800 x 600 pixels: End with its repaint on the freshly loaded line, which walks the line once to
// learn where it ends; End again from the line's start, which the line's index answers; a key typed at
// the line's start followed by End; the same key under word wrap; and one blink of the caret at the
// line's end with its repaint.
// The 1 GiB runs hold about 2 GiB of memory and take seconds to set up; --benchmark_filter=/67108864
// runs the 64 MiB ones alone. CI runs no benchmark. The second argument names the text (see Text).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "editor/EditControl.h"
#include "editor/EditView.h"
#include "hosts/headless/BitmapCodePageText.h"
#include "hosts/headless/MemoryClipboard.h"
#include "platform/files/SystemCodePageCodec.h"
#include "platform/gfx/Image.h"

namespace {

using namespace zozuz;
using Pos = EditControl::Pos;

constexpr std::int64_t k64MiB = std::int64_t{64} << 20;
constexpr std::int64_t k1GiB = std::int64_t{1} << 30;

// The texts of the long lines: Chinese prose (runs of 2 to 30 double-byte characters between 1 to 5
// single-byte ones, a tab now and then), as the program's users write and encrypt; and a mix in which
// each character is double-byte or not at random, one in four, where a processor cannot guess
// which comes next.
enum Text : std::int64_t { kProse = 0, kRandomMix = 1 };

// A line of `bytes` bytes: a random piece of 1 MiB of whole characters, repeated.
std::string longLine(std::int64_t bytes, std::int64_t text) {
    std::string piece;
    std::mt19937 random(5);
    const auto doubleByte = [&] {
        piece.push_back(static_cast<char>(0xB0 + random() % 0x40));
        piece.push_back(static_cast<char>(0xA1 + random() % 0x5E));
    };
    const auto singleByte = [&] { piece.push_back(random() % 32 == 0 ? '\t' : static_cast<char>(0x20 + random() % 0x5F)); };
    while (piece.size() < (1u << 20)) {
        if (text == kProse) {
            for (std::uint32_t n = 2 + random() % 29; n > 0; --n) doubleByte();
            for (std::uint32_t n = 1 + random() % 5; n > 0; --n) singleByte();
        } else if (random() % 4 == 0) {
            doubleByte();
        } else {
            singleByte();
        }
    }
    std::string line;
    line.reserve(static_cast<std::size_t>(bytes) + piece.size());
    while (static_cast<std::int64_t>(line.size()) < bytes) line += piece;
    line.resize(static_cast<std::size_t>(bytes));
    // The line ends in a single-byte character, so that none is cut in two.
    line.back() = 'x';
    return line;
}

const std::string& lineOf(std::int64_t bytes, std::int64_t text) {
    static std::string line;
    static std::int64_t lineText = -1;
    if (static_cast<std::int64_t>(line.size()) != bytes || lineText != text) {
        line.clear();
        line.shrink_to_fit();
        line = longLine(bytes, text);
        lineText = text;
    }
    return line;
}

// Gathers what the view asks to repaint, as a window's update region would.
struct Damage : EditViewListener {
    Rect area;
    void invalidate(const Rect& r) override {
        if (r.empty()) return;
        area = area.empty() ? r
                            : Rect{std::min(area.left, r.left), std::min(area.top, r.top), std::max(area.right, r.right),
                                   std::max(area.bottom, r.bottom)};
    }
};

struct Rig {
    SystemCodePageCodec codec;
    BitmapCodePageText text{codec};
    MemoryClipboard clipboard;
    EditControl edit;
    EditView view{edit, codec, text, clipboard};
    Damage damage;
    Image image{800, 600};
    std::int64_t lineBytes;
    std::int64_t lineText;

    Rig(std::int64_t bytes, std::int64_t kind) : lineBytes(bytes), lineText(kind) {
        view.setViewSize({800, 600});
        view.setFocused(true);
        view.setListener(&damage);
        load();
        // Every width measured once, as a window that has shown text before has them.
        end();
        view.perform(EditCommand::LineStart, false);
        paint();
    }
    void load() {
        edit.setText(lineOf(lineBytes, lineText));
        view.select(0, 0);
        damage.area = {};
    }
    void end() {
        view.perform(EditCommand::LineEnd, false);
        paint();
    }
    // Paints what the view asked to repaint.
    void paint() {
        if (damage.area.empty()) return;
        ImageCodePageCanvas canvas(image, damage.area, text);
        view.paint(canvas, damage.area);
        damage.area = {};
    }
};

void reportWalked(benchmark::State& state, const Rig& rig, std::uint64_t before) {
    state.counters["bytes_walked"] = benchmark::Counter(static_cast<double>(rig.view.walkedBytes() - before),
                                                        benchmark::Counter::kAvgIterations);
}

// End on a line just loaded: the one walk over the whole line, and the repaint of its end.
void BM_EndOnNewLine(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    const std::uint64_t before = rig.view.walkedBytes();
    for (auto _ : state) {
        state.PauseTiming();
        rig.load();
        state.ResumeTiming();
        rig.end();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    reportWalked(state, rig, before);
}
BENCHMARK(BM_EndOnNewLine)->Args({k64MiB, kProse})->Args({k64MiB, kRandomMix})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EndOnNewLine)->Args({k1GiB, kProse})->Iterations(3)->Unit(benchmark::kMillisecond);

// End from the line's start once the line has been to its end: a screen's worth of bytes.
void BM_EndAgain(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    const std::uint64_t before = rig.view.walkedBytes();
    for (auto _ : state) {
        rig.view.perform(EditCommand::LineStart, false);
        rig.paint();
        rig.end();
    }
    reportWalked(state, rig, before);
}
BENCHMARK(BM_EndAgain)->Args({k64MiB, kProse})->Args({k64MiB, kRandomMix})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndAgain)->Args({k1GiB, kProse})->Unit(benchmark::kMicrosecond);

// A key typed at the line's start, then End: the checkpoints after the edit are confirmed by a walk
// over the edited piece only.
void BM_TypeAtStartThenEnd(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    const std::uint64_t before = rig.view.walkedBytes();
    for (auto _ : state) {
        rig.view.perform(EditCommand::LineStart, false);
        rig.view.typeText("y");
        rig.paint();
        rig.end();
    }
    reportWalked(state, rig, before);
}
BENCHMARK(BM_TypeAtStartThenEnd)->Args({k64MiB, kProse})->Args({k64MiB, kRandomMix})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeAtStartThenEnd)->Args({k1GiB, kProse})->Unit(benchmark::kMicrosecond);

// The line replaced whole while redraw is off, as Encrypt puts it back with each byte shifted, the
// caret left at its end, and redraw switched on again with its repaint.
void BM_ReplaceLineAsEncryptDoes(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    std::string shifted = lineOf(rig.lineBytes, rig.lineText);
    for (char& c : shifted) c = static_cast<char>(c + 1);
    for (auto _ : state) {
        rig.view.setRedraw(false);
        rig.edit.setSelection(0, rig.edit.textLength());
        rig.edit.replaceSelection(shifted, false);
        rig.edit.setSelection(rig.edit.textLength(), rig.edit.textLength());
        rig.view.setRedraw(true);
        rig.paint();
        for (char& c : shifted) c = static_cast<char>(c - 1);
    }
}
BENCHMARK(BM_ReplaceLineAsEncryptDoes)->Args({k64MiB, kProse})->Unit(benchmark::kMillisecond);

// Under word wrap: a key typed at the line's start with its repaint. The control divides the rest of
// the line anew, as far as the division changes.
void BM_TypeAtStartWrapped(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    rig.view.perform(EditCommand::LineStart, false);
    rig.view.setWordWrap(true);
    rig.paint();
    for (auto _ : state) {
        rig.view.typeText("y");
        rig.paint();
    }
}
BENCHMARK(BM_TypeAtStartWrapped)->Args({k64MiB, kProse})->Unit(benchmark::kMillisecond);

// One blink of the caret at the line's end and the repaint of its rectangle.
void BM_CaretBlink(benchmark::State& state) {
    Rig rig(state.range(0), state.range(1));
    bool shown = true;
    const std::uint64_t before = rig.view.walkedBytes();
    for (auto _ : state) {
        shown = !shown;
        rig.view.setCaretShown(shown);
        rig.paint();
    }
    reportWalked(state, rig, before);
}
BENCHMARK(BM_CaretBlink)->Args({k64MiB, kProse})->Args({k64MiB, kRandomMix})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaretBlink)->Args({k1GiB, kProse})->Unit(benchmark::kMicrosecond);

}  // namespace
