#pragma once

#include <memory>

#include "platform/host/EditorWindow.h"

namespace zozuz {

class QtAccessibleTextNotifier;
class QtEditorWidget;
class QtHost;
class QtWindow;

// An editor window on the Qt host: a child widget of a top-level window's widget.
class QtEditorWindow final : public EditorWindow {
public:
    QtEditorWindow(QtHost& host, QtWindow& parent, EditorWindowClient& client);
    ~QtEditorWindow() override;
    QtEditorWindow(const QtEditorWindow&) = delete;
    QtEditorWindow& operator=(const QtEditorWindow&) = delete;

    void setBounds(const Rect& bounds) override;
    Rect bounds() const override;
    Size textAreaSize() const override;
    void setVisible(bool visible) override;
    void setFocus() override;
    bool hasFocus() const override;
    void releaseMouse() override;
    void setScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) override;
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    void caretMoved() override;
    EditorColours colours() const override;
    void accessibleTextChanged(const AccessibleTextChange& change) override;

    QtHost& host() const { return host_; }
    QtWindow& parent() const { return parent_; }
    EditorWindowClient& client() const { return client_; }
    QtEditorWidget& widget() const { return *widget_; }
    // Places the widget again below the window's menu bar, whose height may have changed.
    void placeInClientArea();
    // True while the program itself sets the scroll bars, whose moves are then not the user's.
    bool settingScrollBars() const { return settingScrollBars_; }

private:
    QtHost& host_;
    QtWindow& parent_;
    EditorWindowClient& client_;
    // In the parent's client coordinates, which begin below its menu bar.
    Rect bounds_;
    std::unique_ptr<QtEditorWidget> widget_;
    std::unique_ptr<QtAccessibleTextNotifier> textNotifier_;
    bool settingScrollBars_ = false;
};

}  // namespace zozuz
