#include "context/ExternalLookup.h"

#include "framework/Handles.h"
#include "lookup/LookupMenu.h"

#include <cstring>
#include <ddeml.h>

namespace {

constexpr DWORD kDdeTimeoutMs = 10000;

// A DDE client instance that hears of nothing but its own transactions.
class DdeClient {
public:
    DdeClient() {
        if (DdeInitializeA(&instance_, Callback, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS,
                           0) != DMLERR_NO_ERROR)
            instance_ = 0;
    }
    ~DdeClient() {
        if (instance_) DdeUninitialize(instance_);
    }
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;
    DWORD Get() const { return instance_; }

private:
    static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        return nullptr;
    }
    DWORD instance_ = 0;
};

// A string handle of one instance, freed with it.
class DdeString {
public:
    DdeString(DWORD instance, const std::string& text)
        : instance_(instance), handle_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {
    }
    ~DdeString() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ Get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

class DdeConversation {
public:
    DdeConversation(DWORD instance, HSZ service, HSZ topic)
        : handle_(DdeConnect(instance, service, topic, nullptr)) {}
    ~DdeConversation() {
        if (handle_) DdeDisconnect(handle_);
    }
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;
    HCONV Get() const { return handle_; }

private:
    HCONV handle_;
};

// Another program may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

class MenuEditor : public LookupMenuEditor {
public:
    explicit MenuEditor(HMENU menu) : menu_(menu) {}
    int Count() const override { return GetMenuItemCount(menu_); }
    void Replace(int position, const LookupMenuItem& item) override {
        MENUITEMINFOA info = Info(item);
        SetMenuItemInfoA(menu_, static_cast<UINT>(position), TRUE, &info);
    }
    void Insert(int position, const LookupMenuItem& item) override {
        MENUITEMINFOA info = Info(item);
        InsertMenuItemA(menu_, static_cast<UINT>(position), TRUE, &info);
    }
    void Delete(int position) override {
        DeleteMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION);
    }

private:
    static MENUITEMINFOA Info(const LookupMenuItem& item) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
        info.fType = MFT_STRING | MFT_RADIOCHECK;
        info.fState = (item.checked ? MFS_CHECKED : 0u) | (item.enabled ? 0u : MFS_GRAYED);
        info.wID = item.command;
        info.dwTypeData = const_cast<char*>(item.text.c_str());
        info.cch = static_cast<UINT>(item.text.size());
        return info;
    }
    HMENU menu_;
};

} // namespace

int DdeExecute(const std::string& service, const std::string& topic, const std::string& text) {
    DdeClient client;
    if (!client.Get()) return 1;
    DdeString serviceName(client.Get(), service);
    DdeString topicName(client.Get(), topic);
    DdeConversation conversation(client.Get(), serviceName.Get(), topicName.Get());
    if (!conversation.Get()) return 2;
    std::string data = text; // the transaction takes a writable buffer
    HDDEDATA result = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()),
                                           static_cast<DWORD>(data.size() + 1), conversation.Get(),
                                           nullptr, CF_TEXT, XTYP_EXECUTE, kDdeTimeoutMs, nullptr);
    return result ? 0 : 3;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboardSoon(owner)) return false;
    EmptyClipboard();
    fw::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    bool put = false;
    if (memory) {
        if (void* p = GlobalLock(memory.Get())) {
            std::memcpy(p, text.data(), text.size());
            GlobalUnlock(memory.Get());
            put = SetClipboardData(CF_TEXT, memory.Get()) != nullptr;
            if (put) memory.Release(); // the clipboard owns it now
        }
    }
    CloseClipboard();
    return put;
}

bool Win32LookupPlatform::OpenAddress(const std::string& address) {
    return context_.GetShell().TryOpen(address);
}

int Win32LookupPlatform::DdeExecute(const std::string& service, const std::string& topic,
                                    const std::string& text) {
    return ::DdeExecute(service, topic, text);
}

// What the target does with the command is its business: the lookup counts
// as delivered once the window has been sent it.
bool Win32LookupPlatform::SendCommand(const std::string& title, int command,
                                      const std::string& word) {
    HWND target = FindWindowA(nullptr, title.c_str());
    if (!target) return false;
    context_.CopyTextToClipboard(word);
    fw::Window* view = context_.ResultsView();
    HWND mainWindow = view && view->Handle() ? GetAncestor(view->Handle(), GA_ROOT) : nullptr;
    SendMessageA(target, WM_COMMAND, static_cast<WPARAM>(static_cast<unsigned>(command)),
                 reinterpret_cast<LPARAM>(mainWindow));
    return true;
}

bool Win32LookupPlatform::LaunchProgram(const std::string& program, const std::string& argument) {
    return ::LaunchProgram(context_.GetShell(), program, argument);
}

void RebuildLookupMenu(HMENU submenu, const std::vector<LookupMenuItem>& items) {
    if (!submenu) return;
    MenuEditor editor(submenu);
    ApplyLookupMenu(editor, items);
}
