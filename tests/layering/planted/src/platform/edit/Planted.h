#pragma once

#include "base/Fine.h"
#include "platform/headless/HeadlessHost.h"
