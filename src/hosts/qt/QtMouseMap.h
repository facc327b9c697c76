#pragma once

#include "platform/host/MouseEvent.h"

class QMouseEvent;
class QWheelEvent;

namespace zozuz {

// A Qt mouse button press, release, double click or move in the program's terms, the position in
// the receiving widget's coordinates.
MouseEvent mouseEventFromQt(const QMouseEvent& event);

// A turn of the Qt mouse wheel in the program's terms. Qt counts in eighths of a degree, 120 to a
// notch, as the program does.
MouseEvent mouseEventFromQt(const QWheelEvent& event);

}  // namespace zozuz
