#include "hosts/win32/Win32Printer.h"

#include <string>

#include <windows.h>
#include <commdlg.h>

#include "base/Exception.h"
#include "base/LeadByteSet.h"
#include "base/MessageFormat.h"
#include "editor/CharacterKinds.h"
#include "editor/PrintLayout.h"
#include "hosts/win32/GdiPrintPainter.h"
#include "hosts/win32/WideText.h"
#include "hosts/win32/Win32Window.h"

namespace zozuz {

namespace {

// The name of the printer a device context prints on, for the error message.
std::string printerName(HGLOBAL devNames) {
    std::string name;
    if (!devNames) return name;
    if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames))) {
        name = fromWide(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
        GlobalUnlock(devNames);
    }
    return name;
}

// Frees what the dialog handed back, whatever way the print ends.
class DialogResult {
public:
    explicit DialogResult(PRINTDLGW& dialog) : dialog_(dialog) {}
    ~DialogResult() {
        if (dialog_.hDC) DeleteDC(dialog_.hDC);
        if (dialog_.hDevMode) GlobalFree(dialog_.hDevMode);
        if (dialog_.hDevNames) GlobalFree(dialog_.hDevNames);
    }
    DialogResult(const DialogResult&) = delete;
    DialogResult& operator=(const DialogResult&) = delete;

private:
    PRINTDLGW& dialog_;
};

}  // namespace

bool Win32Printer::print(const PrintJob& job) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    auto* owner = dynamic_cast<Win32Window*>(job.owner);
    dialog.hwndOwner = owner ? owner->handle() : nullptr;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL confirmed = PrintDlgW(&dialog);
    DialogResult release(dialog);
    if (!confirmed) {
        // Cancelling prints nothing; a dialog that found no printer to offer cannot take the job.
        if (CommDlgExtendedError() != 0) throw EPrinter(formatMessage(messages::kCannotPrintTo, {std::string("")}));
        return false;
    }
    const HDC dc = dialog.hDC;
    const std::string name = printerName(dialog.hDevNames);
    auto cannotPrint = [&] { return EPrinter(formatMessage(messages::kCannotPrintTo, {name})); };
    if (!dc) throw cannotPrint();

    const std::wstring title = toWide(job.title);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    if (StartDocW(dc, &document) <= 0) throw cannotPrint();
    bool failed = false;
    try {
        GdiPrintPainter painter(dc, job.font, codec_);
        const CharacterKinds kinds(LeadByteSet::codePage936(), codec_);
        PrintLayout layout(kinds, painter, painter.geometry(), job.lineCount, job.line);
        for (PrintLayout::Page page; !failed && layout.nextPage(page);) {
            failed = StartPage(dc) <= 0;
            if (failed) break;
            painter.startPage();
            painter.draw(page);
            failed = EndPage(dc) <= 0;
        }
    } catch (...) {
        AbortDoc(dc);
        throw;
    }
    if (failed) {
        AbortDoc(dc);
        throw cannotPrint();
    }
    if (EndDoc(dc) <= 0) throw cannotPrint();
    return true;
}

}  // namespace zozuz
