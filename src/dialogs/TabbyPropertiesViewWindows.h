#pragma once
// A template-based window whose controls are grouped into pages of a tab
// control: only the selected page's controls are shown and enabled. Pages
// change by clicking a tab, by the arrow keys on the tab strip and by
// Ctrl+Tab / Ctrl+Shift+Tab anywhere in the window; help follows the page.

#include "dialogs/PVWControls.h"
#include "dialogs/PropertiesViewWindows.h"

#include <vector>

class TabbyPropertiesViewWindows : public PropertiesViewWindows {
public:
    struct Page {
        int nameId;    // the tab's text, also the page's help context
        int tooltipId; // the tab's tooltip
        std::vector<int> controls;
    };

    // The tab control has the identifier tabsId; page 0 shows first.
    TabbyPropertiesViewWindows(std::string prefix, AppContext& context, int templateId, int tabsId,
                               std::vector<Page> pages);

    // The index of the page showing, or -1 before the window is set up.
    int CurrentPage() const { return tabs_.Handle() ? tabs_.Selection() : -1; }
    const std::vector<Page>& Pages() const { return pages_; }
    HWND Tabs() const { return tabs_.Handle(); }

    void SwitchPage(int delta) override;
    void ShowPage() override;
    int HelpContext() const override;

protected:
    void SetupWindow() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsPageControl(HWND control) const;
    // The brush of the tab control's page area, for the labels and check
    // boxes that lie on it; the page area need not be the dialog's colour.
    HBRUSH PaneBrush();

    std::vector<Page> pages_;
    PVWTabs tabs_;
    fw::Brush paneBrush_;
    COLORREF paneColour_ = 0;
};
