// Calendar functions against Python's datetime, the names, the time of day, the sleep and the
// chronometer.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "utils/g_time.h"

namespace {

// Runs python3 on the script; its standard output, or "" when python3 cannot run it.
std::string run_python(const std::string& script, int& status)
{
    char path[] = "/tmp/nelvor_g_time_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return "";
    close(fd);
    std::ofstream(path) << script;
    std::string out;
    FILE* pipe = popen((std::string("python3 ") + path).c_str(), "r");
    if (pipe != nullptr) {
        char chunk[65536];
        std::size_t n;
        while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
        int s = pclose(pipe);
        status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    }
    std::remove(path);
    return out;
}

bool have_python()
{
    return std::system("command -v python3 > /dev/null 2>&1") == 0;
}

// What the oracle says of one day number: date, weekday (0 = Monday) and week number.
struct oracle_day {
    long long n;
    int day, month, year, weekday, week;
};

// The oracle's lines "n day month year weekday week".
std::vector<oracle_day> read_oracle(const std::string& text)
{
    std::vector<oracle_day> days;
    std::istringstream in(text);
    oracle_day d;
    while (in >> d.n >> d.day >> d.month >> d.year >> d.weekday >> d.week) days.push_back(d);
    return days;
}

// The oracle in Python: ordinal 1 of datetime (1 January of year 1) is day number 364. Beyond
// datetime's years 1 to 9999 a day is moved by whole 400-year cycles (146097 days, a whole
// number of weeks), which leave day, month and weekday alone and move the year by 400 each.
const char* oracle_functions = R"(
import datetime
CYCLE = 146097
def describe(n):
    o = n - 363
    k = (o - 1) // CYCLE
    d = datetime.date.fromordinal(o - k * CYCLE)
    year = d.year + 400 * k
    jan1 = datetime.date(d.year, 1, 1)
    j = jan1.weekday()
    doy = (d - jan1).days
    week = (doy + j) // 7 + (1 if j <= 3 else 0)
    return "%d %d %d %d %d %d" % (n, d.day, d.month, year, d.weekday(), week)
)";

void check_against_oracle(const std::vector<oracle_day>& days)
{
    for (const oracle_day& o : days) {
        int n = static_cast<int>(o.n);
        int day = 0, month = 0, year = 0;
        EXPECT_EQ(g_datecomplete(n, &day, &month, &year), o.month) << n;
        ASSERT_EQ(day, o.day) << n;
        ASSERT_EQ(month, o.month) << n;
        ASSERT_EQ(year, o.year) << n;
        ASSERT_EQ(((n % 7) + 7) % 7, o.weekday) << n;
        ASSERT_EQ(g_numero_semaine(n), o.week) << n;
        if (year > 0) {
            ASSERT_EQ(g_nb_jours(day, month, year), n) << n;
        }
    }
}

} // namespace

TEST(Calendar, EveryDayFrom1900To2100AgainstDatetime)
{
    if (!have_python()) GTEST_SKIP() << "python3 is not installed";
    int status = -1;
    std::string out = run_python(std::string(oracle_functions) + R"(
first = datetime.date(1900, 1, 1).toordinal() + 363
last = datetime.date(2100, 12, 31).toordinal() + 363
print("\n".join(describe(n) for n in range(first, last + 1)))
)", status);
    ASSERT_EQ(status, 0);
    std::vector<oracle_day> days = read_oracle(out);
    ASSERT_EQ(days.size(), 73414u); // 201 years, 49 of them leap
    EXPECT_EQ(days.front().n, 693959); // 365 * 1900 + 475 - 19 + 4 + 1 - 2
    check_against_oracle(days);
}

TEST(Calendar, SampleUpToTheLastDayNumbersAgainstDatetime)
{
    if (!have_python()) GTEST_SKIP() << "python3 is not installed";
    int status = -1;
    std::string out = run_python(std::string(oracle_functions) + R"(
INT_MIN, INT_MAX = -2**31, 2**31 - 1
sample = set(range(INT_MIN, INT_MAX, 1000003))
for n in (INT_MIN, INT_MAX, INT_MAX - 1, 0, -1, 1, 363, 364, 365, 729, 730,
          1929610, 1929611, 2296065, 2296066):  # years 2, 5283, 5284 and neighbours
    for k in range(-3, 4):
        sample.add(min(max(n + k, INT_MIN), INT_MAX))
print("\n".join(describe(n) for n in sorted(sample)))
)", status);
    ASSERT_EQ(status, 0);
    std::vector<oracle_day> days = read_oracle(out);
    ASSERT_GT(days.size(), 4000u);
    EXPECT_EQ(days.front().n, INT_MIN);
    EXPECT_EQ(days.back().n, INT_MAX);
    check_against_oracle(days);
}

TEST(Calendar, EdgeCases)
{
    struct { int day, month, year, number; } numbers[] = {
        {1, 1, 1970, 719526}, {1, 1, 2000, 730483}, {1, 3, 2000, 730543},
        {1, 13, 2000, -1}, {0, 1, 2000, -1}, {1, 1, 0, -1}, {32, 1, 2000, -1}, {1, 0, 2000, -1},
        {1, 1, 1, 364}, {31, 12, 5883516, -1}, // past the last day number
    };
    for (auto& c : numbers) EXPECT_EQ(g_nb_jours(c.day, c.month, c.year), c.number) << c.day << "/" << c.month << "/" << c.year;
    EXPECT_EQ(g_nb_jours(1, 1, 1970) % 7, 3); // Thursday
    EXPECT_EQ(g_nb_jours(31, 2, 2001), g_nb_jours(3, 3, 2001));
    EXPECT_EQ(g_nb_jours(31, 2, 2000), g_nb_jours(2, 3, 2000));

    struct { int number, day, month, year; } dates[] = {
        {730543, 1, 3, 2000}, {g_nb_jours(31, 12, 2000), 31, 12, 2000},
        {g_nb_jours(1, 1, 2), 1, 1, 2}, {g_nb_jours(31, 12, 5283), 31, 12, 5283},
        {g_nb_jours(29, 2, 2024), 29, 2, 2024}, {363, 31, 12, 0}, {-2, 1, 1, 0},
    };
    for (auto& c : dates) {
        int day, month, year;
        EXPECT_EQ(g_datecomplete(c.number, &day, &month, &year), c.month) << c.number;
        EXPECT_EQ(day, c.day) << c.number;
        EXPECT_EQ(year, c.year) << c.number;
    }

    struct { int year, leap; } leaps[] = {{2000, 1}, {2024, 1}, {1900, 0}, {2023, 0}, {2100, 0}, {2400, 1}};
    for (auto& c : leaps) EXPECT_EQ(g_annee_bissextile(c.year), c.leap) << c.year;

    struct { int day, month, year, week; } weeks[] = {
        {1, 1, 2021, 0}, {3, 1, 2021, 0}, {4, 1, 2021, 1}, {1, 1, 2020, 1}, {31, 12, 2024, 53},
        {1, 1, 2024, 1}, {7, 1, 2024, 1}, {8, 1, 2024, 2},
    };
    for (auto& c : weeks) EXPECT_EQ(g_numero_semaine(g_nb_jours(c.day, c.month, c.year)), c.week) << c.day << "/" << c.month << "/" << c.year;

    struct { int day, month, year, doy; } days_of_year[] = {
        {1, 1, 2001, 0}, {1, 2, 2001, 31}, {1, 3, 2001, 59}, {1, 3, 2000, 60}, {31, 12, 2000, 365}, {1, 8, 2001, 212}, {1, 9, 2001, 243},
    };
    for (auto& c : days_of_year) EXPECT_EQ(g_nb_jours_annee_courante(c.day, c.month, c.year), c.doy) << c.day << "/" << c.month;
}

TEST(Calendar, Names)
{
    const char* jours[] = {"Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi", "Dimanche"};
    const char* mois[] = {"Janvier", "Fevrier", "Mars", "Avril", "Mai", "Juin", "Juillet",
                          "Aout", "Septembre", "Octobre", "Novembre", "Decembre"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(g_time_jour(i), jours[i]);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(g_time_mois(i), mois[i]);
    EXPECT_EQ(g_time_jour(6), "Dimanche");
    EXPECT_EQ(g_time_jour(7), "");
    EXPECT_EQ(g_time_jour(-1), "");
    EXPECT_EQ(g_time_mois(4), "Mai");
    EXPECT_EQ(g_time_mois(12), "");
    EXPECT_EQ(g_time_mois(-1), "");
    EXPECT_EQ(internal_g_time_jour[0], "Lundi");
    EXPECT_EQ(internal_g_time_mois[11], "Decembre");
}

TEST(TimeOfDay, FollowsTheSystemClock)
{
    timeval before;
    ASSERT_EQ(gettimeofday(&before, nullptr), 0);
    timeval mine;
    EXPECT_EQ(g_gettimeofday(&mine, nullptr), 0);
    timeval after;
    ASSERT_EQ(gettimeofday(&after, nullptr), 0);
    long long b = before.tv_sec * 1000000LL + before.tv_usec;
    long long m = mine.tv_sec * 1000000LL + mine.tv_usec;
    long long a = after.tv_sec * 1000000LL + after.tv_usec;
    EXPECT_LE(b, m);
    EXPECT_LE(m, a);
    EXPECT_GE(mine.tv_usec, 0);
    EXPECT_LT(mine.tv_usec, 1000000);
}

namespace {

std::time_t realtime_seconds()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec;
}

} // namespace

TEST(TimeOfDay, TodayIsUtcPlusOneHour)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        // the clock the function reads: time() reads a coarser one, which can lag a tick behind
        // it across a second's boundary
        std::time_t t0 = realtime_seconds();
        int second, minute, hour, day, month, year;
        g_date_aujourdhui(&second, &minute, &hour, &day, &month, &year);
        if (realtime_seconds() != t0) continue; // a second went by: ask again
        std::time_t shifted = t0 + 3600;
        std::tm utc;
        gmtime_r(&shifted, &utc);
        EXPECT_EQ(second, utc.tm_sec);
        EXPECT_EQ(minute, utc.tm_min);
        EXPECT_EQ(hour, utc.tm_hour);
        EXPECT_EQ(day, utc.tm_mday);
        EXPECT_EQ(month, utc.tm_mon + 1);
        EXPECT_EQ(year, utc.tm_year + 1900);
        return;
    }
    FAIL() << "the second kept changing";
}

namespace {

// The wall time that g_usleep(microseconds) takes, in milliseconds.
double slept_ms(int microseconds)
{
    auto start = std::chrono::steady_clock::now();
    g_usleep(microseconds);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(Sleep, AddsOneMillisecond)
{
    struct { int microseconds; double at_least; } cases[] = {{1000, 2}, {10000, 11}, {0, 1}, {999, 1}, {2500, 3}};
    for (auto& c : cases) {
        double ms = slept_ms(c.microseconds);
        EXPECT_GE(ms, c.at_least) << c.microseconds;
        EXPECT_LT(ms, c.at_least + 200) << c.microseconds; // a loaded machine may be late
    }
}

TEST(Sleep, NegativeCountDoesNotSleep)
{
    EXPECT_LT(slept_ms(-1), 1.0);
    EXPECT_LT(slept_ms(INT_MIN), 1.0);
}

namespace {

// The process's user time in milliseconds, as the system reports it.
long long user_ms()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1000LL + usage.ru_utime.tv_usec / 1000;
}

// Spends at least ms milliseconds of user time, computing between the looks at the clock.
void spend_user_time(int ms)
{
    long long until = user_ms() + ms;
    volatile unsigned x = 0;
    while (user_ms() < until)
        for (int i = 0; i < 1000000; ++i) x = x * 1664525u + 1013904223u;
}

} // namespace

TEST(Chrono, NewOneHasNothingCumulated)
{
    g_chrono c;
    EXPECT_EQ(c.CumulGet(), 0u);
    EXPECT_EQ(c.resolution(), 1000);
}

TEST(Chrono, MeasuresUserTimeInMilliseconds)
{
    g_chrono c;
    long long system_start = user_ms();
    c.Go();
    spend_user_time(60);
    unsigned first = c.Stop();
    long long system_first = user_ms() - system_start;
    EXPECT_GE(first, 59u);
    EXPECT_LE(first, system_first + 1); // the same clock, read a little earlier
    EXPECT_GE(first + 1, system_first);
    EXPECT_EQ(c.CumulGet(), 0u); // Stop changes nothing
    unsigned a = c.StopAndAdd();
    spend_user_time(60);
    unsigned b = c.StopAndAdd();
    EXPECT_GE(a, first);
    EXPECT_GE(b, a + a + 59); // both measures are counted from the same Go
    EXPECT_EQ(c.CumulGet(), b);
    int g = c.Get(); // the same clock as Stop
    unsigned s = c.Stop();
    EXPECT_GE(g, static_cast<int>(b - a));
    EXPECT_LE(static_cast<unsigned>(g), s);
}

TEST(Chrono, ReadingsKeepCountingPastAMonth)
{
    const std::uint64_t per_ms = 10000; // 100-nanosecond intervals
    struct { std::uint64_t ms; unsigned reading; } cases[] = {
        {0, 0u}, {1, 1u}, {999, 999u},
        {31ULL * 86400000, 2678400000u}, {32ULL * 86400000 + 5, 2764800005u}, // no restart after 31 days
        {4294967296ULL + 7, 7u}, // 32-bit readings wrap after 49 days
    };
    for (auto& c : cases) EXPECT_EQ(g_chrono_reading(c.ms * per_ms + 9999), c.reading) << c.ms;
    g_chrono c;
    c.Go();
    unsigned before = c.Stop();
    EXPECT_LT(before, 5u);
}

namespace {

// The date of a day number with the year estimate corrected upward only, as the calendar used to
// work: exact from 1 January of year 2 to 31 December of year 5283.
int upward_only_datecomplete(int n, int* day, int* month, int* year)
{
    int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = static_cast<int>(n / 365.242191);
    int d0 = n - g_nb_jours(1, 1, y);
    int d = d0 + 1;
    if (g_annee_bissextile(y)) {
        lengths[1] = 29;
        if (d > 366) {
            d = d0 - 365;
            ++y;
            lengths[1] = g_annee_bissextile(y) ? 29 : 28;
        }
    } else if (d > 365) {
        d = d0 - 364;
        ++y;
        if (g_annee_bissextile(y)) lengths[1] = 29;
    }
    int m = 1;
    while (d > lengths[m - 1] && m < 12) d -= lengths[m++ - 1];
    *day = d;
    *month = m;
    *year = y;
    return m;
}

} // namespace

TEST(Calendar, SameDatesAsTheUpwardOnlyCorrectionWhereThatWasExact)
{
    int first = g_nb_jours(1, 1, 2), last = g_nb_jours(31, 12, 5283);
    for (int n = first; n <= last; ++n) {
        int d1, m1, y1, d2, m2, y2;
        g_datecomplete(n, &d1, &m1, &y1);
        upward_only_datecomplete(n, &d2, &m2, &y2);
        ASSERT_TRUE(d1 == d2 && m1 == m2 && y1 == y2) << n;
    }
    // past that range the estimate is sometimes a year too high, which only a downward
    // correction mends
    int wrong = 0;
    for (int n = last + 1; n <= last + 400 * 366; ++n) {
        int d1, m1, y1, d2, m2, y2;
        g_datecomplete(n, &d1, &m1, &y1);
        upward_only_datecomplete(n, &d2, &m2, &y2);
        if (d1 != d2 || m1 != m2 || y1 != y2) ++wrong;
    }
    EXPECT_GT(wrong, 0);
}
