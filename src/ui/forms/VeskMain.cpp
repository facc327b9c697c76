#include "ui/forms/VeskMain.h"

#include "app/TApplication.h"
#include "ui/forms/TAboutBox.h"
#include "ui/forms/TVeskAppForm.h"

namespace zozuz {

int runZozuz(Host& host) {
    TApplication application(host);
    TVeskAppForm* veskAppForm = nullptr;
    TAboutBox* aboutBox = nullptr;
    return application.Execute([&] {
        application.Initialize();
        application.CreateForm(veskAppForm);
        application.CreateForm(aboutBox);
        veskAppForm->AboutBox = aboutBox;
        application.Run();
    });
}

}  // namespace zozuz
