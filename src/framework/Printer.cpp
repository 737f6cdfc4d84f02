#include "framework/Printer.h"

#include <commdlg.h>

namespace fw {
namespace {

// One of the names a DEVNAMES block holds, by its offset field.
std::string DevNamesText(HGLOBAL names, WORD DEVNAMES::*offset) {
    std::string text;
    if (!names) return text;
    const SIZE_T size = GlobalSize(names);
    if (auto* block = static_cast<const DEVNAMES*>(GlobalLock(names))) {
        const SIZE_T at = block->*offset;
        // The offsets come from whoever filled the block: stay inside it.
        if (size >= sizeof(DEVNAMES) && at < size) {
            const char* base = reinterpret_cast<const char*>(block);
            text.assign(base + at, strnlen(base + at, size - at));
        }
        GlobalUnlock(names);
    }
    return text;
}

} // namespace

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
    if (devMode != devMode_.Get()) {
        devMode_.Release();
        devMode_.Reset(devMode);
    }
    if (devNames != devNames_.Get()) {
        devNames_.Release();
        devNames_.Reset(devNames);
    }
    if (devNames) error_ = 0;
}

std::string Printer::DeviceName() const {
    return DevNamesText(devNames_.Get(), &DEVNAMES::wDeviceOffset);
}

std::string Printer::PortName() const {
    return DevNamesText(devNames_.Get(), &DEVNAMES::wOutputOffset);
}

OwnedDC Printer::CreatePrinterDC() const {
    const std::string driver = DevNamesText(devNames_.Get(), &DEVNAMES::wDriverOffset);
    const std::string device = DeviceName();
    if (device.empty()) return OwnedDC();
    auto* mode = devMode_ ? static_cast<const DEVMODEA*>(GlobalLock(devMode_.Get())) : nullptr;
    HDC dc = ::CreateDCA(driver.c_str(), device.c_str(), nullptr, mode);
    if (mode) GlobalUnlock(devMode_.Get());
    return OwnedDC(dc);
}

PageSize Printer::PageSizeOf(HDC dc) {
    PageSize size{GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT)};
    // A device that is not a printer has no paper: its drawing area stands in.
    if (size.width <= 0 || size.height <= 0)
        size = {GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    return size;
}

} // namespace fw
