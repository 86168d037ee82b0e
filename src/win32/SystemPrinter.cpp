#include "win32/SystemPrinter.h"

#include <commdlg.h>

#include "win32/ListPrinting.h"

namespace kivo::win32 {

SystemPrinter::~SystemPrinter() {
    if (printer_) DeleteDC(printer_);
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

bool SystemPrinter::setUpPrinter() {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    // The choice of printer and paper is kept for the next job.
    dialog.hDevMode = devMode_;
    dialog.hDevNames = devNames_;
    // Printer and paper only: the whole list is always printed.
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                   PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    devMode_ = dialog.hDevMode;
    devNames_ = dialog.hDevNames;
    if (!chosen) return false;
    if (printer_) DeleteDC(printer_);
    printer_ = dialog.hDC;
    return printer_ != nullptr;
}

void SystemPrinter::printList() {
    if (printer_) win32::printList(list_, printer_);
}

}  // namespace kivo::win32
