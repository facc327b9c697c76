#pragma once

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleWidget>
#include <QPoint>
#include <QRect>
#include <QString>

namespace zozuz {

class AccessibleText;
class QtEditorWidget;

// The accessible interface of an editor window: an editable, multi-line text read through
// EditorWindowClient::accessibleText, a piece at a time. Words and sentences are looked for within
// the one line that holds the offset, so no question converts the whole text but the one that asks
// for it all.
class QtAccessibleEditor final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
public:
    explicit QtAccessibleEditor(QtEditorWidget& widget);

    // --- QAccessibleInterface ---
    QAccessible::State state() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override;

    // --- QAccessibleTextInterface ---
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    using QAccessibleWidget::text;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    // The editor scrolls only with the caret, which a screen reader's look must not move.
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // --- QAccessibleEditableTextInterface ---
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    // A piece of the text between two offsets, start <= end.
    struct Piece {
        int start = 0;
        int end = 0;
    };
    // The piece of the kind asked for that holds `offset` (already clamped to the text).
    Piece pieceAt(AccessibleText& text, int offset, QAccessible::TextBoundaryType boundary, int count) const;
    // Answers a piece and reports where it lies.
    QString answer(AccessibleText& text, Piece piece, int* startOffset, int* endOffset) const;
    // The editor's text, or null when it has none; calls into it run guarded.
    AccessibleText* editorText() const;
    template <class R, class F>
    R guarded(R fallback, F&& call) const;

    QtEditorWidget& editor_;
};

}  // namespace zozuz
