#include "ui/toolkit/Fine.h"
#include <QWidget>
