#pragma once

#include "ui/toolkit/components/StoredLayout.h"

namespace zozuz {

// The main window's stored layout: its action list, menu bar, image list, toolbar and gauge, each
// with the values that differ from its kind's defaults.
const StoredLayout& veskAppFormLayout();

}  // namespace zozuz
