#pragma once

namespace zozuz {

// Makes Qt's accessibility describe the host's top-level windows (with the controls the program
// draws on them) and its editors through the host's own interfaces. Installs once per process;
// later calls do nothing.
void installAccessibleFactory();

}  // namespace zozuz
