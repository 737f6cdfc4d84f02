#include "app/OutOfMemory.h"

#include "resources/resource.h"

#include <new>
#include <windows.h>

namespace {

// The box must come up while the heap is exhausted: stack buffers only, and
// the texts are built in so that a failed string load still shows them.
const char kCaption[] = "Application Memory Low";
const char kText[] =
    "An application function has been suspended because there is too little virtual memory. "
    "Try closing down all unnecessary programs and selecting the Retry button. If this message "
    "persists, exit the application by selecting the Cancel button and configure more virtual "
    "memory.";

void OnOutOfMemory() {
    if (!AskRetryAfterMemoryLow()) ExitProcess(1);
    // Returning makes operator new try the allocation again.
}

} // namespace

bool AskRetryAfterMemoryLow() {
    char caption[128];
    char text[1024];
    HINSTANCE module = GetModuleHandleA(nullptr);
    const char* shownCaption =
        LoadStringA(module, IDS_MEMORYLOWCAPTION, caption, sizeof caption) > 0 ? caption : kCaption;
    const char* shownText =
        LoadStringA(module, IDS_MEMORYLOWTEXT, text, sizeof text) > 0 ? text : kText;
    return MessageBoxA(nullptr, shownText, shownCaption,
                       MB_TASKMODAL | MB_ICONEXCLAMATION | MB_RETRYCANCEL) == IDRETRY;
}

void InstallOutOfMemoryHandler() {
    std::set_new_handler(OnOutOfMemory);
}
