#include "dialogs/RedoAboutBoxViewWindows.h"

#include "context/ProductAddresses.h"
#include "resources/resource.h"

RedoAboutBoxViewWindows::RedoAboutBoxViewWindows(AppContext& context)
    : PropertiesViewWindows("About", context, IDD_ABOUT, false, false),
      mail_(*this, IDC_EMAILLINK, SupportMailLink(context)),
      homePage_(*this, IDC_HOMEPAGELINK, kHomePageAddress) {}
