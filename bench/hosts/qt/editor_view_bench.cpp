// The editor's view over a 256 MiB GBK document on the Qt host (offscreen), painting into an image
// of 800 x 600 pixels: loading the text and painting its first screen next to loading alone, Ctrl+End
// and its repaint, steps of dragging the vertical scroll bar, keystrokes in the middle of the text
// with their repaint (the p99 is reported as a counter), and switching word wrap on.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "editor/EditControl.h"
#include "editor/EditView.h"
#include "hosts/qt/QtCodePageText.h"
#include "hosts/qt/QtHost.h"

namespace {

using namespace zozuz;
using Pos = EditControl::Pos;
using Clock = std::chrono::steady_clock;

// The thread's processor time in milliseconds: on a shared machine the wall clock also counts the
// time other processes had the processor.
double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

constexpr std::size_t kDocumentBytes = 256u << 20;

QtHost& host() {
    static QtHost* const instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "editor_view_bench";
        static char* argv[] = {name, nullptr};
        return new QtHost(argc, argv);
    }();
    return *instance;
}

const std::string& document() {
    static const std::string text = [] {
        std::string result;
        result.reserve(kDocumentBytes + 256);
        std::mt19937 random(11);
        while (result.size() < kDocumentBytes) {
            const std::size_t length = 20 + random() % 100;
            for (std::size_t i = 0; i < length; ++i) {
                if (random() % 3 != 0 && i + 1 < length) {
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

// A view with its document loaded, and an image to paint it into.
struct Rig {
    Damage damage;
    EditControl edit;
    EditView view{edit, host().codePageCodec(), host().codePageText(), host().clipboard()};
    QImage image{800, 600, QImage::Format_RGB32};

    Rig() {
        Font font;
        font.pixelHeight = 16;
        view.setFont(font);
        view.setViewSize({800, 600});
        view.setFocused(true);
        view.setListener(&damage);
    }
    // Paints what the view asked to repaint.
    void paint() {
        QPainter painter(&image);
        painter.setClipRect(damage.area.left, damage.area.top, damage.area.width(), damage.area.height());
        QtPainterCanvas canvas(painter, host().codePageText());
        view.paint(canvas, damage.area);
        damage.area = {};
    }
    void press(std::uint8_t key, bool ctrl = false, std::string text = {}) {
        KeyEvent event;
        event.virtualKey = key;
        event.ctrl = ctrl;
        event.text = std::move(text);
        view.key(event);
    }
};

void BM_LoadDocumentAlone(benchmark::State& state) {
    const std::string& text = document();
    for (auto _ : state) {
        EditControl edit;
        benchmark::DoNotOptimize(edit.setText(text));
    }
}
BENCHMARK(BM_LoadDocumentAlone)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadDocumentAndPaintFirstScreen(benchmark::State& state) {
    const std::string& text = document();
    for (auto _ : state) {
        Rig rig;
        rig.edit.setText(text);
        rig.paint();
    }
}
BENCHMARK(BM_LoadDocumentAndPaintFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CtrlEndAndRepaint(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    rig.paint();
    bool toEnd = true;
    for (auto _ : state) {
        rig.press(toEnd ? vk::End : vk::Home, true);
        rig.paint();
        toEnd = !toEnd;
    }
}
BENCHMARK(BM_CtrlEndAndRepaint)->Unit(benchmark::kMillisecond);

void BM_ScrollBarDragStep(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    const Pos lines = rig.edit.lineCount();
    Pos line = 0;
    for (auto _ : state) {
        // A drag over the whole bar in 200 steps.
        line = (line + lines / 200) % lines;
        rig.view.scrollToLine(line);
        rig.paint();
    }
}
BENCHMARK(BM_ScrollBarDragStep)->Unit(benchmark::kMillisecond);

void BM_RepaintOnly(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    rig.view.scrollToLine(rig.edit.lineCount() / 2);
    for (auto _ : state) {
        rig.damage.area = {0, 0, 800, 600};
        rig.paint();
    }
}
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);

void BM_KeystrokeInTheMiddle(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    const Pos middle = rig.view.stopAtOrBefore(rig.edit.lineIndex(rig.edit.lineCount() / 2) + 10);
    rig.view.select(middle, middle);
    rig.paint();
    std::vector<double> times;
    std::vector<double> cpuTimes;
    bool type = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpuStart = cpuMilliseconds();
        if (type) {
            rig.press('A', false, "中");
        } else {
            rig.press(vk::Back);
        }
        rig.paint();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        cpuTimes.push_back(cpuMilliseconds() - cpuStart);
        type = !type;
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    state.counters["p99_ms"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    state.counters["p99_cpu_ms"] = cpuTimes[std::min(cpuTimes.size() - 1, cpuTimes.size() * 99 / 100)];
}
BENCHMARK(BM_KeystrokeInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(1000);

void BM_WordWrapOnFirstScreen(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    for (auto _ : state) {
        rig.view.setWordWrap(true);
        rig.paint();
        state.PauseTiming();
        rig.view.setWordWrap(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WordWrapOnFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(2);

// The idle steps that divide the rest after word wrap is switched on: the slowest step (a counter)
// and all of them together.
void BM_WordWrapIdleSteps(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    double slowest = 0;
    int steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rig.view.setWordWrap(false);
        rig.view.setWordWrap(true);
        rig.paint();
        state.ResumeTiming();
        for (bool more = true; more; ++steps) {
            const auto start = Clock::now();
            more = rig.view.continueWrapping();
            slowest = std::max(slowest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }
    state.counters["slowest_step_ms"] = slowest;
    state.counters["steps"] = steps / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WordWrapIdleSteps)->Unit(benchmark::kMillisecond)->Iterations(2);

// Ctrl+End right after word wrap is switched on: the end's display line is exact only once every
// line before it is divided, so this divides the whole document at once.
void BM_CtrlEndWhileWrapUnfinished(benchmark::State& state) {
    Rig rig;
    rig.edit.setText(document());
    for (auto _ : state) {
        state.PauseTiming();
        rig.view.setWordWrap(false);
        rig.press(vk::Home, true);
        rig.view.setWordWrap(true);
        rig.paint();
        state.ResumeTiming();
        rig.press(vk::End, true);
        rig.paint();
    }
}
BENCHMARK(BM_CtrlEndWhileWrapUnfinished)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
