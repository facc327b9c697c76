#include "hosts/qt/QtAccessibleEditor.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include <QTextBoundaryFinder>
#include <QWidget>

#include "hosts/qt/QtEditorWidget.h"
#include "hosts/qt/QtEditorWindow.h"
#include "hosts/qt/QtHost.h"
#include "platform/host/AccessibleText.h"
#include "platform/host/EditorWindow.h"

namespace zozuz {

namespace {

// Qt counts in int; the editor's offsets are wider.
int toInt(AccessibleText::Offset offset) {
    return static_cast<int>(std::clamp<AccessibleText::Offset>(offset, 0, std::numeric_limits<int>::max()));
}

}  // namespace

QtAccessibleEditor::QtAccessibleEditor(QtEditorWidget& widget)
    : QAccessibleWidget(&widget, QAccessible::EditableText), editor_(widget) {}

template <class R, class F>
R QtAccessibleEditor::guarded(R fallback, F&& call) const {
    R result = fallback;
    AccessibleText* text = editorText();
    if (text == nullptr) return fallback;
    if (!editor_.editorWindow().host().guard([&] { result = call(*text); })) return fallback;
    return result;
}

AccessibleText* QtAccessibleEditor::editorText() const {
    AccessibleText* text = nullptr;
    QtEditorWindow& window = editor_.editorWindow();
    window.host().guard([&] { text = window.client().accessibleText(); });
    return text;
}

QAccessible::State QtAccessibleEditor::state() const {
    QAccessible::State states = QAccessibleWidget::state();
    states.focusable = true;
    states.focused = editor_.hasFocus();
    states.multiLine = true;
    const bool readOnly = guarded(true, [](AccessibleText& text) { return text.readOnly(); });
    states.readOnly = readOnly;
    states.editable = !readOnly;
    return states;
}

void* QtAccessibleEditor::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void QtAccessibleEditor::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
    if (selectionIndex != 0) return;
    const AccessibleText::Range range = guarded(AccessibleText::Range{}, [](AccessibleText& text) { return text.selection(); });
    *startOffset = toInt(range.start);
    *endOffset = toInt(range.end);
}

int QtAccessibleEditor::selectionCount() const {
    const AccessibleText::Range range = guarded(AccessibleText::Range{}, [](AccessibleText& text) { return text.selection(); });
    return range.start < range.end ? 1 : 0;
}

void QtAccessibleEditor::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void QtAccessibleEditor::removeSelection(int selectionIndex) {
    if (selectionIndex != 0) return;
    guarded(0, [](AccessibleText& text) {
        const AccessibleText::Offset caret = text.caret();
        text.setSelection(caret, caret);
        return 0;
    });
}

void QtAccessibleEditor::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) return;
    guarded(0, [&](AccessibleText& text) {
        text.setSelection(std::max(0, startOffset), std::max(0, endOffset));
        return 0;
    });
}

int QtAccessibleEditor::cursorPosition() const {
    return guarded(0, [](AccessibleText& text) { return toInt(text.caret()); });
}

void QtAccessibleEditor::setCursorPosition(int position) { setSelection(0, position, position); }

QString QtAccessibleEditor::text(int startOffset, int endOffset) const {
    return guarded(QString(), [&](AccessibleText& text) {
        if (endOffset < 0) endOffset = toInt(text.characterCount());  // -1: to the end
        return QString::fromStdString(text.text(std::max(0, startOffset), endOffset));
    });
}

int QtAccessibleEditor::characterCount() const {
    return guarded(0, [](AccessibleText& text) { return toInt(text.characterCount()); });
}

QtAccessibleEditor::Piece QtAccessibleEditor::pieceAt(AccessibleText& text, int offset,
                                                      QAccessible::TextBoundaryType boundary, int count) const {
    switch (boundary) {
        case QAccessible::CharBoundary: return {offset, std::min(offset + 1, count)};
        case QAccessible::NoBoundary: return {0, count};
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary: {
            // A line reads with its break, as the next line starts after it.
            const AccessibleText::Range line = text.lineAt(offset);
            return {toInt(line.start), std::min(toInt(line.end) + 1, count)};
        }
        case QAccessible::WordBoundary:
        case QAccessible::SentenceBoundary: {
            const AccessibleText::Range line = text.lineAt(offset);
            const int start = toInt(line.start);
            const int end = toInt(line.end);
            // On a line's break the break is the piece; at the very end there is none.
            if (offset >= end) return {offset, std::min(offset + 1, count)};
            const QString words = QString::fromStdString(text.text(start, end));
            QTextBoundaryFinder finder(
                boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence, words);
            const int at = std::min<int>(offset - start, static_cast<int>(words.size()));
            finder.setPosition(at);
            int before = finder.isAtBoundary() ? at : finder.toPreviousBoundary();
            finder.setPosition(at);
            int after = finder.toNextBoundary();
            if (before < 0) before = 0;
            if (after < 0) after = static_cast<int>(words.size());
            return {start + before, std::min(start + after, end)};
        }
    }
    return {offset, offset};
}

QString QtAccessibleEditor::answer(AccessibleText& text, Piece piece, int* startOffset, int* endOffset) const {
    *startOffset = piece.start;
    *endOffset = piece.end;
    return QString::fromStdString(text.text(piece.start, piece.end));
}

QString QtAccessibleEditor::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                         int* endOffset) const {
    *startOffset = *endOffset = -1;
    return guarded(QString(), [&](AccessibleText& text) {
        const int count = toInt(text.characterCount());
        const int at = std::clamp(offset, 0, count);
        return answer(text, pieceAt(text, at, boundary, count), startOffset, endOffset);
    });
}

QString QtAccessibleEditor::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                             int* endOffset) const {
    *startOffset = *endOffset = -1;
    return guarded(QString(), [&](AccessibleText& text) {
        const int count = toInt(text.characterCount());
        const Piece at = pieceAt(text, std::clamp(offset, 0, count), boundary, count);
        if (at.start == 0) return QString();
        return answer(text, pieceAt(text, at.start - 1, boundary, count), startOffset, endOffset);
    });
}

QString QtAccessibleEditor::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                            int* endOffset) const {
    *startOffset = *endOffset = -1;
    return guarded(QString(), [&](AccessibleText& text) {
        const int count = toInt(text.characterCount());
        const Piece at = pieceAt(text, std::clamp(offset, 0, count), boundary, count);
        if (at.end >= count) return QString();
        return answer(text, pieceAt(text, at.end, boundary, count), startOffset, endOffset);
    });
}

QRect QtAccessibleEditor::characterRect(int offset) const {
    const Rect r = guarded(Rect{}, [&](AccessibleText& text) { return text.characterBounds(std::max(0, offset)); });
    if (r.width() <= 0 && r.height() <= 0) return {};
    const QPoint topLeft = editor_.viewport()->mapToGlobal(QPoint(r.left, r.top));
    return {topLeft, QSize(r.width(), r.height())};
}

int QtAccessibleEditor::offsetAtPoint(const QPoint& point) const {
    const QPoint local = editor_.viewport()->mapFromGlobal(point);
    return guarded(-1, [&](AccessibleText& text) {
        const AccessibleText::Offset found = text.offsetAt(Point{local.x(), local.y()});
        return found < 0 ? -1 : toInt(found);
    });
}

QString QtAccessibleEditor::attributes(int offset, int* startOffset, int* endOffset) const {
    // The text is plain: one run without attributes, all of it.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void QtAccessibleEditor::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, QString()); }

void QtAccessibleEditor::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void QtAccessibleEditor::replaceText(int startOffset, int endOffset, const QString& utf16) {
    const std::string utf8 = utf16.toStdString();
    guarded(false, [&](AccessibleText& text) {
        return text.replace(std::max(0, startOffset), std::max(0, endOffset), utf8);
    });
}

}  // namespace zozuz
