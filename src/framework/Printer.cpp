#include "framework/Printer.h"

#include <commdlg.h>

namespace fw {

Printer::Printer() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    if (PrintDlgA(&pd)) {
        devMode_.Reset(pd.hDevMode);
        devNames_.Reset(pd.hDevNames);
    } else {
        error_ = CommDlgExtendedError();
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
    }
}

void Printer::SetDevice(HGLOBAL devMode, HGLOBAL devNames) {
    if (devMode != devMode_.Get()) devMode_.Reset(devMode);
    if (devNames != devNames_.Get()) devNames_.Reset(devNames);
    error_ = 0;
}

std::string Printer::DeviceName() const {
    std::string name;
    if (!devNames_) return name;
    if (auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_.Get()))) {
        name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
        GlobalUnlock(devNames_.Get());
    }
    return name;
}

OwnedDC Printer::CreatePrinterDC() const {
    if (!devNames_) return OwnedDC();
    auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_.Get()));
    if (!names) return OwnedDC();
    auto* mode = devMode_ ? static_cast<const DEVMODEA*>(GlobalLock(devMode_.Get())) : nullptr;
    const char* base = reinterpret_cast<const char*>(names);
    HDC dc = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode) GlobalUnlock(devMode_.Get());
    GlobalUnlock(devNames_.Get());
    return OwnedDC(dc);
}

} // namespace fw
