#include "document/Planted.h"

#include "ui/toolkit/TForm.h"
