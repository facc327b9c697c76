#pragma once

#include "ui/toolkit/components/StoredLayout.h"

namespace zozuz {

// The About box's stored layout: its frame, its panel with the picture and the texts, and OKButton.
const StoredLayout& aboutBoxLayout();

}  // namespace zozuz
