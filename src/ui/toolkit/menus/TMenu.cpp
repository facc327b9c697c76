#include "ui/toolkit/menus/TMenu.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "ui/text/AccessKeyAssignment.h"
#include "ui/text/HintText.h"
#include "ui/text/TypedAccessKey.h"
#include "ui/toolkit/components/TImageList.h"

namespace zozuz {

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) { items_->menu_ = this; }

TMenu::~TMenu() { items_->menu_ = nullptr; }

bool TMenu::IsShortCut(KeyCode code) {
    TMenuItem* found = items_->FindShortCut(code);
    if (!found) return false;
    std::vector<TMenuItem*> path;
    for (TMenuItem* item = found; item; item = item->Parent()) path.push_back(item);
    std::reverse(path.begin(), path.end());
    for (TMenuItem* level : path) {
        if (!level->Enabled()) break;
        level->SubmenuOpening();
        level->Click();
    }
    return true;
}

void TMenu::Loaded() {
    TComponent::Loaded();
    AssignAccessKeys();
}

void TMenu::AssignAccessKeys() {
    // Each level once, the deeper ones after their parent; the walk keeps its own list, as the
    // announcements may reach views that rebuild.
    std::vector<TMenuItem*> levels{items_};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        TMenuItem* level = levels[i];
        AssignAccessKeys(*level);
        for (TMenuItem* child : level->Children())
            if (!child->Children().empty()) levels.push_back(child);
    }
}

bool TMenu::AssignAccessKeys(TMenuItem& level) {
    const std::vector<TMenuItem*> children = level.Children();
    std::vector<AccessKeyEntry> entries;
    entries.reserve(children.size());
    for (const TMenuItem* child : children) entries.push_back(AccessKeyEntry{child->Caption(), child->Visible()});
    if (!assignAccessKeys(entries, MenuCharacterSet::DoubleByte)) return false;
    for (std::size_t i = 0; i < children.size(); ++i) children[i]->SetCaption(entries[i].caption);
    return true;
}

TMenuKeyOutcome TMenu::AccessKeyTyped(TMenuItem& level, const TMenuItem* highlighted, std::string_view character) {
    const std::vector<TMenuItem*> children = level.Children();
    std::vector<TypedKeyEntry> entries;
    entries.reserve(children.size());
    std::size_t highlightedIndex = std::string_view::npos;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TMenuItem* child = children[i];
        entries.push_back(TypedKeyEntry{child->Caption(), child->Enabled(), child->Visible()});
        if (child == highlighted) highlightedIndex = i;
    }
    const TypedKeyResult result = resolveTypedAccessKey(entries, highlightedIndex, character);
    switch (result.kind) {
        case TypedKeyResult::Kind::Choose: {
            TMenuItem* chosen = children[result.entry];
            if (chosen->Children().empty()) return {TMenuKeyOutcome::Kind::Run, chosen};
            chosen->SubmenuOpening();
            return {TMenuKeyOutcome::Kind::OpenSubmenu, chosen};
        }
        case TypedKeyResult::Kind::Highlight:
            return {TMenuKeyOutcome::Kind::Highlight, children[result.entry]};
        case TypedKeyResult::Kind::Close:
            return {TMenuKeyOutcome::Kind::Close, nullptr};
        case TypedKeyResult::Kind::Beep:
            break;
    }
    return {TMenuKeyOutcome::Kind::Ignored, nullptr};
}

void TMenu::ItemHighlighted(const TMenuItem* item) {
    TApplication* application = Application();
    if (!application) return;
    // A highlight, a title's included, means a menu is open; none means the menus have closed.
    application->SetMenuOpen(item != nullptr);
    application->SetHint(item ? std::string(longHintOf(item->Hint())) : std::string());
}

TApplication* TMenu::Application() const { return HomeApplication(); }

bool TMenu::readStoredReference(const std::string& property, TComponent& target) {
    if (property != "Images") return TComponent::readStoredReference(property, target);
    SetImages(dynamic_cast<TImageList*>(&target));
    return true;
}

}  // namespace zozuz
