#include "platform/files/posix/SystemError.h"

#include <cstring>

namespace zozuz {

std::string systemReason(const std::string& name, int error) { return name + ": " + std::strerror(error); }

}  // namespace zozuz
