#include "document/Planted.h"

#include "ui/toolkit/windows/TForm.h"
