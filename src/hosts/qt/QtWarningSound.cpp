#include "hosts/qt/QtWarningSound.h"

#include <QApplication>

namespace zozuz {

void QtWarningSound::play() { QApplication::beep(); }

}  // namespace zozuz
