#pragma once

#include <vector>

#include "app/ProgramPictures.h"
#include "ui/toolkit/components/TComponent.h"

namespace zozuz {

// A list of small pictures of one size, shared by the menus and the toolbar, which name a picture
// by its index.
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr) : TComponent(owner) {}

    int Width() const { return 16; }
    int Height() const { return 16; }
    int Count() const { return static_cast<int>(pictures_.size()); }
    // The picture at `index`; an empty picture for an index outside the list.
    const Picture& At(int index) const;

    // Fills the list with the program's own 22 pictures (scissors, two pages, ... cross).
    void LoadProgramPictures();

protected:
    bool readStoredValue(const StoredValue& value) override;
    bool servesAsStored(const std::string& property) const override;

private:
    std::vector<Picture> pictures_;
};

}  // namespace zozuz
