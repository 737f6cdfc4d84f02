// The results printout on a made-up printer: scaling the font and the margins
// to the printer, the equal columns of each page, which lines are printed,
// and, for many random line widths, that every line is drawn once, in order,
// and never over its neighbour.
#include "printing/OrbPrintout.h"
#include "FakePrinting.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>

namespace {

// A printer of 100 pixels an inch with no unprintable edge, a font 20 pixels
// high with a column gap of 8, and no margins: pages `width` wide with
// `linesPerPage` lines.
class Printing : public ::testing::Test {
protected:
    void SetPage(int width, int linesPerPage) {
        device.metrics = {100, 100, 0, 0, width, linesPerPage * 20 + 19};
        device.screenX = device.screenY = 100;
        device.font = {20, 0, 2};
    }
    OrbPrintout& Make() {
        printout =
            std::make_unique<OrbPrintout>("Quillon Output", dialog, feeder, DefaultFont(), margins);
        printout->SetPrintDevice(&device,
                                 {device.metrics.physicalWidth, device.metrics.physicalHeight});
        return *printout;
    }
    void AddLines(int count, int width) {
        for (int i = 0; i < count; ++i) {
            const std::string text = "line " + std::to_string(feeder.lines.size());
            feeder.lines.push_back(text);
            device.widths[text] = width;
        }
    }
    // Renders every page; the lines drawn on each.
    std::vector<std::vector<FakeDevice::Drawn>> RenderAll() {
        std::vector<std::vector<FakeDevice::Drawn>> pages;
        for (int page = 1; printout->PageExists(page); ++page) {
            device.drawn.clear();
            printout->RenderPage(page);
            pages.push_back(device.drawn);
        }
        return pages;
    }

    FakeDevice device;
    LinesFeeder feeder;
    PrintDialogData dialog;
    PageMargins margins{kMarginsInThousandthsOfInch, 0, 0, 0, 0};
    std::unique_ptr<OrbPrintout> printout;
};

using Page = OrbPrintout::PageInfo;

TEST_F(Printing, TheFontIsScaledFromTheScreenToThePrinterRoundingHalvesAwayFromZero) {
    struct Case {
        std::int32_t height, width;
        int printer, screen;
        std::int32_t scaledHeight, scaledWidth;
    };
    const Case cases[] = {
        {-15, 0, 600, 96, -94, 0}, // -93.75; a width of 0 stays 0
        {-15, 7, 300, 96, -47, 22},
        {-8, 8, 150, 96, -13, 13}, // -12.5 and 12.5 go away from zero
        {-15, 0, 96, 96, -15, 0},
        {INT_MIN, INT_MAX, 600, 96, INT_MIN, INT_MAX}, // damaged sizes stay in range
        {-15, 3, 600, 0, -15, 3},                      // no screen resolution: no scaling
    };
    for (const Case& c : cases) {
        FontSetting font = DefaultFont();
        font.logFont.lfHeight = c.height;
        font.logFont.lfWidth = c.width;
        device.metrics.pixelsPerInchX = device.metrics.pixelsPerInchY = c.printer;
        device.screenX = device.screenY = c.screen;
        OrbPrintout p("Quillon Output", dialog, feeder, font, margins);
        p.SetPrintDevice(&device, {});
        p.Paginate();
        EXPECT_EQ(p.WorkingFont().logFont.lfHeight, c.scaledHeight) << c.height << " " << c.printer;
        EXPECT_EQ(p.WorkingFont().logFont.lfWidth, c.scaledWidth) << c.width << " " << c.printer;
        EXPECT_EQ(device.selected, p.WorkingFont());
        EXPECT_EQ(device.busy, 0) << "the busy cursor goes away again";
    }
}

TEST_F(Printing, MarginsInEitherUnitBecomePrinterPixelsInsideThePrintableArea) {
    struct Case {
        PageMargins margins;
        int offsetX, offsetY;
        int left, top, width, linesPerPage;
    };
    // 300 dpi, paper 2550 x 3300 (8.5 x 11 in), lines 50 high.
    const Case cases[] = {
        {{8, 2540, 2540, 2540, 2540}, 0, 0, 300, 300, 1950, 54}, // one inch all round
        {{4, 1000, 1000, 1000, 1000}, 0, 0, 300, 300, 1950, 54},
        {{4, 500, 250, 1500, 2000}, 30, 40, 120, 35, 1950, 52}, // origins inside the offset
        {{4, 0, 0, 0, 0}, 50, 60, 0, 0, 2550, 66},              // edge of the printable area
        {{8, 5, 5, 5, 5}, 0, 0, 1, 1, 2548, 65},                // 0.59 rounds up to 1
        {{4, 5000, 1000, 5000, 1000}, 0, 0, 1500, 300, 0, 54},  // margins wider than the paper
    };
    for (const Case& c : cases) {
        device.metrics = {300, 300, c.offsetX, c.offsetY, 2550, 3300};
        device.font = {50, 0, 10};
        margins = c.margins;
        OrbPrintout& p = Make();
        p.Paginate();
        EXPECT_EQ(p.LeftOrigin(), c.left) << c.margins.left;
        EXPECT_EQ(p.TopOrigin(), c.top) << c.margins.top;
        EXPECT_EQ(p.PrintableWidth(), c.width) << c.margins.left;
        EXPECT_EQ(p.LinesPerPage(), c.linesPerPage) << c.margins.top;
        EXPECT_EQ(p.LineHeight(), 50);
        EXPECT_EQ(p.ColumnGap(), 40);
    }
}

TEST_F(Printing, WithoutFontMetricsOrRoomForALineEveryPageStillHoldsOneLine) {
    SetPage(1000, 10);
    AddLines(3, 92);
    device.hasMetrics = false;
    Make().Paginate();
    EXPECT_EQ(printout->LinesPerPage(), 1);
    EXPECT_EQ(printout->LineHeight(), 0);
    EXPECT_EQ(printout->ColumnGap(), 0);

    device.hasMetrics = true;
    margins = {kMarginsInThousandthsOfInch, 0, 5000, 0, 5000}; // no height left
    Make().Paginate();
    EXPECT_EQ(printout->LinesPerPage(), 1);
    // One line a page, but every line is printed.
    const auto pages = RenderAll();
    ASSERT_FALSE(pages.empty());
    std::size_t total = 0;
    for (const auto& page : pages)
        total += page.size();
    EXPECT_EQ(total, 3u);
}

TEST_F(Printing, EqualLinesFillOnePageRowByRow) {
    // 120 equal lines, 50 lines a page, five columns fit: one page of
    // capacity 250 holds them in 24 full rows of 5.
    SetPage(1000, 50);
    AddLines(120, 180); // pitch 188: 5 columns
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetPageRange().last, 1);
    EXPECT_EQ(p.Pages(), (std::vector<Page>{{250, 180}}));
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 120u);
    // Five columns spread from margin to margin: pitch 180 + (1000 - 900) / 4.
    EXPECT_EQ(pages[0][1].x, 205);
    EXPECT_EQ(pages[0][4].x, 820);
    EXPECT_EQ(pages[0][119].x, 820);
    EXPECT_EQ(pages[0][119].y, 23 * 20);
    EXPECT_EQ(pages[0][5].y, 20);
    EXPECT_TRUE(device.transparent);
}

TEST_F(Printing, AWiderLineShrinksTheColumnsOfTheOpenPage) {
    // Ten columns for lines of 92 (pitch 100); a line of 192 (pitch 200)
    // arriving while the page holds few lines leaves five columns.
    SetPage(1000, 10);
    AddLines(12, 92);
    AddLines(1, 192);
    OrbPrintout& p = Make();
    p.Paginate();
    EXPECT_EQ(p.Pages(), (std::vector<Page>{{50, 192}}));
}

TEST_F(Printing, AWiderLineThatNoLongerFitsTheOpenPageStartsTheNextOne) {
    // Lines 0-34 of width 92 (ten columns), line 35 of width 402 (two
    // columns, capacity 20). The 35 lines on the page do not fit two columns:
    // the page keeps its three whole columns' worth (30 lines, width 92) and
    // lines 30-49 make the next page, in columns 402 wide. Line 35 is never
    // drawn in a column narrower than itself.
    SetPage(1000, 10);
    AddLines(35, 92);
    AddLines(1, 402);
    AddLines(24, 92);
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetPageRange().last, 3);
    EXPECT_EQ(p.Pages(), (std::vector<Page>{{30, 92}, {50, 402}, {150, 92}}));
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 30u);
    EXPECT_EQ(pages[1].front().text, "line 30");
    EXPECT_EQ(pages[1][5].text, "line 35");
    EXPECT_EQ(pages[1][5].x, 598); // second of two columns: 402 + (1000 - 804)
    EXPECT_EQ(pages[2].size(), 10u);
}

TEST_F(Printing, ALineThatFillsThePageExactlyIsStillPrinted) {
    // Line 20 shrinks the page to two columns of ten, exactly the 20 lines
    // before it: it goes to the next page instead of being lost.
    SetPage(1000, 10);
    AddLines(20, 92);
    AddLines(1, 492);
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetPageRange().last, 2);
    EXPECT_EQ(p.Pages(), (std::vector<Page>{{20, 92}, {40, 492}}));
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[1].size(), 1u);
    EXPECT_EQ(pages[1][0].text, "line 20");
}

TEST_F(Printing, NineColumnsAreSpreadToBothMargins) {
    SetPage(1000, 10);
    AddLines(90, 95); // pitch 103: nine columns
    Make();
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0][1].x, 113); // 95 + (1000 - 855) / 8
    EXPECT_EQ(pages[0][8].x, 8 * 113);
    EXPECT_EQ(pages[0][9].y, 20);
}

TEST_F(Printing, ALineWiderThanThePageGetsPagesOfOneColumn) {
    SetPage(1000, 4);
    AddLines(6, 1500);
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetPageRange().last, 2);
    EXPECT_EQ(p.Pages(), (std::vector<Page>{{4, 1500}, {8, 1500}}));
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& d : pages[1])
        EXPECT_EQ(d.x, 0);
    EXPECT_EQ(pages[1].size(), 2u);
}

TEST_F(Printing, TheSelectionIsPrintedWhenChosenAndThereIsOne) {
    SetPage(1000, 10);
    AddLines(30, 92);
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetDialogRanges().selectionTo, 0) << "nothing selected: no Selection choice";
    EXPECT_EQ(p.GetDialogRanges().maxPage, 0);

    dialog.flags = kPrintSelection; // chosen, but nothing is selected: all lines
    EXPECT_EQ(p.GetPageRange().last, 1);
    EXPECT_EQ(p.LineCount(), 30);

    feeder.selected = {3, 17};
    const DialogRanges ranges = p.GetDialogRanges();
    EXPECT_EQ(ranges.minPage, 0);
    EXPECT_EQ(ranges.maxPage, 0);
    EXPECT_EQ(ranges.selectionFrom, 1);
    EXPECT_EQ(ranges.selectionTo, INT_MAX);
    p.GetPageRange();
    EXPECT_EQ(p.LineCount(), 2);
    const auto pages = RenderAll();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 2u);
    EXPECT_EQ(pages[0][0].text, "line 3");
    EXPECT_EQ(pages[0][1].text, "line 17");

    dialog.flags = 0; // "All" chosen again: the next pagination takes every line
    EXPECT_TRUE(p.PageExists(1));
    EXPECT_EQ(p.LineCount(), 2) << "a printout paginates once until asked for its range";
    p.GetPageRange();
    EXPECT_EQ(p.LineCount(), 30);
}

TEST_F(Printing, PagesExistFromOneToTheLast) {
    SetPage(1000, 2);
    AddLines(5, 600); // one column of two lines a page
    OrbPrintout& p = Make();
    for (int page : {0, -1, 4})
        EXPECT_FALSE(p.PageExists(page)) << page;
    for (int page : {1, 2, 3})
        EXPECT_TRUE(p.PageExists(page)) << page;
    device.drawn.clear();
    p.RenderPage(4);
    p.RenderPage(0);
    EXPECT_TRUE(device.drawn.empty());
}

TEST_F(Printing, NoLinesNoPages) {
    SetPage(1000, 10);
    OrbPrintout& p = Make();
    EXPECT_EQ(p.GetPageRange().last, 0);
    EXPECT_FALSE(p.PageExists(1));
}

TEST_F(Printing, EveryLineIsDrawnOnceInOrderAndClearOfItsNeighbours) {
    std::mt19937 random(20070101);
    for (int round = 0; round < 300; ++round) {
        feeder.lines.clear();
        device.widths.clear();
        const int width = std::uniform_int_distribution(0, 1500)(random);
        const int linesPerPage = std::uniform_int_distribution(1, 12)(random);
        SetPage(width, linesPerPage);
        const int count = std::uniform_int_distribution(0, 150)(random);
        const int widest = std::uniform_int_distribution(1, 700)(random);
        for (int i = 0; i < count; ++i)
            AddLines(1, std::uniform_int_distribution(0, widest)(random));
        OrbPrintout& p = Make();
        p.GetPageRange();
        const auto pages = RenderAll();

        std::vector<std::string> drawn;
        for (std::size_t page = 0; page < pages.size(); ++page) {
            ASSERT_FALSE(pages[page].empty()) << "round " << round << ": empty page " << page;
            for (std::size_t k = 0; k < pages[page].size(); ++k) {
                const FakeDevice::Drawn& d = pages[page][k];
                drawn.push_back(d.text);
                EXPECT_LT(d.y, linesPerPage * 20) << "round " << round << ": below the page";
                if (k + 1 < pages[page].size() && pages[page][k + 1].y == d.y) {
                    EXPECT_LE(d.x + device.widths[d.text], pages[page][k + 1].x)
                        << "round " << round << ": " << d.text << " runs into its neighbour";
                }
            }
        }
        EXPECT_EQ(drawn, feeder.lines) << "round " << round;
    }
}

} // namespace
