#include "utils/g_time.h"

#include "platform/sleep.h"

void g_usleep(int microseconds) {
  if (microseconds < 0) return;
  Sleep(static_cast<unsigned long>(microseconds / 1000 + 1));
}
