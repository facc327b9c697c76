// The cost of the application's message step and idle step on the headless host, with the program's
// two windows. The idle work runs once each time the queue empties, so it must stay cheap next to
// the work of one user event.
#include <benchmark/benchmark.h>

#include "app/TApplication.h"
#include "platform/headless/HeadlessHost.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {
namespace {

struct Program {
    Program() {
        app.CreateForm(mainForm);
        app.CreateForm(aboutBox);
        mainForm->Show();
        // Over the main window, so the idle step's mouse tracking has a window to look into.
        host.setPointerPosition(mainForm->Native()->clientToScreen({100, 100}));
        while (host.pumpOne() != Host::PumpResult::Empty) {
        }
    }
    HeadlessHost host;
    TApplication app{host};
    TVeskAppForm* mainForm = nullptr;
    TAboutBox* aboutBox = nullptr;
};

void BM_MessageStep(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.host.post([] {});
        program.app.HandleMessage();
    }
}
BENCHMARK(BM_MessageStep);

// One idle step (mouse tracking, hint, command-state update, wait) and the event that wakes it.
void BM_IdleStepAndWake(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.host.whenIdle([&] { program.host.post([] {}); });
        program.app.HandleMessage();  // idle, then the wait runs the script
        program.app.HandleMessage();  // the posted event
    }
}
BENCHMARK(BM_IdleStepAndWake);

}  // namespace
}  // namespace zozuz
