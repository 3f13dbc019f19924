// Calendar arithmetic on absolute day numbers with French names, the current date at UTC + 1,
// the time of day, the polling loops' sleep and the chronometer of the process's user time.
#ifndef NELVOR_G_TIME_H
#define NELVOR_G_TIME_H

#include <cstdint>
#include <string>
#include <sys/time.h>

#include "platform/times.h"

// ---- calendar (Gregorian; 1 January 1970 is day 719526; day number mod 7: 0 = Monday) ----
extern const std::string internal_g_time_jour[7];  // "Lundi" ... "Dimanche"
extern const std::string internal_g_time_mois[12]; // "Janvier" ... "Decembre", without accents

int g_annee_bissextile(int year);                        // 1 for a leap year, else 0
int g_nb_jours_annee_courante(int day, int month, int year); // 0-based day of the year, no check
// The day number of the date; -1 unless 1 <= month <= 12, year > 0 and 1 <= day <= 31 (a day
// past the month's end counts into the next month), and -1 for a date past the last day number.
int g_nb_jours(int day, int month, int year);
// Fills the date of any day number (years before 1 are counted 0, -1, ...) and returns the month.
int g_datecomplete(int number, int* day, int* month, int* year);
// The week of the day in its year: weeks start on Monday; the week of 1 January is 1 when that
// day is a Monday to Thursday, else the days before the first Monday are week 0.
int g_numero_semaine(int number);
// The current time and date at UTC + 1 hour, without daylight saving.
void g_date_aujourdhui(int* second, int* minute, int* hour, int* day, int* month, int* year);
std::string g_time_jour(int i); // 0 = "Lundi"; "" outside 0-6
std::string g_time_mois(int i); // 0 = "Janvier"; "" outside 0-11

// ---- time of day and sleep ----
// The C library already has gettimeofday and usleep with other parameter types, so this
// system's own versions carry a g_ prefix: a call can never reach the library's by accident.

// Fills the seconds and microseconds since 1 January 1970 UTC; the zone is ignored. Returns 0.
int g_gettimeofday(timeval* time, struct timezone* zone);

// Sleeps microseconds / 1000 + 1 milliseconds (integer division); a negative count does not
// sleep.
void g_usleep(int microseconds);

// ---- chronometer of the process's user processor time, in milliseconds ----

// The chronometer reading of a user time of count 100-nanosecond intervals: its milliseconds,
// modulo 2^32 (so differences of readings less than 49 days apart are exact).
unsigned g_chrono_reading(std::uint64_t count);

class g_chrono {
public:
    g_chrono();
    void Go();             // takes the current process and starts the measure
    unsigned Stop();       // the milliseconds since Go; changes nothing
    unsigned StopAndAdd(); // adds the milliseconds since Go to the cumulated time and returns it
    int Get();             // the milliseconds since Go, read whatever the process handle
    unsigned CumulGet();   // the cumulated time
    int resolution();      // 1000: readings are milliseconds

private:
    unsigned reading(process_handle p); // the user time of p in milliseconds, 0 when unknown
    process_handle process = nullptr;   // set by Go
    std::uint32_t start;                // reading at Go, in milliseconds
    std::uint32_t cumul;                // sum of the StopAndAdd measures, in milliseconds
};

#endif
