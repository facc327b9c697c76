#include "ui/toolkit/controls/TToolButtonActionLink.h"

#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/controls/TToolButton.h"

namespace zozuz {

TToolButtonActionLink::TToolButtonActionLink(TToolButton& client) : TControlActionLink(client), button_(client) {}

bool TToolButtonActionLink::IsCaptionLinked() const { return button_.Caption() == Action()->Caption(); }
bool TToolButtonActionLink::IsCheckedLinked() const { return button_.Down() == Action()->Checked(); }
bool TToolButtonActionLink::IsImageIndexLinked() const { return button_.ImageIndex() == Action()->ImageIndex(); }
bool TToolButtonActionLink::IsOnExecuteLinked() const { return button_.OnClick() == Action()->OnExecute(); }

void TToolButtonActionLink::SetCaption(const std::string& value) { button_.SetCaption(value); }
void TToolButtonActionLink::SetChecked(bool value) { button_.SetDown(value); }
void TToolButtonActionLink::SetImageIndex(int value) { button_.SetImageIndex(value); }
void TToolButtonActionLink::SetOnExecute(const TNotifyEvent& value) { button_.SetOnClick(value); }

}  // namespace zozuz
