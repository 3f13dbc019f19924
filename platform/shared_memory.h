// Named blocks of memory shared between processes, asked for the way the simulator link expects
// them of the system: one creator sets a block up and publishes it, others open it while the
// creator lives.
#ifndef NELVOR_PLATFORM_SHARED_MEMORY_H
#define NELVOR_PLATFORM_SHARED_MEMORY_H

#include <string>

// One open named block (a POSIX shared-memory object and its descriptor).
struct file_mapping;

// The POSIX shared-memory name of a block name: "/" then the name with every '/' and '\' turned
// into '_' ("Global/IOshare" is "/Global_IOshare").
std::string shared_memory_name(const std::string& name);

// Creates a new zero-filled block of size bytes under name, replacing a block of that name that
// its creator left behind. The block counts as being set up, and cannot be opened, until it is
// published. Null on failure (GetLastError tells why).
file_mapping* CreateFileMappingA(unsigned long size, const std::string& name);

// Marks a block made by CreateFileMappingA as set up. False on failure.
bool PublishFileMapping(file_mapping* mapping);

// Opens the published block of that name whose creator still holds it open. Null when there is
// none (ENOENT, also when the creator has ended without closing it), when it is still being set
// up (EAGAIN) or on another failure (GetLastError tells why).
file_mapping* OpenFileMappingA(const std::string& name);

// Maps the first size bytes of the block for reading and writing. Null when the block is smaller
// (EINVAL) or on another failure.
void* MapViewOfFile(file_mapping* mapping, unsigned long size);

// Unmaps a view of size bytes returned by MapViewOfFile.
bool UnmapViewOfFile(void* view, unsigned long size);

// Closes the block; the creator's close also removes the name, so that nobody opens it again.
// Views stay mapped. Null is ignored.
bool CloseHandle(file_mapping* mapping);

// The descriptor of the block (-1 for null).
int file_mapping_descriptor(const file_mapping* mapping);

// The error number of the last failing call of this layer in this thread (an errno value).
unsigned long GetLastError();

#endif
