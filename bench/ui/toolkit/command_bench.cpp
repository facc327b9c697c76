// The cost of the command layer's work at each idle step, on the headless host, with the main window
// (seven linked toolbar buttons, an editor stand-in holding the focus), and of one shortcut key
// that runs a command.
#include <benchmark/benchmark.h>

#include "app/TApplication.h"
#include "hosts/headless/HeadlessHost.h"

#include "../../../tests/ui/forms/CommandForm.h"

namespace zozuz {
namespace {

struct Program {
    Program() {
        app.CreateForm(form);
        form->Memo1->selLength = 3;
        form->Memo1->clipboardHasText = true;
        form->Show();
        host.setPointerPosition(form->Native()->clientToScreen({100, 100}));
        drain();
    }
    void drain() {
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    HeadlessHost host;
    TApplication app{host};
    CommandForm* form = nullptr;
};

// The seven refreshes alone, as the idle step runs them for the window.
void BM_SevenRefreshes(benchmark::State& state) {
    Program program;
    for (auto _ : state) program.form->UpdateActions();
}
BENCHMARK(BM_SevenRefreshes);

// One whole idle step (mouse tracking, hint, the seven refreshes, the wait) and the event that
// wakes it.
void BM_IdleStepAndWake(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.host.whenIdle([&] { program.host.post([] {}); });
        program.app.HandleMessage();
        program.app.HandleMessage();
    }
}
BENCHMARK(BM_IdleStepAndWake);

// Ctrl+X through the menu walk: the Edit menu's entries refreshed, the cut sent to the editor.
void BM_ShortCutThroughTheMenu(benchmark::State& state) {
    Program program;
    KeyEvent key;
    key.virtualKey = 'X';
    key.ctrl = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(program.form->IsShortCut(key));
        program.form->Memo1->commands.clear();
    }
}
BENCHMARK(BM_ShortCutThroughTheMenu);

}  // namespace
}  // namespace zozuz
