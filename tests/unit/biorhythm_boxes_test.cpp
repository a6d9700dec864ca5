// The date boxes' rules, the stored birth date, and the chart's scale and caption.
#include "apps/vitaro/ChartLayout.h"
#include "apps/vitaro/DateBoxes.h"

#include <gtest/gtest.h>

namespace {

using bio::BoxField;
using bio::CivilDate;

TEST(BiorhythmBoxes, WhatEachBoxAccepts) {
    struct { const char* what; BoxField field; const char* text; std::optional<int> value; } cases[] = {
        {"month in range", BoxField::kMonth, "12", 12},
        {"month 13", BoxField::kMonth, "13", std::nullopt},
        {"leading zero", BoxField::kMonth, "05", 5},
        {"month 00", BoxField::kMonth, "00", std::nullopt},
        {"three characters", BoxField::kMonth, "012", std::nullopt},
        {"empty", BoxField::kMonth, "", std::nullopt},
        {"day 31 with any month", BoxField::kDay, "31", 31},
        {"day 32", BoxField::kDay, "32", std::nullopt},
        {"a sign is not a digit", BoxField::kDay, "-1", std::nullopt},
        {"a blank is not a digit", BoxField::kDay, " 1", std::nullopt},
        {"year 3000", BoxField::kYear, "3000", 3000},
        {"year 3001", BoxField::kYear, "3001", std::nullopt},
        {"year 0 from the spin", BoxField::kYear, "0", std::nullopt},
        {"five characters", BoxField::kYear, "01990", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::AcceptBoxText(c.field, c.text), c.value) << c.what;
}

TEST(BiorhythmBoxes, SpinsStopAtTheirEndsAndTheYearSpinReachesZero) {
    struct { const char* what; BoxField field; int value, delta, result; } cases[] = {
        {"month up", BoxField::kMonth, 5, 1, 6},
        {"month up at 12", BoxField::kMonth, 12, 1, 12},
        {"day down at 1", BoxField::kDay, 1, -1, 1},
        {"year down to 0", BoxField::kYear, 1, -1, 0},
        {"year down at 0", BoxField::kYear, 0, -1, 0},
        {"two-digit 29 up stays in its century", BoxField::kYear, 29, 1, 2030},
        {"two-digit 30 down stays in its century", BoxField::kYear, 30, -1, 1929},
        {"two-digit 99 up", BoxField::kYear, 99, 1, 2000},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::SpinStep(c.field, c.value, c.delta), c.result) << c.what;
}

TEST(BiorhythmBoxes, DatesOfBoxGroupsWithTheTwoDigitYearWindow) {
    struct { const char* what; int month, day, year; std::optional<CivilDate> date; } cases[] = {
        {"ordinary", 7, 4, 1976, CivilDate{1976, 7, 4}},
        {"31 February", 2, 31, 2001, std::nullopt},
        {"31 April", 4, 31, 2001, std::nullopt},
        {"1 is 2001", 1, 1, 1, CivilDate{2001, 1, 1}},
        {"29 is 2029", 1, 1, 29, CivilDate{2029, 1, 1}},
        {"30 is 1930", 1, 1, 30, CivilDate{1930, 1, 1}},
        {"96 is 1996, a leap year", 2, 29, 96, CivilDate{1996, 2, 29}},
        {"three digits are taken as typed", 1, 1, 198, CivilDate{198, 1, 1}},
        {"year 0 is no year", 1, 1, 0, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::DateOfBoxes(c.month, c.day, c.year), c.date) << c.what;
}

TEST(BiorhythmBoxes, StoredBirthDate) {
    struct { const char* what; const char* text; std::optional<bio::BoxValues> values; } cases[] = {
        {"leap day", "2-29-2000", bio::BoxValues{2, 29, 2000}},
        {"leading zeros as typed", "07-04-1976", bio::BoxValues{7, 4, 1976}},
        {"two-digit year", "12-31-85", bio::BoxValues{12, 31, 85}},
        {"empty", "", std::nullopt},
        {"impossible date", "2-30-2000", std::nullopt},
        {"year out of range", "1-1-3001", std::nullopt},
        {"missing part", "7-4", std::nullopt},
        {"extra part", "7-4-1976-1", std::nullopt},
        {"slashes", "7/4/1976", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::ParseStoredBirthDate(c.text), c.values) << c.what;
    EXPECT_EQ(bio::StoredBirthDate("2", "29", "2000"), "2-29-2000");
}

TEST(BiorhythmChart, UserScaleMapsOntoTheBox) {
    struct { float units; int px; } xs[] = {{0, 0}, {1, 12}, {18, 215}, {34, 406}, {35, 418}};
    for (const auto& c : xs) EXPECT_EQ(bio::PixelX(c.units), c.px) << c.units;
    struct { float units; int py; } ys[] = {{0, 0}, {2, 15}, {15, 112}, {28, 208}, {30, 223}};
    for (const auto& c : ys) EXPECT_EQ(bio::PixelY(c.units), c.py) << c.units;
}

TEST(BiorhythmChart, DateCaption) {
    bio::LocaleNames names{{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
                           {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}};
    struct { CivilDate date; const char* text; } cases[] = {
        {{2026, 12, 6}, "Sunday, Dec 6 2026"},
        {{2000, 2, 29}, "Tuesday, Feb 29 2000"},
        {{100, 1, 1}, "Friday, Jan 1 0100"},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::DateCaption(c.date, names), c.text);
}

}  // namespace
