#include "hosts/win32/Win32Printer.h"

#include <algorithm>
#include <string>

#include <windows.h>
#include <commdlg.h>

#include "base/Exception.h"
#include "base/MessageFormat.h"
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

    // The program's fonts are sized in screen pixels of 96 to the inch; on paper the same size is
    // kept in points.
    const int height = MulDiv(std::max(1, job.font.pixelHeight), GetDeviceCaps(dc, LOGPIXELSY), 96);
    const std::wstring face = toWide(job.font.family).substr(0, LF_FACESIZE - 1);
    HFONT font = CreateFontW(-height, 0, 0, 0, job.font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             static_cast<DWORD>(job.font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    const std::wstring title = toWide(job.title);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title.c_str();
    if (StartDocW(dc, &document) <= 0) {
        if (font) DeleteObject(font);
        throw cannotPrint();
    }
    bool failed = false;
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB((job.font.rgb >> 16) & 0xFF, (job.font.rgb >> 8) & 0xFF, job.font.rgb & 0xFF));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
    const int pageWidth = GetDeviceCaps(dc, HORZRES);
    const int pageHeight = GetDeviceCaps(dc, VERTRES);
    const RECT clip{0, 0, pageWidth, pageHeight};
    failed = StartPage(dc) <= 0;
    int y = 0;
    for (std::size_t i = 0; i < job.lineCount && !failed; ++i) {
        if (y > 0 && y + lineHeight > pageHeight) {
            failed = EndPage(dc) <= 0 || StartPage(dc) <= 0;
            y = 0;
        }
        const std::wstring line = toWide(job.line(i));
        // A line wider than the page is cut at its right edge.
        ExtTextOutW(dc, 0, y, ETO_CLIPPED, &clip, line.c_str(), static_cast<UINT>(line.size()), nullptr);
        y += lineHeight;
    }
    if (!failed) failed = EndPage(dc) <= 0;
    if (oldFont) SelectObject(dc, oldFont);
    if (font) DeleteObject(font);
    if (failed) {
        AbortDoc(dc);
        throw cannotPrint();
    }
    if (EndDoc(dc) <= 0) throw cannotPrint();
    return true;
}

}  // namespace zozuz
