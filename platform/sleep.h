// Sleeping for a number of milliseconds, the way the time utilities expect it of the system.
#ifndef NELVOR_PLATFORM_SLEEP_H
#define NELVOR_PLATFORM_SLEEP_H

// Sleeps at least milliseconds ms (nanosleep, resumed after a signal).
void Sleep(unsigned long milliseconds);

#endif
