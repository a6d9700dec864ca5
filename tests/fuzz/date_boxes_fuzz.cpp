// vitaro's date boxes and stored birth date: typed texts, the stored "m-d-y" form, and the
// calendar steps with any 64-bit count from a date the boxes accept.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "apps/vitaro/DateBoxes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int64_t step = in.ConsumeIntegral<std::int64_t>();
    const int spin = in.ConsumeIntegralInRange<int>(-1, 1);
    const std::string typed = in.ConsumeRandomLengthString(16);
    const std::string stored = in.ConsumeRemainingBytesAsString();

    for (const bio::BoxField field : {bio::BoxField::kMonth, bio::BoxField::kDay, bio::BoxField::kYear}) {
        const auto value = bio::AcceptBoxText(field, typed);
        if (!value) continue;
        const bio::BoxLimits& limits = bio::LimitsOf(field);
        if (*value < 1 || *value > limits.largest) std::abort();
        const int moved = bio::SpinStep(field, *value, spin);
        if (moved < limits.spinMin || moved > limits.spinMax) std::abort();
    }
    const auto boxes = bio::ParseStoredBirthDate(stored);
    if (!boxes) return 0;
    const auto date = bio::DateOfBoxes((*boxes)[0], (*boxes)[1], (*boxes)[2]);
    if (!date) std::abort();  // a stored date that is read is a possible date
    // Written back from its own values, it reads the same.
    const std::string again = bio::StoredBirthDate(std::to_string((*boxes)[0]), std::to_string((*boxes)[1]),
                                                   std::to_string((*boxes)[2]));
    if (bio::ParseStoredBirthDate(again) != boxes) std::abort();
    for (auto stepFn : {bio::AddDays, bio::AddMonths, bio::AddYears})
        if (const auto to = stepFn(*date, step); to && !bio::IsPossibleDate(*to)) std::abort();
    return 0;
}
