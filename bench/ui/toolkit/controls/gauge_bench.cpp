// The gauge's paint costs and how often a long sweep repaints it, on the headless surface.
#include <benchmark/benchmark.h>

#include <cstddef>

#include "platform/gfx/Geometry.h"
#include "hosts/headless/ImageSurface.h"
#include "ui/toolkit/controls/TGauge.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace {

using namespace zozuz;

// The main window as the gauge sees it.
class BenchParent final : public TWinControl {
public:
    BenchParent() : surface_(Size{570, 385}) {}
    Surface* PaintSurface() override { return &surface_; }
    bool Showing() const override { return true; }
    void PaintControlsAbove(const TControl&, const Rect&) override {}
    void InvalidateRect(const Rect&) override {}
    ImageSurface& imageSurface() { return surface_; }

private:
    ImageSurface surface_;
};

// One paint of the main window's gauge (297 x 17, a horizontal bar at 37 % with its text).
void BM_GaugePaint297x17(benchmark::State& state) {
    BenchParent parent;
    TGauge gauge;
    gauge.SetParent(&parent);
    gauge.SetBounds(8, 300, 297, 17);
    gauge.SetKind(static_cast<TGaugeKind>(state.range(0)));
    gauge.SetProgress(37);
    for (auto _ : state) {
        gauge.PaintTo(parent.imageSurface());
        benchmark::DoNotOptimize(parent.imageSurface().image().data());
    }
}
BENCHMARK(BM_GaugePaint297x17)->DenseRange(0, 4)->ArgName("kind")->Unit(benchmark::kMicrosecond);

// Progress from 0 to 10^6 one step at a time on the range 0 to 10^6: only the whole-number
// percentage changes paint, so the sweep must repaint exactly 100 times.
void BM_GaugeSweep(benchmark::State& state) {
    BenchParent parent;
    TGauge gauge;
    gauge.SetParent(&parent);
    gauge.SetBounds(8, 300, 297, 17);
    gauge.SetMaxValue(1000000);
    std::size_t repaints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gauge.SetProgress(0);
        parent.imageSurface().resetDrawCount();
        state.ResumeTiming();
        for (int i = 0; i <= 1000000; ++i) gauge.SetProgress(i);
        repaints = parent.imageSurface().drawCount();
        if (repaints != 100) state.SkipWithError("the sweep did not repaint exactly 100 times");
    }
    state.counters["repaints"] = static_cast<double>(repaints);
}
BENCHMARK(BM_GaugeSweep)->Unit(benchmark::kMillisecond);

}  // namespace
