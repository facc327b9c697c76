#include "ui/toolkit/controls/Fine.h"
#include <QWidget>
