#include "ui/toolkit/components/Fine.h"
#include "ui/toolkit/controls/TControl.h"
