// Encrypt as the user runs it, from a click on the toolbar's Encrypt button on the main window
// (gauge, the editor stepping aside and coming back included), against the cipher alone over the
// same document in the same run. The target: the click costs at most 1.1 times the cipher alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/TApplication.h"
#include "document/LineCipher.h"
#include "hosts/headless/HeadlessHost.h"
#include "platform/host/MouseEvent.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/controls/TToolButton.h"

namespace {

using namespace zozuz;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMiB = 1 << 20;

// GBK-like text: lines of 20 to 200 bytes of double-byte characters and ASCII letters, each ending
// in CR LF. Deterministic, so every run measures the same bytes.
std::string gbkText(std::size_t size) {
    std::string text;
    text.reserve(size);
    std::uint64_t state = 88172645463325252ULL;
    const auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    while (text.size() < size) {
        const std::size_t length = 20 + next() % 181;
        const std::size_t start = text.size();
        while (text.size() - start + 2 <= length) {
            if (next() % 4 == 0) {
                text += static_cast<char>('a' + next() % 26);
            } else {
                text += static_cast<char>(0xB0 + next() % 40);
                text += static_cast<char>(0xA1 + next() % 94);
            }
        }
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class MainWindow {
public:
    explicit MainWindow(std::size_t size) {
        app.CreateForm(form);
        form->Show();
        form->Native()->activate();
        drain();
        form->Memo1->Lines().setRawText(gbkText(size));
    }
    void drain() {
        while (app.ProcessMessage()) {
        }
    }
    // A press and release of the left button in the middle of a toolbar button, delivered.
    void click(const TToolButton& button) {
        const Rect place = button.WindowRect();
        const Point inside{place.left + place.width() / 2, place.top + place.height() / 2};
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Down, MouseEvent::Button::Left, inside});
        host.postMouse(*form->Native(), MouseEvent{MouseEvent::Kind::Up, MouseEvent::Button::Left, inside});
        drain();
    }

    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* form = nullptr;
};

// Each iteration: Encrypt from the button and Decrypt from its button, then the same two runs of the
// cipher alone, without a progress sink. The document is the same throughout, so both sides see the
// same lines; alternating keeps caches and memory in the same state for both.
void BM_EncryptClickAgainstCipherAlone(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0)) * kMiB;
    MainWindow window(size);
    TVeskAppForm& form = *window.form;
    const LineCipher encrypt(CipherDirection::Encrypt);
    const LineCipher decrypt(CipherDirection::Decrypt);
    double click = 0;
    double alone = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        window.click(*form.ToolButton10);
        click += seconds(Clock::now() - start);
        if (form.ToolButton10->Enabled()) state.SkipWithError("Encrypt did not run from its button");
        window.click(*form.ToolButton11);

        start = Clock::now();
        encrypt.run(form.Memo1->Lines(), {});
        alone += seconds(Clock::now() - start);
        decrypt.run(form.Memo1->Lines(), {});
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["click_s"] = click / runs;
    state.counters["cipher_s"] = alone / runs;
    state.counters["ratio"] = alone > 0 ? click / alone : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
    std::printf("Encrypt of %zu MiB: from the button %.3f s, cipher alone %.3f s, ratio %.3f (target <= 1.1)\n",
                size / kMiB, click / runs, alone / runs, alone > 0 ? click / alone : 0.0);
}
BENCHMARK(BM_EncryptClickAgainstCipherAlone)
    ->Arg(256)
    ->ArgName("MiB")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
