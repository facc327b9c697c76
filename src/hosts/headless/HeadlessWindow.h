#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/NativeWindow.h"
#include "platform/host/PointerShape.h"
#include "platform/host/ShowCommand.h"
#include "platform/host/WindowClient.h"
#include "hosts/headless/ImageSurface.h"

namespace zozuz {

class HeadlessHost;

// A top-level window of the headless host: plain state plus a pixel surface the size of its client
// area. Deferred paints are gathered into one dirty rectangle and delivered by the host when its
// queue has nothing else waiting, as a desktop does.
class HeadlessWindow final : public NativeWindow {
public:
    // The frame around the client area: left, top (title bar included), right and bottom.
    static Rect frameInsets(WindowFrame frame);

    HeadlessWindow(HeadlessHost& host, WindowClient& client, const WindowOptions& options);
    ~HeadlessWindow() override;

    void setCaption(const std::string& caption) override { caption_ = caption; }
    std::string caption() const override { return caption_; }
    void setIcon(const Image& icon) override { icon_ = icon; }
    void setFrame(WindowFrame frame) override;
    WindowFrame frame() const override { return frame_; }
    void setBounds(const Rect& outer) override;
    Rect bounds() const override { return bounds_; }
    Size clientSize() const override;
    void setClientSize(Size size) override;
    Point screenToClient(Point screen) const override;
    Point clientToScreen(Point client) const override;
    void setFont(const Font& font) override { font_ = font; }
    void setPointerShape(PointerShape shape) override { pointerShape_ = shape; }
    void show() override;
    void hide() override;
    bool visible() const override { return visible_; }
    void activate() override;
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }
    void setState(WindowState state) override { state_ = state; }
    WindowState state() const override { return state_; }
    Surface& surface() override { return surface_; }
    void invalidate(const Rect& area) override;
    void invalidateAll() override;
    // Recorded for tests (accessibleEvents), as a screen reader would be told.
    void accessibleChanged(AccessibleEvent event, std::uint32_t id) override { accessibleEvents_.emplace_back(event, id); }

    // --- For tests ---
    WindowClient& client() const { return client_; }
    NativeWindow* owner() const { return owner_; }
    const Image& icon() const { return icon_; }
    const Font& font() const { return font_; }
    PointerShape pointerShape() const { return pointerShape_; }
    // The client area's pixels as the screen would show them.
    ImageSurface& imageSurface() { return surface_; }
    const Image& image() const { return surface_.image(); }
    // The area waiting for a deferred paint; empty when none is.
    Rect dirtyArea() const { return dirty_; }
    std::size_t paintCount() const { return paintCount_; }
    // The controls a screen reader finds on the window, as the client describes them now, and what it
    // was told of their changes, oldest first.
    std::vector<AccessibleNode> accessibleTree() const { return client_.accessibleNodes(); }
    using AccessibleEventRecord = std::pair<AccessibleEvent, std::uint32_t>;
    const std::vector<AccessibleEventRecord>& accessibleEvents() const { return accessibleEvents_; }
    void clearAccessibleEvents() { accessibleEvents_.clear(); }
    // Simulates the user dragging or resizing the window: the client is told.
    void userSetBounds(const Rect& outer);

private:
    friend class HeadlessHost;

    // Delivers the waiting deferred paint, if any; returns whether there was one.
    bool deliverPaint();
    void resizeSurface();

    HeadlessHost& host_;
    WindowClient& client_;
    NativeWindow* owner_;
    std::string caption_;
    Image icon_;
    WindowFrame frame_;
    Rect bounds_;
    Font font_;
    PointerShape pointerShape_ = PointerShape::Arrow;
    bool visible_ = false;
    bool enabled_ = true;
    WindowState state_ = WindowState::Normal;
    ImageSurface surface_;
    Rect dirty_;
    std::vector<AccessibleEventRecord> accessibleEvents_;
    std::size_t paintCount_ = 0;
};

}  // namespace zozuz
