#include "app/ApplicationIcon.h"

#include "app/ProgramPictures.h"

namespace zozuz {

Image applicationIcon() { return programPicture("icon-32").image; }

}  // namespace zozuz
