#include "hosts/qt/QtAccessibleTextNotifier.h"

#include <algorithm>
#include <limits>

#include <QAccessible>
#include <QChar>
#include <QWidget>

namespace zozuz {

namespace {

// How many characters either side of the caret are remembered.
constexpr AccessibleText::Offset kRemembered = 256;
// The longest change spelled out in an event; a longer one is a change of the whole text.
constexpr AccessibleText::Offset kLongestSpelled = 1 << 16;

int toInt(AccessibleText::Offset offset) {
    return static_cast<int>(std::clamp<AccessibleText::Offset>(offset, 0, std::numeric_limits<int>::max()));
}

}  // namespace

QString QtAccessibleTextNotifier::removedText(AccessibleText::Offset offset, AccessibleText::Offset count) const {
    const AccessibleText::Offset recentEnd = recentStart_ + recent_.size();
    if (offset >= recentStart_ && offset + count <= recentEnd)
        return recent_.mid(static_cast<qsizetype>(offset - recentStart_), static_cast<qsizetype>(count));
    return QString(static_cast<qsizetype>(count), QChar::ReplacementCharacter);
}

void QtAccessibleTextNotifier::remember(AccessibleText& text) {
    const AccessibleText::Offset caret = text.caret();
    recentStart_ = std::max<AccessibleText::Offset>(0, caret - kRemembered);
    recent_ = QString::fromStdString(text.text(recentStart_, caret + kRemembered));
}

void QtAccessibleTextNotifier::changed(AccessibleText& text, const AccessibleTextChange& change) {
    switch (change.kind) {
        case AccessibleTextChange::Kind::Text: {
            const bool known = change.removed >= 0 && change.removed <= kLongestSpelled && change.inserted <= kLongestSpelled;
            if (!known) {
                QAccessibleTextUpdateEvent event(&editor_, 0, QString(), QString());
                QAccessible::updateAccessibility(&event);
                break;
            }
            const QString removed = removedText(change.offset, change.removed);
            const QString inserted = QString::fromStdString(text.text(change.offset, change.offset + change.inserted));
            const int at = toInt(change.offset);
            if (!removed.isEmpty() && !inserted.isEmpty()) {
                QAccessibleTextUpdateEvent event(&editor_, at, removed, inserted);
                QAccessible::updateAccessibility(&event);
            } else if (!removed.isEmpty()) {
                QAccessibleTextRemoveEvent event(&editor_, at, removed);
                QAccessible::updateAccessibility(&event);
            } else if (!inserted.isEmpty()) {
                QAccessibleTextInsertEvent event(&editor_, at, inserted);
                QAccessible::updateAccessibility(&event);
            }
            break;
        }
        case AccessibleTextChange::Kind::Caret: {
            QAccessibleTextCursorEvent event(&editor_, toInt(change.offset));
            QAccessible::updateAccessibility(&event);
            break;
        }
        case AccessibleTextChange::Kind::Selection: {
            const AccessibleText::Range selection = text.selection();
            QAccessibleTextSelectionEvent event(&editor_, toInt(selection.start), toInt(selection.end));
            event.setCursorPosition(toInt(text.caret()));
            QAccessible::updateAccessibility(&event);
            break;
        }
    }
    remember(text);
}

}  // namespace zozuz
