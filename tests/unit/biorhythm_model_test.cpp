// The biorhythm figures, date steps and day counts as the program shows them, to the character.
#include "apps/vitaro/BiorhythmModel.h"

#include <gtest/gtest.h>

namespace {

using bio::CivilDate;

struct FigureCase {
    const char* what;
    std::int32_t n;
    const char* emotional;
    const char* physical;
    const char* intellectual;
    const char* average;
};

const FigureCase kFigures[] = {
    {"birth day: every cycle crosses zero", 0, " Crucial Day", " Crucial Day", " Crucial Day", "0%"},
    {"a week on: emotional peak", 7, "100%", "94%", "97%", "97%"},
    {"half an emotional period: the shortened pi leaves a tiny positive sine", 14, " Crucial Day", "-63%", "46%", "-6%"},
    {"half a period before birth: minus sign on 00", -14, "-00%", "63%", "-46%", "5%"},
    {"the day before birth", -1, "-22%", "-27%", "-19%", "-23%"},
    {"mean of about -0.27 floors to -1", 10000, "78%", "-98%", "19%", "-1%"},
    {"a full -100 physical", 12345, "-62%", "-100%", "54%", "-37%"},
    // Only the cycle of that period is crucial (nullptr: any figure but the crucial day).
    {"one physical period", 23, nullptr, " Crucial Day", nullptr, nullptr},
    {"one emotional period", 28, " Crucial Day", nullptr, nullptr, nullptr},
    {"one intellectual period", 33, nullptr, nullptr, " Crucial Day", nullptr},
};

void ExpectCycleText(std::int32_t n, int period, const char* expected) {
    const std::string text = bio::CycleText(n, period);
    if (expected) {
        EXPECT_EQ(text, expected) << "P=" << period;
    } else {
        EXPECT_NE(text, bio::kCrucialDayText) << "P=" << period;
        EXPECT_NE(text.find('%'), std::string::npos) << "P=" << period;
    }
}

TEST(BiorhythmFigures, CycleTextsAndAverageToTheCharacter) {
    for (const auto& c : kFigures) {
        SCOPED_TRACE(c.what);
        ExpectCycleText(c.n, 28, c.emotional);
        ExpectCycleText(c.n, 23, c.physical);
        ExpectCycleText(c.n, 33, c.intellectual);
        if (c.average) {
            EXPECT_EQ(std::to_string(bio::AveragePercent(c.n)) + "%", c.average);
        }
    }
}

TEST(BiorhythmFigures, ShortenedPiDecidesTheHalfPeriodSigns) {
    EXPECT_GT(bio::CycleValue(14, 28), 0.0);
    EXPECT_LT(bio::CycleValue(-14, 28), 0.0);
    EXPECT_LT(bio::CyclePercent(14, 28), 1e-11);
    EXPECT_EQ(bio::CycleValue(7, 28), 1.0);
    // The remainder truncates toward zero: -30 is -2 for the 28-day cycle, to the bit.
    EXPECT_EQ(bio::CycleValue(-30, 28), bio::CycleValue(-2, 28));
    EXPECT_EQ(bio::CycleValue(-5, 28), -bio::CycleValue(5, 28));
}

TEST(BiorhythmFigures, PercentTexts) {
    struct { const char* what; double percent; const char* text; } cases[] = {
        {"one digit gets a leading zero", 5.2, "05%"},
        {"hundred has three digits", 100.0, "100%"},
        {"negative rounds away from zero", -97.9, "-98%"},
        {"half rounds away from zero", 2.5, "03%"},
        {"negative half rounds away from zero", -2.5, "-03%"},
        {"tiny negative keeps its sign", -0.0000000000003, "-00%"},
        {"ninety-nine and a half", 99.5, "100%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bio::PercentText(c.percent), c.text);
    }
}

TEST(BiorhythmFigures, EveryDayOfSeveralYearsStaysInRangeAndCrucialOnlyAtZeroCrossings) {
    for (std::int32_t n = -1000; n <= 1000; ++n) {
        for (const auto& cycle : bio::kCycles) {
            const double v = bio::CycleValue(n, cycle.period);
            ASSERT_GE(v, -1.0);
            ASSERT_LE(v, 1.0);
            const std::int32_t k = n % cycle.period;
            const bool crucial = bio::CycleText(n, cycle.period) == bio::kCrucialDayText;
            const bool expected = k == 0 || (cycle.period == 28 && k == 14);
            ASSERT_EQ(crucial, expected) << "n=" << n << " P=" << cycle.period;
        }
        const double mean = (bio::CyclePercent(n, 23) + bio::CyclePercent(n, 28) + bio::CyclePercent(n, 33)) / 3;
        ASSERT_LE(bio::AveragePercent(n), mean);
        ASSERT_GT(bio::AveragePercent(n) + 1, mean);
    }
}

struct CountCase {
    const char* what;
    CivilDate birth;
    CivilDate chosen;
    std::int32_t days;
};

const CountCase kCounts[] = {
    {"same day", {2000, 2, 29}, {2000, 2, 29}, 0},
    {"next day", {2000, 2, 29}, {2000, 3, 1}, 1},
    {"chosen before birth across a leap day", {2000, 3, 1}, {2000, 2, 29}, -1},
    {"decades across leap years", {1943, 3, 9}, {1972, 7, 11}, 10717},
    {"a century that is not leap", {1900, 2, 28}, {1900, 3, 1}, 1},
    {"a 400th year that is leap", {2000, 2, 28}, {2000, 3, 1}, 2},
    {"whole supported range: 9900 years with 2400 leap days", {100, 1, 1}, {9999, 12, 31}, 3615899},
    {"three days before birth", {1990, 1, 4}, {1990, 1, 1}, -3},
};

TEST(BiorhythmDates, DaysLived) {
    for (const auto& c : kCounts) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bio::DaysLived(c.birth, c.chosen), c.days);
        EXPECT_EQ(bio::DaysLived(c.chosen, c.birth), -c.days);
    }
    EXPECT_EQ(bio::DaysLivedText(-3), "You have lived -3 days");
    EXPECT_EQ(bio::DaysLivedText(0), "You have lived 0 days");
}

TEST(BiorhythmDates, DayNumbersRoundTripAndWeekdays) {
    for (std::int64_t d = bio::DayNumber({100, 1, 1}); d <= bio::DayNumber({9999, 12, 31}); d += 97) {
        const CivilDate date = bio::DateOfDayNumber(d);
        ASSERT_TRUE(bio::IsPossibleDate(date)) << d;
        ASSERT_EQ(bio::DayNumber(date), d);
    }
    struct { CivilDate date; int weekday; } cases[] = {
        {{1970, 1, 1}, 4}, {{2026, 12, 6}, 0}, {{2024, 3, 10}, 0}, {{2000, 2, 29}, 2}, {{100, 1, 1}, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(bio::Weekday(c.date), c.weekday) << c.date.year;
}

using Step = std::optional<CivilDate> (*)(const CivilDate&, std::int64_t);

struct StepCase {
    const char* what;
    Step step;
    CivilDate from;
    std::int64_t k;
    std::optional<CivilDate> to;
};

const StepCase kSteps[] = {
    {"day back over a leap day", bio::AddDays, {2000, 3, 1}, -1, CivilDate{2000, 2, 29}},
    {"month forth to a short February", bio::AddMonths, {2001, 1, 31}, 1, CivilDate{2001, 2, 28}},
    {"month forth to a leap February", bio::AddMonths, {2000, 1, 31}, 1, CivilDate{2000, 2, 29}},
    {"month back to February's last day", bio::AddMonths, {2001, 3, 31}, -1, CivilDate{2001, 2, 28}},
    {"month forth over a year end", bio::AddMonths, {2000, 12, 31}, 1, CivilDate{2001, 1, 31}},
    {"leap day plus a year", bio::AddYears, {2000, 2, 29}, 1, CivilDate{2001, 2, 28}},
    {"leap day minus four years", bio::AddYears, {2000, 2, 29}, -4, CivilDate{1996, 2, 29}},
    {"day back at the first supported date", bio::AddDays, {100, 1, 1}, -1, std::nullopt},
    {"day forth at the last supported date", bio::AddDays, {9999, 12, 31}, 1, std::nullopt},
    {"month back in January 100", bio::AddMonths, {100, 1, 20}, -1, std::nullopt},
    {"year back from 100", bio::AddYears, {100, 6, 1}, -1, std::nullopt},
    {"year forth to the last year", bio::AddYears, {9998, 12, 31}, 1, CivilDate{9999, 12, 31}},
    {"days forth by 2^63 - 1", bio::AddDays, {2000, 1, 1}, INT64_MAX, std::nullopt},
    {"days back by -2^63", bio::AddDays, {2000, 1, 1}, INT64_MIN, std::nullopt},
    {"months forth by 2^63 - 1", bio::AddMonths, {9999, 12, 31}, INT64_MAX, std::nullopt},
    {"months back by -2^63", bio::AddMonths, {100, 1, 1}, INT64_MIN, std::nullopt},
    {"years forth by 2^63 - 1", bio::AddYears, {9999, 12, 31}, INT64_MAX, std::nullopt},
    {"years back by -2^63", bio::AddYears, {100, 1, 1}, INT64_MIN, std::nullopt},
};

TEST(BiorhythmDates, CalendarSteps) {
    for (const auto& c : kSteps) {
        SCOPED_TRACE(c.what);
        const auto got = c.step(c.from, c.k);
        ASSERT_EQ(got.has_value(), c.to.has_value());
        if (got) {
            EXPECT_EQ(*got, *c.to);
        }
    }
}

}  // namespace
