#pragma once
// "About Quillon": the program's icon, name and version, and two links, one
// that starts an e-mail to support and one that opens the home page.

#include "dialogs/PVWControls.h"
#include "dialogs/PropertiesViewWindows.h"

class RedoAboutBoxViewWindows : public PropertiesViewWindows {
public:
    explicit RedoAboutBoxViewWindows(AppContext& context);

    const PVWURL& MailLink() const { return mail_; }
    const PVWURL& HomePageLink() const { return homePage_; }

private:
    PVWURL mail_;
    PVWURL homePage_;
};
