#include "hosts/qt/QtHost.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>
#include <QMargins>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QUrl>
#include <QWindow>

#include "platform/host/ShowCommand.h"
#include "hosts/qt/QtEventHub.h"
#include "hosts/qt/QtFileDialogs.h"
#include "hosts/qt/QtImageConversion.h"
#include "hosts/qt/QtMenuBar.h"
#include "hosts/qt/QtPrinter.h"
#include "hosts/qt/QtClipboard.h"
#include "hosts/qt/QtCodePageCodec.h"
#include "hosts/qt/QtCodePageText.h"
#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtTextRenderer.h"
#include "hosts/qt/QtTranslations.h"
#include "hosts/qt/QtAccessibleFactory.h"
#include "hosts/qt/QtWindow.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

QtHost::QtHost(int& argc, char** argv)
    : app_(std::make_unique<QApplication>(argc, argv)),
      translations_(std::make_unique<QtTranslations>(QLocale::system())),
      hub_(std::make_unique<QtEventHub>(*this)),
      renderer_(std::make_unique<QtTextRenderer>()),
      fileDialogs_(std::make_unique<QtFileDialogs>(*this)),
      printer_(std::make_unique<QtPrinter>(*this)),
      codec_(std::make_unique<QtCodePageCodec>()),
      codePageText_(std::make_unique<QtCodePageText>(*codec_)),
      clipboard_(std::make_unique<QtClipboard>()),
      tooltip_(std::make_unique<QtTooltip>()) {
    installAccessibleFactory();
    // The program decides when it ends, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    app_->installEventFilter(hub_.get());
#ifndef QT_NO_SESSIONMANAGER
    // The session manager asks before the desktop session ends; the program answers without asking
    // the user anything, and a no cancels the end.
    QObject::connect(app_.get(), &QGuiApplication::commitDataRequest, hub_.get(), [this](QSessionManager& manager) {
        if (!askSessionEnd()) manager.cancel();
    });
#endif
}

QtHost::~QtHost() {
    // Windows still alive belong to the program; the Qt objects of the host go before the
    // QApplication they need.
    for (const auto& [id, timer] : timers_)
        if (timer.qtId != 0) hub_->killTimer(timer.qtId);
    app_->removeEventFilter(hub_.get());
    printer_.reset();
    fileDialogs_.reset();
    renderer_.reset();
    clipboard_.reset();
    codePageText_.reset();
    codec_.reset();
    tooltip_.reset();
    hub_.reset();
    app_.reset();
}

// --- Errors ---

void QtHost::keepError(std::exception_ptr error) {
    if (!pending_) pending_ = std::move(error);
    // Let the dispatcher return as soon as it can, so that nothing more happens before the program
    // sees its error.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->interrupt();
}

void QtHost::rethrowPending() {
    if (!pending_) return;
    std::exception_ptr error = std::exchange(pending_, nullptr);
    std::rethrow_exception(error);
}

// --- The session's end ---

bool QtHost::askSessionEnd() {
    if (!listener_) return true;
    // A program that failed to answer has not said it may end, so its text is kept.
    bool mayEnd = false;
    return guard([&] { mayEnd = listener_->sessionEndQuery(); }) && mayEnd;
}

bool QtHost::sessionEnded() {
    if (!listener_) return false;
    guard([&] { listener_->sessionEnding(); });
    return true;
}

// --- Windows ---

std::unique_ptr<NativeWindow> QtHost::createWindow(WindowClient& client, const WindowOptions& options) {
    return std::make_unique<QtWindow>(*this, client, options);
}

void QtHost::windowCreated(QtWindow* window) { windows_.push_back(window); }

void QtHost::windowDestroyed(QtWindow* window) { std::erase(windows_, window); }

QtWindow* QtHost::windowOf(const QWindow* handle) const {
    if (!handle) return nullptr;
    for (QtWindow* window : windows_)
        if (window->widget().windowHandle() == handle) return window;
    return nullptr;
}

QtWindow* QtHost::windowOfWidget(const QObject* widget) const {
    if (!widget) return nullptr;
    for (QtWindow* window : windows_)
        if (&window->widget() == widget) return window;
    return nullptr;
}

NativeWindow* QtHost::activeWindow() const { return windowOfWidget(QApplication::activeWindow()); }

Rect QtHost::frameEstimate(WindowFrame frame) const {
    const std::optional<Rect>& same = frame == WindowFrame::Dialog ? dialogFrame_ : sizeableFrame_;
    const std::optional<Rect>& other = frame == WindowFrame::Dialog ? sizeableFrame_ : dialogFrame_;
    if (same) return *same;
    // A window manager usually frames both kinds alike.
    if (other) return *other;
    return Rect{};
}

void QtHost::learnFrame(WindowFrame frame, const Rect& insets) {
    (frame == WindowFrame::Dialog ? dialogFrame_ : sizeableFrame_) = insets;
}

void QtHost::announce(HostListener::InputKind kind) {
    if (listener_) guard([&] { listener_->inputArriving(kind); });
}

// --- The event queue ---

bool QtHost::takeQuit() { return std::exchange(quitPending_, false); }

Host::PumpResult QtHost::pumpOne() {
    if (takeQuit()) return PumpResult::Quit;
    // Objects handed to deleteLater are deleted only where an event loop runs; the program's loop
    // is this pump, so it lets them go here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool handled = QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    rethrowPending();
    if (takeQuit()) return PumpResult::Quit;
    return handled ? PumpResult::Handled : PumpResult::Empty;
}

void QtHost::waitForEvent() {
    if (quitPending_) return;
    // The dispatcher sleeps in the system until the display, a timer or a posted event wakes it, and
    // delivers what woke it.
    QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    rethrowPending();
}

void QtHost::postQuit() { hub_->postQuit(); }

KeyEvent QtHost::keyOf(const QKeyEvent& event) const { return hub_->keyOf(event); }

// --- Timers ---

Host::TimerId QtHost::startTimer(int milliseconds, std::function<void()> callback) {
    const int qtId = hub_->startTimer(std::max(0, milliseconds), Qt::PreciseTimer);
    if (qtId == 0) return 0;
    const TimerId id = ++nextTimer_;
    timers_[id] = Timer{qtId, std::move(callback)};
    timerByQtId_[qtId] = id;
    return id;
}

void QtHost::stopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    if (it->second.qtId != 0) {
        hub_->killTimer(it->second.qtId);
        timerByQtId_.erase(it->second.qtId);
    }
    timers_.erase(it);
}

void QtHost::timerFired(int qtTimerId) {
    auto byQt = timerByQtId_.find(qtTimerId);
    if (byQt == timerByQtId_.end()) return;
    const TimerId id = byQt->second;
    // Qt timers repeat: a one-shot timer stops at its first expiry.
    hub_->killTimer(qtTimerId);
    timerByQtId_.erase(byQt);
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second.qtId = 0;
    // The callback runs from a posted message, not from inside Qt's timer dispatch: a callback that
    // runs a nested event loop (a modal box) would otherwise hold up every other timer until it
    // returns.
    hub_->postTimerDue(id);
}

void QtHost::timerDue(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;  // stopped after it came due
    if (timerHolds_ > 0) {
        heldTimers_.push_back(id);
        return;
    }
    std::function<void()> callback = std::move(it->second.callback);
    timers_.erase(it);
    guard(callback);
}

void QtHost::releaseTimers() {
    if (timerHolds_ == 0 || --timerHolds_ > 0) return;
    // Queued behind the events already posted, as they would have been had they come due now.
    for (TimerId id : std::exchange(heldTimers_, {})) hub_->postTimerDue(id);
}

// --- Pointer and screen ---

Point QtHost::pointerPosition() const {
    const QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

NativeWindow* QtHost::windowAt(Point screen) const {
    QtWindow* window = windowOfWidget(QApplication::topLevelAt(QPoint(screen.x, screen.y)));
    return window && window->visible() ? window : nullptr;
}

Size QtHost::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Size{};
    const QSize size = screen->geometry().size();
    return Size{size.width(), size.height()};
}

Rect QtHost::workArea(const Rect& window) const {
    // The screen that holds most of the rectangle, else the one nearest to its middle.
    const QRect wanted(window.left, window.top, std::max(1, window.width()), std::max(1, window.height()));
    const QScreen* best = nullptr;
    qint64 bestShare = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect common = area.intersected(wanted);
        const qint64 share = common.isEmpty() ? 0 : qint64{common.width()} * common.height();
        const QPoint gap = wanted.center() - area.center();
        const qint64 distance = qint64{gap.x()} * gap.x() + qint64{gap.y()} * gap.y();
        if (share > bestShare || (bestShare == 0 && share == 0 && distance < bestDistance)) {
            best = screen;
            bestShare = share;
            bestDistance = distance;
        }
    }
    if (!best) best = QGuiApplication::primaryScreen();
    if (!best) return Rect{0, 0, window.width(), window.height()};
    const QRect area = best->availableGeometry();
    return Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

// --- Message boxes ---

namespace {

// Where a window's frame goes for the window, frame and all, to stand in the middle of an area,
// rounded down.
QPoint centredCorner(const QRect& area, QSize client, const Rect& frame) {
    const int outerWidth = client.width() + frame.left + frame.right;
    const int outerHeight = client.height() + frame.top + frame.bottom;
    return QPoint(area.x() + (area.width() - outerWidth) / 2, area.y() + (area.height() - outerHeight) / 2);
}

// Centres a box once more when the window manager has framed it, with the frame it really drew,
// and keeps that frame for the next box.
class CentredWhenFramed : public QObject {
public:
    CentredWhenFramed(QWidget& box, QRect area, std::optional<Rect>& learned)
        : box_(box), area_(area), learned_(learned) {
        box_.installEventFilter(this);
    }
    ~CentredWhenFramed() override { box_.removeEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override {
        if (done_ || (event->type() != QEvent::Move && event->type() != QEvent::Resize)) return false;
        const QWindow* handle = box_.windowHandle();
        if (!box_.isVisible() || handle == nullptr) return false;
        const QMargins m = handle->frameMargins();
        if (m.isNull()) return false;
        done_ = true;
        learned_ = Rect{m.left(), m.top(), m.right(), m.bottom()};
        const QPoint corner = centredCorner(area_, box_.size(), *learned_);
        if (box_.pos() != corner) box_.move(corner);
        return false;
    }

private:
    QWidget& box_;
    QRect area_;
    std::optional<Rect>& learned_;
    bool done_ = false;
};

}  // namespace

MessageBoxResult QtHost::messageBox(const MessageBoxRequest& request) {
    auto* owner = dynamic_cast<QtWindow*>(request.owner);
    QMessageBox box(owner ? &owner->widget() : nullptr);
    box.setWindowTitle(QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setTextFormat(Qt::PlainText);
    switch (request.icon) {
        case MessageBoxIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageBoxIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MessageBoxIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageBoxIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageBoxIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    // The answers Yes, No and Cancel are fixed English texts in a fixed order, whatever the desktop:
    // standard buttons would be relabelled by the theme and reordered by the desktop's dialog layout
    // (Cancel, No, Yes on some). Buttons of the action role are the only ones that no layout
    // reorders, and among themselves they stay in the order they were added.
    std::vector<std::pair<QAbstractButton*, MessageBoxResult>> answers;
    const auto addAnswer = [&](const char* text, MessageBoxResult result) {
        QPushButton* button = box.addButton(QString::fromLatin1(text), QMessageBox::ActionRole);
        answers.emplace_back(button, result);
        return button;
    };
    // What a box closed without any button pressed answers: the answer that changes nothing.
    MessageBoxResult unanswered = MessageBoxResult::Ok;
    switch (request.buttons) {
        case MessageBoxButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageBoxButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            unanswered = MessageBoxResult::Cancel;
            break;
        case MessageBoxButtons::YesNo:
            // Without a Cancel button the box cannot be dismissed without an answer.
            box.setDefaultButton(addAnswer("&Yes", MessageBoxResult::Yes));
            addAnswer("&No", MessageBoxResult::No);
            unanswered = MessageBoxResult::No;
            break;
        case MessageBoxButtons::YesNoCancel:
            box.setDefaultButton(addAnswer("&Yes", MessageBoxResult::Yes));
            addAnswer("&No", MessageBoxResult::No);
            box.setEscapeButton(addAnswer("Cancel", MessageBoxResult::Cancel));
            unanswered = MessageBoxResult::Cancel;
            break;
    }
    // Every box blocks the whole program while it shows, as the program's own boxes expect; the
    // program disables its windows besides.
    box.setWindowModality(Qt::ApplicationModal);
    // Without an owner the box stands in front of everything.
    if (!owner) box.setWindowFlag(Qt::WindowStaysOnTopHint, request.taskModal);
    // Every box is centred on the screen the user works on (that of its owner or the active window,
    // else the primary one), not over its owner, as the system the program was made for places them.
    const QWidget* near = owner ? &owner->widget() : QApplication::activeWindow();
    std::unique_ptr<CentredWhenFramed> centring;
    if (QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen()) {
        box.adjustSize();
        // The whole box is centred, frame and all: Qt places a window that has not shown yet by its
        // frame's corner. The frame is the one the window manager drew around the last box, else
        // the best guess there is; should the real one differ, the box is centred again once
        // framed, and the next box starts where it belongs.
        const QRect area = screen->availableGeometry();
        box.move(centredCorner(area, box.size(), messageBoxFrame_ ? *messageBoxFrame_ : frameEstimate(WindowFrame::Dialog)));
        centring = std::make_unique<CentredWhenFramed>(box, area, messageBoxFrame_);
    }
    box.exec();
    rethrowPending();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, result] : answers)
        if (button == clicked) return result;
    switch (box.standardButton(clicked)) {
        case QMessageBox::Ok: return MessageBoxResult::Ok;
        case QMessageBox::Cancel: return MessageBoxResult::Cancel;
        default: return unanswered;
    }
}

// --- Menus, file and print dialogs ---

std::unique_ptr<NativeMenuBar> QtHost::createMenuBar(NativeWindow& window, MenuListener& listener) {
    return std::make_unique<QtMenuBar>(*this, static_cast<QtWindow&>(window), listener);
}

FileDialogs& QtHost::fileDialogs() { return *fileDialogs_; }

Printer& QtHost::printer() { return *printer_; }

// --- Text, shell and process ---

TextRenderer& QtHost::textRenderer() { return *renderer_; }
const CodePageCodec& QtHost::codePageCodec() const { return *codec_; }

std::unique_ptr<EditorWindow> QtHost::createEditorWindow(NativeWindow& parent, EditorWindowClient& client) {
    return std::make_unique<QtEditorWindow>(*this, static_cast<QtWindow&>(parent), client);
}
CodePageTextMeasure& QtHost::codePageTextMeasure() { return *codePageText_; }
Clipboard& QtHost::clipboard() { return *clipboard_; }

bool QtHost::openAddress(std::string_view address, NativeWindow*) {
    // As the desktop's own handler does, a bare "www.example.com" is taken for a web address; a
    // "mailto:" or "http:" address stays as it is.
    const QUrl url = QUrl::fromUserInput(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())));
    if (!url.isValid() || url.isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

std::string QtHost::executablePath() const { return QCoreApplication::applicationFilePath().toStdString(); }

int QtHost::initialShowCommand() const {
    // A Linux desktop starts programs without a show command.
    return show_command::kShowDefault;
}

void QtHost::setApplicationIcon(const Image& icon) {
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(toQImage(icon))));
}

}  // namespace zozuz
