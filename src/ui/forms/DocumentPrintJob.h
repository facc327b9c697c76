#pragma once

#include <string>

#include "platform/host/CodePageCodec.h"
#include "platform/host/Printer.h"

namespace zozuz {

class TMemo;

// The print job for the editor's document: its lines as the user wrote them (CR LF separated,
// whatever the editor's word wrap), in the editor's font, with no line for a last empty one. Each
// line is read from the editor and converted when the printer asks for it, so the text is never
// held twice; the editor must outlive the job and stay unchanged while it prints.
PrintJob documentPrintJob(TMemo& memo, const CodePageCodec& codec, std::string title);

}  // namespace zozuz
