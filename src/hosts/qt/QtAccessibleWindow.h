#pragma once

#include <vector>

#include <QAccessibleWidget>

namespace zozuz {

class QtWindowWidget;

// The accessible interface of a top-level window: named by its caption, with the real widgets on it
// (the menu bar, the editor) and the controls the program draws on it as its children, ordered from
// the top of the window down, as they read.
class QtAccessibleWindow final : public QAccessibleWidget {
public:
    explicit QtAccessibleWindow(QtWindowWidget& widget);

    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    std::vector<QAccessibleInterface*> children() const;

    QtWindowWidget& widget_;
};

}  // namespace zozuz
