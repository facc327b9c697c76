#pragma once

#include <string>

#include "platform/host/Printer.h"

namespace zozuz {

class TMemo;

// The print job for the editor's document: its lines as the user wrote them (CR LF separated,
// whatever the editor's word wrap), in the editor's font, with no line for a last empty one. Each
// line's bytes are read from the editor when the printer asks for them, so the text is never held
// twice; the editor must outlive the job and stay unchanged while it prints.
PrintJob documentPrintJob(TMemo& memo, std::string title);

}  // namespace zozuz
