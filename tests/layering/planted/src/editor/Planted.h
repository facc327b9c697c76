#pragma once

#include "base/Fine.h"
#include "hosts/headless/HeadlessHost.h"
