// The current directory, asked for the way the path functions expect it.
#ifndef NELVOR_PLATFORM_DIRECTORY_H
#define NELVOR_PLATFORM_DIRECTORY_H

// Writes the current directory and a NUL into buffer when it fits in size bytes and returns its
// length without the NUL; when it does not fit, writes nothing and returns the size it needs
// (NUL included); returns 0 when the directory cannot be read.
unsigned long GetCurrentDirectoryA(unsigned long size, char* buffer);

#endif
