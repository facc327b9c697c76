#pragma once

#include <cstdint>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWindow;

namespace zozuz {

class QtAccessibleNodes;

// The accessible interface of one drawn control: a tool bar, a push button (pressed through the
// action interface), a status line, a progress bar (with the value interface), a label or an image.
// It holds only the control's id and reads the control from the window's list on every question,
// so it always answers with what the program last described.
class QtAccessibleNode final : public QAccessibleInterface,
                               public QAccessibleActionInterface,
                               public QAccessibleValueInterface {
public:
    QtAccessibleNode(QtAccessibleNodes& nodes, std::uint32_t id) : nodes_(nodes), id_(id) {}

    // --- QAccessibleInterface ---
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // --- QAccessibleActionInterface: a push button's press ---
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // --- QAccessibleValueInterface: a progress bar's value ---
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 0; }

    std::uint32_t id() const { return id_; }

private:
    QtAccessibleNodes& nodes_;
    // Never 0: names a control of the window for as long as this interface lives.
    const std::uint32_t id_;
};

}  // namespace zozuz
