// libFuzzer target: the period dialog's two typed texts (split at the first
// newline), applied as its OK does. The stored start and end must always be
// real calendar dates and times; a text read as five numbers must land
// inside the catalogue's range, counted in days from the first record's
// month to the last record's day (the clamp leaves the time of day alone),
// and an unreadable one gives 1970/01/01 00:00 for the start and the
// present minute for the end. The stored date written
// as the dialog shows it must read back as the same five numbers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/model/records.h"
#include "engine/controls/period.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

namespace {

long long Key(int y, int mo, int d, int h, int mi) {
    return (((y * 100LL + mo) * 100 + d) * 100 + h) * 100 + mi;
}

void Check(const std::string& text, int y, int mo, int d, int h, int mi, long long unreadable) {
    if (mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(mo, y) || h < 0 || h > 23 || mi < 0 || mi > 59)
        std::abort();
    int typed[5];
    const long long key = Key(y, mo, d, h, mi);
    if (ParsePeriodText(text.c_str(), typed) == 5) {
        const DateTime& f = gDataFirst;
        const DateTime& l = gDataLast;
        if (key < Key(f.year, f.month, 1, 0, 0) || key > Key(l.year, l.month, l.day, 23, 59)) std::abort();
    } else if (key != unreadable) {
        std::abort();
    }
    char shown[64];
    FormatPeriodText(shown, sizeof shown, y, mo, d, h, mi);
    int back[5];
    if (ParsePeriodText(shown, back) != 5 || Key(back[0], back[1], back[2], back[3], back[4]) != key)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\n');
    const std::string start = input.substr(0, split);
    const std::string end = split == std::string::npos ? std::string() : input.substr(split + 1);

    static const LocalTime now = {2024, 3, 5, 10, 20, 0};
    SetClockOverride(&now);
    gDataFirst = {1970, 1, 1, 0, 0};
    gDataLast = {2024, 3, 5, 10, 20};
    // A later first record when the input asks for it: a catalogue that
    // starts inside a month, as a partial download does.
    if (size > 0 && data[0] == '#') gDataFirst = {2019, 5, 20, 10, 0};

    ApplyPeriodTexts(start.c_str(), end.c_str());
    const SettingsBlock& s = AppSettings;
    Check(start, s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute, Key(1970, 1, 1, 0, 0));
    Check(end, s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute, Key(2024, 3, 5, 10, 20));
    return 0;
}
