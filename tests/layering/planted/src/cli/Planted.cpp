#include "platform/files/posix/FileSystem.h"
