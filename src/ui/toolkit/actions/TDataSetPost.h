#pragma once

#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// A data-set command the window's layout carries without a data source, client or key: it accepts
// no target and has no handler, so nothing it could do ever happens.
class TDataSetPost : public TAction {
public:
    explicit TDataSetPost(TComponent* owner = nullptr) : TAction(owner) {}
};

}  // namespace zozuz
