// Calendar arithmetic on absolute day numbers with French names, the current date at UTC + 1,
// the time of day, the polling loops' sleep and the chronometer of the process's user time.
#ifndef NELVOR_G_TIME_H
#define NELVOR_G_TIME_H

#include <string>

// The C library already has gettimeofday and usleep with other parameter types, so this
// system's own versions carry a g_ prefix: a call can never reach the library's by accident.

// Sleeps microseconds / 1000 + 1 milliseconds (integer division); a negative count does not
// sleep.
void g_usleep(int microseconds);

#endif
