#include "hosts/headless/HeadlessHost.h"

#include <algorithm>
#include <utility>

namespace zozuz {

HeadlessHost::HeadlessHost() = default;

HeadlessHost::~HeadlessHost() = default;

std::unique_ptr<NativeWindow> HeadlessHost::createWindow(WindowClient& client, const WindowOptions& options) {
    auto window = std::make_unique<HeadlessWindow>(*this, client, options);
    windows_.push_back(window.get());
    return window;
}

void HeadlessHost::windowDestroyed(HeadlessWindow* window) {
    std::erase(windows_, window);
    std::erase(zOrder_, window);
    if (active_ == window) active_ = nullptr;
    // Input that was on its way to the window goes nowhere.
    std::erase_if(queue_, [window](const Event& e) { return e.window == window; });
}

void HeadlessHost::windowShown(HeadlessWindow* window) { raise(window); }

void HeadlessHost::windowHidden(HeadlessWindow* window) {
    std::erase(zOrder_, window);
    if (active_ == window) {
        active_ = nullptr;
        announce(HostListener::InputKind::Activation);
        window->client_.activated(false);
    }
}

void HeadlessHost::raise(HeadlessWindow* window) {
    std::erase(zOrder_, window);
    zOrder_.push_back(window);
}

void HeadlessHost::activate(HeadlessWindow* window) {
    raise(window);
    if (active_ == window) return;
    HeadlessWindow* previous = active_;
    active_ = window;
    announce(HostListener::InputKind::Activation);
    if (previous) previous->client_.activated(false);
    window->client_.activated(true);
}

void HeadlessHost::activateOtherProgram() {
    HeadlessWindow* previous = active_;
    if (!previous) return;
    active_ = nullptr;
    announce(HostListener::InputKind::Activation);
    previous->client_.activated(false);
}

void HeadlessHost::announce(HostListener::InputKind kind) {
    if (listener_) listener_->inputArriving(kind);
}

bool HeadlessHost::acceptsInput(const HeadlessWindow* window) const {
    return window && window->visible_ && window->enabled_;
}

HeadlessHost::PumpResult HeadlessHost::pumpOne() {
    ++pumpCount_;
    if (queue_.empty()) {
        // Paints wait until nothing else does, so several invalidations make one paint.
        if (HeadlessWindow* window = nextPaint()) {
            window->deliverPaint();
            return PumpResult::Handled;
        }
        return PumpResult::Empty;
    }
    Event event = std::move(queue_.front());
    queue_.pop_front();
    if (event.kind == Event::Kind::Quit) return PumpResult::Quit;
    deliver(event);
    return PumpResult::Handled;
}

void HeadlessHost::deliver(Event& event) {
    HeadlessWindow* window = event.window;
    switch (event.kind) {
        case Event::Kind::Key:
            if (!acceptsInput(window)) {
                ++droppedInputs_;
                return;
            }
            announce(HostListener::InputKind::Key);
            // The window sees every key before whatever control would receive it.
            if (window->client_.keyPreview(event.key)) return;
            if (focusedEditor_ && &focusedEditor_->parent() == window) {
                focusedEditor_->client().key(event.key);
            } else {
                window->client_.keyPress(event.key);
            }
            return;
        case Event::Kind::Mouse:
            if (!acceptsInput(window)) {
                ++droppedInputs_;
                return;
            }
            if (event.mouse.kind == MouseEvent::Kind::Wheel)
                announce(HostListener::InputKind::MouseWheel);
            else if (event.mouse.kind != MouseEvent::Kind::Move)
                announce(HostListener::InputKind::MouseButton);
            window->client_.mouse(event.mouse);
            return;
        case Event::Kind::Close:
            if (!acceptsInput(window)) {
                ++droppedInputs_;
                return;
            }
            announce(HostListener::InputKind::FrameMouse);
            window->client_.closeRequest();
            return;
        case Event::Kind::SessionEndQuery:
            sessionEndAnswers_.push_back(listener_ ? listener_->sessionEndQuery() : true);
            return;
        case Event::Kind::SessionEnd:
            if (event.ending && listener_) listener_->sessionEnding();
            return;
        case Event::Kind::Task:
            event.task();
            return;
        case Event::Kind::Timer: {
            auto it = timers_.find(event.timer);
            if (it == timers_.end()) return;  // stopped after it came due
            std::function<void()> callback = std::move(it->second.callback);
            timers_.erase(it);
            callback();
            return;
        }
        case Event::Kind::Quit:
            return;
    }
}

HeadlessWindow* HeadlessHost::nextPaint() const {
    for (HeadlessWindow* window : windows_)
        if (window->visible_ && !window->dirty_.empty()) return window;
    return nullptr;
}

void HeadlessHost::waitForEvent() {
    ++waitCount_;
    if (!queue_.empty() || nextPaint()) {
        ++waitsWithEventsPending_;
        return;
    }
    // The real hosts sleep here; the headless one lets the test's script say what happens next.
    while (queue_.empty() && !nextPaint()) {
        if (idleActions_.empty())
            throw HeadlessWouldBlock("the program waits for an event and the test has scripted none");
        std::function<void()> action = std::move(idleActions_.front());
        idleActions_.pop_front();
        action();
    }
}

void HeadlessHost::postQuit() {
    Event event;
    event.kind = Event::Kind::Quit;
    queue_.push_back(std::move(event));
}

HeadlessHost::TimerId HeadlessHost::startTimer(int milliseconds, std::function<void()> callback) {
    const TimerId id = ++nextTimer_;
    timers_[id] = Timer{now_ + std::max(0, milliseconds), std::move(callback), false};
    return id;
}

void HeadlessHost::stopTimer(TimerId id) { timers_.erase(id); }

void HeadlessHost::advanceClock(int milliseconds) {
    now_ += std::max(0, milliseconds);
    std::vector<std::pair<std::int64_t, TimerId>> due;
    for (auto& [id, timer] : timers_)
        if (!timer.queued && timer.due <= now_) due.emplace_back(timer.due, id);
    std::sort(due.begin(), due.end());
    for (const auto& [when, id] : due) {
        timers_[id].queued = true;
        Event event;
        event.kind = Event::Kind::Timer;
        event.timer = id;
        queue_.push_back(std::move(event));
    }
}

NativeWindow* HeadlessHost::windowAt(Point screen) const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
        if ((*it)->visible_ && (*it)->bounds_.contains(screen)) return *it;
    return nullptr;
}

MessageBoxResult HeadlessHost::messageBox(const MessageBoxRequest& request) {
    MessageBoxRecord record;
    record.request = request;
    record.activeWindow = active_;
    for (HeadlessWindow* window : windows_)
        if (acceptsInput(window)) record.enabledWindows.push_back(window);

    std::optional<MessageBoxResult> answer;
    if (messageBoxHook_) answer = messageBoxHook_(record);
    if (!answer && !answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (!answer) {
        // Unscripted boxes take their first button, as a user pressing Enter would.
        switch (request.buttons) {
            case MessageBoxButtons::Ok:
            case MessageBoxButtons::OkCancel:
                answer = MessageBoxResult::Ok;
                break;
            case MessageBoxButtons::YesNo:
            case MessageBoxButtons::YesNoCancel:
                answer = MessageBoxResult::Yes;
                break;
        }
    }
    record.answer = *answer;
    messageBoxes_.push_back(std::move(record));
    return *answer;
}

std::unique_ptr<NativeMenuBar> HeadlessHost::createMenuBar(NativeWindow& window, MenuListener& listener) {
    // A window has one menu bar: a new one takes the place of the old.
    if (HeadlessMenuBar* old = menuBarOf(window)) std::erase(menuBars_, old);
    auto bar = std::make_unique<HeadlessMenuBar>(
        window, listener, [this] { announce(HostListener::InputKind::MenuCommand); },
        [this](HeadlessMenuBar* gone) { std::erase(menuBars_, gone); });
    menuBars_.push_back(bar.get());
    return bar;
}

HeadlessMenuBar* HeadlessHost::menuBarOf(const NativeWindow& window) const {
    for (HeadlessMenuBar* bar : menuBars_)
        if (&bar->window() == &window) return bar;
    return nullptr;
}

bool HeadlessHost::openAddress(std::string_view address, NativeWindow* owner) {
    shellCalls_.push_back(ShellCall{std::string(address), owner});
    return openAddressResult_;
}

void HeadlessHost::postKey(NativeWindow& window, const KeyEvent& key) {
    Event event;
    event.kind = Event::Kind::Key;
    event.window = static_cast<HeadlessWindow*>(&window);
    event.key = key;
    queue_.push_back(std::move(event));
}

void HeadlessHost::postKeyPress(NativeWindow& window, std::uint8_t virtualKey, bool shift, bool ctrl, bool alt) {
    KeyEvent key;
    key.virtualKey = virtualKey;
    key.shift = shift;
    key.ctrl = ctrl;
    key.alt = alt;
    key.kind = KeyEvent::Kind::Down;
    postKey(window, key);
    key.kind = KeyEvent::Kind::Up;
    postKey(window, key);
}

void HeadlessHost::postMouse(NativeWindow& window, const MouseEvent& mouse) {
    Event event;
    event.kind = Event::Kind::Mouse;
    event.window = static_cast<HeadlessWindow*>(&window);
    event.mouse = mouse;
    queue_.push_back(std::move(event));
}

void HeadlessHost::postCloseRequest(NativeWindow& window) {
    Event event;
    event.kind = Event::Kind::Close;
    event.window = static_cast<HeadlessWindow*>(&window);
    queue_.push_back(std::move(event));
}

void HeadlessHost::postSessionEndQuery() {
    Event event;
    event.kind = Event::Kind::SessionEndQuery;
    queue_.push_back(std::move(event));
}

void HeadlessHost::postSessionEnd(bool ending) {
    Event event;
    event.kind = Event::Kind::SessionEnd;
    event.ending = ending;
    queue_.push_back(std::move(event));
}

void HeadlessHost::post(std::function<void()> task) {
    Event event;
    event.kind = Event::Kind::Task;
    event.task = std::move(task);
    queue_.push_back(std::move(event));
}

void HeadlessHost::whenIdle(std::function<void()> action) { idleActions_.push_back(std::move(action)); }

std::unique_ptr<EditorWindow> HeadlessHost::createEditorWindow(NativeWindow& parent, EditorWindowClient& client) {
    return std::make_unique<HeadlessEditorWindow>(*this, static_cast<HeadlessWindow&>(parent), client);
}

void HeadlessHost::focusEditor(HeadlessEditorWindow* editor) {
    if (editor == focusedEditor_) return;
    HeadlessEditorWindow* previous = focusedEditor_;
    focusedEditor_ = editor;
    if (previous) previous->client().focusChanged(false);
    if (editor) editor->client().focusChanged(true);
}

void HeadlessHost::editorDestroyed(HeadlessEditorWindow* editor) {
    std::erase(editors_, editor);
    if (focusedEditor_ == editor) focusedEditor_ = nullptr;
}

}  // namespace zozuz
