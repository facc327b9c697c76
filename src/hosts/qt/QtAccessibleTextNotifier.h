#pragma once

#include <QString>

#include "platform/host/AccessibleText.h"

class QWidget;

namespace zozuz {

// Tells Qt's accessibility what changed in an editor's text, its caret and its selection. Screen
// readers want the removed text with a removal, which is gone by the time the editor tells; so the
// text around the caret is remembered after each change, and a removal within it reads from there
// (typing and deleting happen at the caret). A removal elsewhere reads as replacement characters of
// the right count, and one too large to spell out, or of an unknown count, as a change of the text
// as a whole.
class QtAccessibleTextNotifier {
public:
    explicit QtAccessibleTextNotifier(QWidget& editor) : editor_(editor) {}

    // Only while a screen reader listens (QAccessible::isActive).
    void changed(AccessibleText& text, const AccessibleTextChange& change);

private:
    void remember(AccessibleText& text);
    QString removedText(AccessibleText::Offset offset, AccessibleText::Offset count) const;

    QWidget& editor_;
    // The text of [recentStart_, recentStart_ + recent_.size()) as it was after the last change told.
    QString recent_;
    AccessibleText::Offset recentStart_ = 0;
};

}  // namespace zozuz
