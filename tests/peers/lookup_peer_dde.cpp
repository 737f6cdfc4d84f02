// A dictionary program that answers DDE: it serves one service and topic and
// records, as a hex line, every execute string it receives (the terminating
// zero included). The word "refuse" is refused, as a busy program would.
//   lookup_peer_dde SERVICE TOPIC RECORD-FILE READY-EVENT [SECONDS]
#include "PeerRecord.h"

#include <ddeml.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

DWORD instance = 0;
HSZ service = nullptr;
HSZ topic = nullptr;
std::string record;

HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ first, HSZ second, HDDEDATA data, ULONG_PTR,
                           ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT: // first is the topic, second the service
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(
            DdeCmpStringHandles(first, topic) == 0 && DdeCmpStringHandles(second, service) == 0));
    case XTYP_EXECUTE: {
        const DWORD size = DdeGetData(data, nullptr, 0, 0);
        std::string bytes(size, '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
        peer::AppendLine(record, peer::Hex(bytes));
        const bool refuse = bytes == std::string("refuse", 7);
        return reinterpret_cast<HDDEDATA>(
            static_cast<INT_PTR>(refuse ? DDE_FNOTPROCESSED : DDE_FACK));
    }
    }
    return nullptr;
}

std::string Narrow(const wchar_t* text) {
    char buffer[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 5) return 2;
    record = Narrow(argv[3]);
    const int seconds = argc > 5 ? std::atoi(Narrow(argv[5]).c_str()) : 60;
    if (DdeInitializeA(&instance, Callback,
                       APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                           CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                       0) != DMLERR_NO_ERROR)
        return 3;
    service = DdeCreateStringHandleA(instance, Narrow(argv[1]).c_str(), CP_WINANSI);
    topic = DdeCreateStringHandleA(instance, Narrow(argv[2]).c_str(), CP_WINANSI);
    DdeNameService(instance, service, nullptr, DNS_REGISTER);
    if (HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, Narrow(argv[4]).c_str())) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    LocalFree(argv);
    peer::QuitAfter(seconds);
    peer::RunLoop();
    DdeNameService(instance, service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return 0;
}
