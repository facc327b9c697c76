#include "ui/toolkit/controls/TControlActionLink.h"

#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/controls/TControl.h"

namespace zozuz {

// Each comparison is asked by the action while it changes a value, so the action is there.
bool TControlActionLink::IsEnabledLinked() const { return client_.Enabled() == Action()->Enabled(); }
bool TControlActionLink::IsHintLinked() const { return client_.Hint() == Action()->Hint(); }
bool TControlActionLink::IsVisibleLinked() const { return client_.Visible() == Action()->Visible(); }

void TControlActionLink::SetEnabled(bool value) { client_.SetEnabled(value); }
void TControlActionLink::SetHint(const std::string& value) { client_.SetHint(value); }
void TControlActionLink::SetVisible(bool value) { client_.SetVisible(value); }

}  // namespace zozuz
