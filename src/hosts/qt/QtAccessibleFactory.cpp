#include "hosts/qt/QtAccessibleFactory.h"

#include <QAccessible>
#include <QObject>
#include <QString>

#include "hosts/qt/QtAccessibleEditor.h"
#include "hosts/qt/QtAccessibleWindow.h"
#include "hosts/qt/QtEditorWidget.h"
#include "hosts/qt/QtWindowWidget.h"

namespace zozuz {

namespace {

QAccessibleInterface* makeInterface(const QString&, QObject* object) {
    // Qt asks with each class name up the object's chain; the widgets are recognised by their type.
    if (auto* window = dynamic_cast<QtWindowWidget*>(object)) return new QtAccessibleWindow(*window);
    if (auto* editor = dynamic_cast<QtEditorWidget*>(object)) return new QtAccessibleEditor(*editor);
    return nullptr;
}

}  // namespace

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&makeInterface);
        return true;
    }();
    (void)installed;
}

}  // namespace zozuz
