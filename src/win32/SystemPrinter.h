#pragma once
// The printer: the system's set-up dialog, which keeps the chosen printer
// and paper for the rest of the run, and the print job of the whole list.
// The list lays itself out on the pages (ListPrinting.h).
#include <windows.h>

#include "commands/Ports.h"

namespace kivo::win32 {

class MemoControl;

class SystemPrinter : public PrintPort {
public:
    explicit SystemPrinter(const MemoControl& list) : list_(list) {}
    ~SystemPrinter() override;
    SystemPrinter(const SystemPrinter&) = delete;
    SystemPrinter& operator=(const SystemPrinter&) = delete;
    void setOwner(HWND owner) { owner_ = owner; }
    bool setUpPrinter() override;
    void printList() override;

private:
    const MemoControl& list_;
    HWND owner_ = nullptr;
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
    HDC printer_ = nullptr;
};

}  // namespace kivo::win32
