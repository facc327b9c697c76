#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Image.h"
#include "platform/host/Surface.h"
#include "platform/host/TextRenderer.h"

class QWidget;

namespace zozuz {

class QtHost;

// A window's drawing surface: an image holding exactly what the window's client area shows. Drawing
// on it updates the image and repaints that area of the widget at once (QWidget::repaint paints
// synchronously and hands the pixels to the display), so a long computation on the user-interface
// thread shows its progress without a trip through the event loop.
//
// Because the image always holds the whole picture, the widget can serve the desktop's exposures
// from it without asking the program to paint again.
class QtSurface final : public Surface {
public:
    QtSurface(QtHost& host, QWidget& widget, QSize size);

    void drawImage(Point at, const Image& image, const Rect& clip) override;
    TextRenderer& textRenderer() override;

    // Gives the image a new size, keeping the pixels the two sizes share; new pixels are black.
    void resize(QSize size);
    const QImage& backing() const { return backing_; }
    QSize size() const { return backing_.size(); }

    // While the widget's paint event asks the program to paint, drawing only updates the image: the
    // paint event shows it afterwards.
    void setPainting(bool painting) { painting_ = painting; }
    // Whether the widget is being repainted for an immediate drawing right now.
    bool flushing() const { return flushing_; }
    // Where the client area starts in the widget: below the menu bar, when the window has one.
    void setTop(int top) { top_ = top; }

private:
    QtHost& host_;
    QWidget& widget_;
    QImage backing_;
    bool painting_ = false;
    bool flushing_ = false;
    int top_ = 0;
};

}  // namespace zozuz
