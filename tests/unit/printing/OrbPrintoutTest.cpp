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

using Page = OrbPrintout::PageInfo;
using Drawn = std::vector<std::vector<FakeDevice::Drawn>>;

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
    Drawn RenderAll() {
        Drawn pages;
        for (int page = 1; printout->PageExists(page); ++page) {
            device.drawn.clear();
            printout->RenderPage(page);
            pages.push_back(device.drawn);
        }
        return pages;
    }
    std::vector<std::string> TextsOf(const Drawn& pages) {
        std::vector<std::string> texts;
        for (const auto& page : pages)
            for (const FakeDevice::Drawn& d : page)
                texts.push_back(d.text);
        return texts;
    }

    FakeDevice device;
    LinesFeeder feeder;
    PrintDialogData dialog;
    PageMargins margins{kMarginsInThousandthsOfInch, 0, 0, 0, 0};
    std::unique_ptr<OrbPrintout> printout;
};

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
        SCOPED_TRACE(testing::Message() << c.height << "x" << c.width << " at " << c.printer);
        FontSetting font = DefaultFont();
        font.logFont.lfHeight = c.height;
        font.logFont.lfWidth = c.width;
        device.metrics.pixelsPerInchX = device.metrics.pixelsPerInchY = c.printer;
        device.screenX = device.screenY = c.screen;
        OrbPrintout p("Quillon Output", dialog, feeder, font, margins);
        p.SetPrintDevice(&device, {});
        p.Paginate();
        EXPECT_EQ(p.WorkingFont().logFont.lfHeight, c.scaledHeight);
        EXPECT_EQ(p.WorkingFont().logFont.lfWidth, c.scaledWidth);
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
        SCOPED_TRACE(testing::Message() << "margins " << c.margins.left << "," << c.margins.top);
        device.metrics = {300, 300, c.offsetX, c.offsetY, 2550, 3300};
        device.font = {50, 0, 10};
        margins = c.margins;
        OrbPrintout& p = Make();
        p.Paginate();
        EXPECT_EQ(p.LeftOrigin(), c.left);
        EXPECT_EQ(p.TopOrigin(), c.top);
        EXPECT_EQ(p.PrintableWidth(), c.width);
        EXPECT_EQ(p.LinesPerPage(), c.linesPerPage);
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
    EXPECT_EQ(TextsOf(RenderAll()), feeder.lines);
}

// Pages 1000 wide; line pitch is width + 8. Spots name a drawn line by page
// and place on it; an empty text or a negative coordinate is not checked.
TEST_F(Printing, LinesFillEqualColumnsSpreadToBothMargins) {
    struct Spot {
        std::size_t page, index;
        std::string text;
        int x, y;
    };
    struct Case {
        const char* name;
        int linesPerPage;
        std::vector<std::pair<int, int>> lines; // count, width
        std::vector<Page> pages;
        std::vector<Spot> spots;
    };
    const Case cases[] = {
        // Five columns 180 + (1000 - 900) / 4 apart, filled row by row.
        {"equal lines",
         50,
         {{120, 180}},
         {{250, 180}},
         {{0, 1, "", 205, 0}, {0, 4, "", 820, -1}, {0, 5, "", -1, 20}, {0, 119, "", 820, 460}}},
        {"nine columns",
         10,
         {{90, 95}},
         {{90, 95}},
         {{0, 1, "", 113, -1}, {0, 8, "", 904, 0}, {0, 9, "", 0, 20}}},
        // A wider line arriving while the page holds few lines leaves five columns.
        {"wider line shrinks the open page", 10, {{12, 92}, {1, 192}}, {{50, 192}}, {}},
        // Line 35 needs two columns, which cannot hold the 35 lines before it:
        // the page keeps three whole columns (30 lines) and line 35 is never
        // drawn in a column narrower than itself.
        {"wider line starts the next page",
         10,
         {{35, 92}, {1, 402}, {24, 92}},
         {{30, 92}, {50, 402}, {150, 92}},
         {{1, 0, "line 30", 0, 0}, {1, 5, "line 35", 598, -1}, {2, 0, "line 50", 0, 0}}},
        // Line 20 shrinks the page to exactly the 20 lines before it: it goes
        // to the next page instead of being lost.
        {"line that fills the page exactly",
         10,
         {{20, 92}, {1, 492}},
         {{20, 92}, {40, 492}},
         {{1, 0, "line 20", 0, 0}}},
        {"lines wider than the page",
         4,
         {{6, 1500}},
         {{4, 1500}, {8, 1500}},
         {{1, 0, "line 4", 0, 0}, {1, 1, "line 5", 0, 20}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        feeder.lines.clear();
        device.widths.clear();
        SetPage(1000, c.linesPerPage);
        for (const auto& [count, width] : c.lines)
            AddLines(count, width);
        OrbPrintout& p = Make();
        EXPECT_EQ(p.GetPageRange().last, static_cast<int>(c.pages.size()));
        EXPECT_EQ(p.Pages(), c.pages);
        const Drawn pages = RenderAll();
        EXPECT_EQ(TextsOf(pages), feeder.lines);
        for (const Spot& s : c.spots) {
            ASSERT_LT(s.page, pages.size());
            ASSERT_LT(s.index, pages[s.page].size());
            const FakeDevice::Drawn& d = pages[s.page][s.index];
            const std::string at = std::to_string(s.page) + ":" + std::to_string(s.index);
            EXPECT_EQ(d.text, s.text.empty() ? d.text : s.text) << at;
            EXPECT_EQ(d.x, s.x < 0 ? d.x : s.x) << at;
            EXPECT_EQ(d.y, s.y < 0 ? d.y : s.y) << at;
        }
        EXPECT_TRUE(device.transparent);
    }
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
    EXPECT_EQ(TextsOf(RenderAll()), (std::vector<std::string>{"line 3", "line 17"}));

    dialog.flags = 0; // "All" chosen again: the next pagination takes every line
    EXPECT_TRUE(p.PageExists(1));
    EXPECT_EQ(p.LineCount(), 2) << "a printout paginates once until asked for its range";
    p.GetPageRange();
    EXPECT_EQ(p.LineCount(), 30);
}

TEST_F(Printing, PagesExistFromOneToTheLast) {
    SetPage(1000, 2);
    EXPECT_EQ(Make().GetPageRange().last, 0) << "no lines, no pages";
    EXPECT_FALSE(printout->PageExists(1));
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

TEST_F(Printing, EveryLineIsDrawnOnceInOrderAndClearOfItsNeighbours) {
    std::mt19937 random(20070101);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        feeder.lines.clear();
        device.widths.clear();
        const int width = std::uniform_int_distribution(0, 1500)(random);
        const int linesPerPage = std::uniform_int_distribution(1, 12)(random);
        SetPage(width, linesPerPage);
        const int count = std::uniform_int_distribution(0, 150)(random);
        const int widest = std::uniform_int_distribution(1, 700)(random);
        for (int i = 0; i < count; ++i)
            AddLines(1, std::uniform_int_distribution(0, widest)(random));
        Make().GetPageRange();
        const Drawn pages = RenderAll();
        for (std::size_t page = 0; page < pages.size(); ++page) {
            ASSERT_FALSE(pages[page].empty()) << "empty page " << page;
            for (std::size_t k = 0; k < pages[page].size(); ++k) {
                const FakeDevice::Drawn& d = pages[page][k];
                EXPECT_LT(d.y, linesPerPage * 20) << "below the page";
                if (k + 1 < pages[page].size() && pages[page][k + 1].y == d.y) {
                    EXPECT_LE(d.x + device.widths[d.text], pages[page][k + 1].x)
                        << d.text << " runs into its neighbour";
                }
            }
        }
        EXPECT_EQ(TextsOf(pages), feeder.lines);
    }
}

} // namespace
