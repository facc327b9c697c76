#include "ui/toolkit/menus/TMenuActionLink.h"

#include "ui/text/MenuCaptionMatch.h"
#include "ui/toolkit/commands/TAction.h"
#include "ui/toolkit/menus/TMenuItem.h"

namespace zozuz {

// Each comparison is asked by the action while it changes a value, so the action is there.
bool TMenuActionLink::IsCaptionLinked() const { return SameMenuCaption(client_.Caption(), Action()->Caption()); }
bool TMenuActionLink::IsEnabledLinked() const { return client_.Enabled() == Action()->Enabled(); }
bool TMenuActionLink::IsHintLinked() const { return client_.Hint() == Action()->Hint(); }
bool TMenuActionLink::IsVisibleLinked() const { return client_.Visible() == Action()->Visible(); }
bool TMenuActionLink::IsCheckedLinked() const { return client_.Checked() == Action()->Checked(); }
bool TMenuActionLink::IsImageIndexLinked() const { return client_.ImageIndex() == Action()->ImageIndex(); }
bool TMenuActionLink::IsHelpContextLinked() const { return client_.HelpContext() == Action()->HelpContext(); }
bool TMenuActionLink::IsShortCutLinked() const { return client_.ShortCut() == Action()->ShortCut(); }
bool TMenuActionLink::IsOnExecuteLinked() const { return client_.OnClick() == Action()->OnExecute(); }

void TMenuActionLink::SetCaption(const std::string& value) { client_.SetCaption(value); }
void TMenuActionLink::SetEnabled(bool value) { client_.SetEnabled(value); }
void TMenuActionLink::SetHint(const std::string& value) { client_.SetHint(value); }
void TMenuActionLink::SetVisible(bool value) { client_.SetVisible(value); }
void TMenuActionLink::SetChecked(bool value) { client_.SetChecked(value); }
void TMenuActionLink::SetImageIndex(int value) { client_.SetImageIndex(value); }
void TMenuActionLink::SetHelpContext(int value) { client_.SetHelpContext(value); }
void TMenuActionLink::SetShortCut(KeyCode value) { client_.SetShortCut(value); }
void TMenuActionLink::SetOnExecute(const TNotifyEvent& value) { client_.SetOnClick(value); }

}  // namespace zozuz
