#include "apps/zentaro/MenuLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(MenuLayout, ContentIdentifiersAreUniqueAndSeparatorsHaveNoText) {
    std::set<unsigned> ids;
    for (const auto& e : menu::TopLevel()) {
        EXPECT_TRUE(ids.insert(e.id).second) << e.id;
        EXPECT_EQ(menu::IsSeparator(e.type), std::string(e.text).empty()) << e.id;
    }
    for (const auto& e : menu::HelpSubmenu()) EXPECT_TRUE(ids.insert(e.id).second) << e.id;
    EXPECT_EQ(menu::TopLevel().size(), 16u);
    EXPECT_EQ(menu::HelpSubmenu().size(), 2u);
    EXPECT_STREQ(menu::TopLevel()[menu::kHelpPosition].text, "Help(&H)");
    EXPECT_STREQ(menu::TopLevel()[menu::kMinimiseResumePosition].text, "Minimized(&M)");
}

TEST(MenuLayout, MeasureRules) {
    struct Case { const char* what; unsigned type; int textWidth; int barHeight; int w, h; };
    const Case cases[] = {
        {"separator is thin", menu::kTypeSeparator, 0, 19, 19, 6},
        {"plain item is a menu bar high", menu::kTypePlain, 60, 19, 79, 19},
        {"framed item is a menu bar high", menu::kTypeFramed, 40, 20, 59, 20},
        {"separator combined with another flag keeps the full height",
         menu::kTypeSeparator | menu::kTypeFramed, 0, 19, 19, 19},
    };
    for (const Case& c : cases) {
        const menu::Size s = menu::MeasureItem(c.type, c.textWidth, c.barHeight);
        EXPECT_EQ(s.width, c.w) << c.what;
        EXPECT_EQ(s.height, c.h) << c.what;
    }
}

TEST(MenuLayout, ItemPartsAndSeparatorLine) {
    const menu::Rect item{0, 40, 150, 59};
    const menu::ItemRects r = menu::SplitItem(item);
    EXPECT_EQ(r.box.left, 0);
    EXPECT_EQ(r.box.right, 19);
    EXPECT_EQ(r.frame.left, 20);
    EXPECT_EQ(r.frame.right, 150);
    EXPECT_EQ(r.text.left, 23);
    EXPECT_EQ(r.text.top, 40);
    EXPECT_EQ(r.text.bottom, 59);
    const menu::Rect line = menu::SeparatorLine({0, 40, 150, 46});
    EXPECT_EQ(line.left, 3);
    EXPECT_EQ(line.right, 147);
    EXPECT_EQ(line.top, 42);
}

}  // namespace

// At 120, 144 and 192 DPI the padding, the separator and the item's columns grow by the factor.
TEST(MenuLayoutDpi, MeasuresAndPartsScaleWithTheMenu) {
    struct Row {
        int dpi, padding, separator, boxRight, frameLeft, textLeft, lineOffset, lineInset;
    };
    const Row rows[] = {
        {96, 19, 6, 19, 20, 23, 2, 3},
        {120, 24, 8, 24, 25, 29, 3, 4},
        {144, 29, 9, 29, 30, 35, 3, 5},
        {192, 38, 12, 38, 40, 46, 4, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dpi);
        EXPECT_EQ(menu::MeasureItem(menu::kTypePlain, 100, 30, r.dpi).width, 100 + r.padding);
        EXPECT_EQ(menu::MeasureItem(menu::kTypePlain, 100, 30, r.dpi).height, 30);
        EXPECT_EQ(menu::MeasureItem(menu::kTypeSeparator, 0, 30, r.dpi).height, r.separator);
        const menu::ItemRects parts = menu::SplitItem({0, 40, 200, 70}, r.dpi);
        EXPECT_EQ(parts.box.right, r.boxRight);
        EXPECT_EQ(parts.frame.left, r.frameLeft);
        EXPECT_EQ(parts.text.left, r.textLeft);
        const menu::Rect line = menu::SeparatorLine({0, 40, 200, 46}, r.dpi);
        EXPECT_EQ(line.top, 40 + r.lineOffset);
        EXPECT_EQ(line.left, r.lineInset);
        EXPECT_EQ(line.right, 200 - r.lineInset);
    }
}
