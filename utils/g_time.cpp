// Calendar arithmetic, the French names, the current date, the time of day, the sleep and the
// chronometer.
#include "utils/g_time.h"

#include <climits>

#include "platform/sleep.h"

const std::string internal_g_time_jour[7] = {"Lundi", "Mardi", "Mercredi", "Jeudi",
                                             "Vendredi", "Samedi", "Dimanche"};
const std::string internal_g_time_mois[12] = {"Janvier", "Fevrier", "Mars", "Avril",
                                              "Mai", "Juin", "Juillet", "Aout",
                                              "Septembre", "Octobre", "Novembre", "Decembre"};

namespace {

// Division and remainder rounded toward minus infinity, for day numbers and years below 1.
long long floor_div(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long long floor_mod(long long a, long long b)
{
    return a - floor_div(a, b) * b;
}

// The day number of 1 January of any year, in 64 bits so that the neighbours of the last day
// numbers can be compared: 365 days a year and one for each leap year from year 0 on. For
// years above 0 this is g_nb_jours(1, 1, year).
long long first_of_year(long long year)
{
    long long leap_years_before = floor_div(year + 3, 4) - floor_div(year + 99, 100) + floor_div(year + 399, 400);
    return 365 * year + leap_years_before - 2;
}

} // namespace

int g_annee_bissextile(int year)
{
    return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 1 : 0;
}

int g_nb_jours_annee_courante(int day, int month, int year)
{
    // the days before the month as if February had 30 days
    int base = month > 7 ? 31 * month - ((month - 8) >> 1) - 34 : 31 * month - ((month - 1) >> 1) - 31;
    if (month < 3) return base + day - 1;
    return base + day - 3 + g_annee_bissextile(year);
}

int g_nb_jours(int day, int month, int year)
{
    if (month < 1 || month > 12 || year <= 0 || day < 1 || day > 31) return -1;
    long long n = first_of_year(year) + g_nb_jours_annee_courante(day, month, year);
    return n <= INT_MAX ? static_cast<int>(n) : -1;
}

int g_datecomplete(int number, int* day, int* month, int* year)
{
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // the estimate can be a year off either way: correct it both ways
    long long y = static_cast<long long>(number / 365.242191);
    while (first_of_year(y) > number) --y;
    while (first_of_year(y + 1) <= number) ++y;
    int d = static_cast<int>(number - first_of_year(y)) + 1;
    int m = 1;
    while (m < 12) {
        int length = lengths[m - 1] + (m == 2 ? g_annee_bissextile(static_cast<int>(y)) : 0);
        if (d <= length) break;
        d -= length;
        ++m;
    }
    *day = d;
    *month = m;
    *year = static_cast<int>(y);
    return m;
}

int g_numero_semaine(int number)
{
    int day, month, year;
    g_datecomplete(number, &day, &month, &year);
    long long first = first_of_year(year);
    long long weekday = floor_mod(first, 7); // of 1 January
    long long days = number - first;
    if (weekday == 0) return static_cast<int>((days + 7) / 7);
    return static_cast<int>((days + weekday) / 7 + (weekday <= 3 ? 1 : 0));
}

void g_date_aujourdhui(int* second, int* minute, int* hour, int* day, int* month, int* year)
{
    timeval now;
    g_gettimeofday(&now, nullptr);
    long long t = static_cast<long long>(now.tv_sec) - 82800; // one hour ahead, one day back
    g_datecomplete(static_cast<int>(floor_div(t, 86400) + 719527), day, month, year);
    int s = static_cast<int>(floor_mod(t, 86400));
    *second = s % 60;
    *minute = (s / 60) % 60;
    *hour = s / 3600;
}

std::string g_time_jour(int i)
{
    return i >= 0 && i < 7 ? internal_g_time_jour[i] : std::string();
}

std::string g_time_mois(int i)
{
    return i >= 0 && i < 12 ? internal_g_time_mois[i] : std::string();
}

int g_gettimeofday(timeval* time, struct timezone*)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::uint64_t f = filetime_count(now);
    time->tv_usec = static_cast<suseconds_t>((f / 10) % 1000000);
    time->tv_sec = static_cast<time_t>((f - 116444736000000000ULL) / 10000000);
    return 0;
}

void g_usleep(int microseconds)
{
    if (microseconds < 0) return;
    Sleep(static_cast<unsigned long>(microseconds / 1000 + 1));
}

// ---- g_chrono ----

unsigned g_chrono_reading(std::uint64_t count)
{
    return static_cast<std::uint32_t>(count / 10000);
}

g_chrono::g_chrono() : start(0), cumul(0) {}

unsigned g_chrono::reading(process_handle p)
{
    FILETIME kernel, user;
    GetProcessTimes(p, &kernel, &user); // both 0 for an unknown handle
    return g_chrono_reading(filetime_count(user));
}

void g_chrono::Go()
{
    process = GetCurrentProcess();
    start = reading(process);
}

unsigned g_chrono::Stop()
{
    return reading(process) - start;
}

unsigned g_chrono::StopAndAdd()
{
    cumul += reading(process) - start;
    return cumul;
}

int g_chrono::Get()
{
    return static_cast<int>(reading(GetCurrentProcess()) - start);
}

unsigned g_chrono::CumulGet()
{
    return cumul;
}

int g_chrono::resolution()
{
    return 1000;
}
