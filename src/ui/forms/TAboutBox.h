#pragma once

#include "app/TApplication.h"
#include "ui/toolkit/TForm.h"

namespace zozuz {

// The About box: a small fixed dialog, created hidden at start-up and shown modally as often as the
// user asks; the same window, with the same state, each time. The first showing is centred on the
// screen; after that it comes back where it was last hidden. Its picture, labels, links and OK
// button are added as components it owns.
class TAboutBox : public TForm {
public:
    explicit TAboutBox(TApplication& application);
};

}  // namespace zozuz
