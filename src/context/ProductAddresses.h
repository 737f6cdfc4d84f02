#pragma once
// Where users reach the makers of Quillon. The Help menu and the About box
// both take their addresses from here, so a new mailbox or home page is a
// change of one line.

#include "context/AppContext.h"
#include "resources/resource.h"

#include <string>

inline constexpr const char kSupportMailbox[] = "support@quillon.example";
inline constexpr const char kHomePageAddress[] = "https://quillon.example/";

// The mailto: link that starts a support request, its subject from the
// string table.
inline std::string SupportMailLink(const AppContext& context) {
    return std::string("mailto:") + kSupportMailbox +
           context.LoadResourceString(IDS_SUPPORTSUBJECT);
}
