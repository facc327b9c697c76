// The cost of the application's message step and idle step on the headless host, with the program's
// two windows. The idle work runs once each time the queue empties, so it must stay cheap next to
// the work of one user event.
#include <benchmark/benchmark.h>

#include <string>

#include "app/TApplication.h"
#include "document/TMemoStrings.h"
#include "editor/EditView.h"
#include "hosts/headless/HeadlessHost.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"
#include "ui/toolkit/commands/TAction.h"

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

// One idle step (mouse tracking, hint, command-state update, wait) and the event that wakes it, with
// the window as it starts: nothing in the editor, nothing on the clipboard.
void BM_IdleStepAndWake(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.host.whenIdle([&] { program.host.post([] {}); });
        program.app.HandleMessage();  // idle, then the wait runs the script
        program.app.HandleMessage();  // the posted event
    }
}
BENCHMARK(BM_IdleStepAndWake);

// The same step as a user leaves it most of the time: the editor holds the focus with a selection
// and the clipboard holds text, so every edit action's refresh finds the editor and asks it for its
// selection or the clipboard for its formats. The run first checks that one step refreshes seven
// actions (those of the toolbar's seven linked buttons), so the figure is that of the whole work.
void BM_IdleStepWithEditorFocused(benchmark::State& state) {
    Program program;
    program.mainForm->Native()->activate();
    program.mainForm->Memo1->Lines().put(0, "\xD6\xD0\xCE\xC4 text");
    program.mainForm->Memo1->View()->select(0, 4);
    program.host.memoryClipboard().offerText("clip");
    while (program.host.pumpOne() != Host::PumpResult::Empty) {
    }
    int refreshes = 0;
    program.mainForm->ActionList1->OnUpdate = [&](TAction&, bool&) { ++refreshes; };
    program.host.whenIdle([&] { program.host.post([] {}); });
    program.app.HandleMessage();
    program.app.HandleMessage();
    program.mainForm->ActionList1->OnUpdate = nullptr;
    if (refreshes != 7 || !program.mainForm->Memo1->Focused()) {
        state.SkipWithError(("one idle step refreshed " + std::to_string(refreshes) + " actions, not 7").c_str());
        return;
    }
    for (auto _ : state) {
        program.host.whenIdle([&] { program.host.post([] {}); });
        program.app.HandleMessage();
        program.app.HandleMessage();
    }
    state.counters["refreshes_per_step"] = refreshes;
}
BENCHMARK(BM_IdleStepWithEditorFocused);

}  // namespace
}  // namespace zozuz
