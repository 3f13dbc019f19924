// Named shared blocks over shm_open, ftruncate and mmap. Whether a block is being set up, set up
// or left behind is told by an open-file-description lock on its first byte, which the creator
// holds for writing while it sets the block up and for reading afterwards; the kernel drops it
// when the creator ends, however it ends.
#include "platform/shared_memory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct file_mapping {
    int descriptor;   // of the shared-memory object
    bool creator;     // made by CreateFileMappingA: its close removes the name
    std::string name; // the POSIX name
};

namespace {

thread_local unsigned long last_error = 0; // errno of the last failure

// Records errno as the last error and returns null.
file_mapping* failure()
{
    last_error = static_cast<unsigned long>(errno);
    return nullptr;
}

// Sets the creator's lock: F_WRLCK while setting up, F_RDLCK once published. Openers only ask
// about it, so nothing can hold a conflicting lock.
bool creator_lock(int descriptor, short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return fcntl(descriptor, F_OFD_SETLK, &lock) == 0;
}

// The creator's lock on the block: F_UNLCK when no creator holds it, else F_WRLCK or F_RDLCK;
// -1 on failure.
int creator_state(int descriptor)
{
    struct flock lock = {};
    lock.l_type = F_WRLCK; // conflicts with either lock of the creator
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    if (fcntl(descriptor, F_OFD_GETLK, &lock) != 0) return -1;
    return lock.l_type;
}

void close_keeping_errno(int descriptor)
{
    int e = errno;
    close(descriptor);
    errno = e;
}

} // namespace

std::string shared_memory_name(const std::string& name)
{
    std::string posix = "/" + name;
    for (std::string::size_type i = 1; i < posix.size(); ++i)
        if (posix[i] == '/' || posix[i] == '\\') posix[i] = '_';
    return posix;
}

file_mapping* CreateFileMappingA(unsigned long size, const std::string& name)
{
    std::string posix = shared_memory_name(name);
    shm_unlink(posix.c_str()); // a block left behind gives way to the new one
    int d = shm_open(posix.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (d < 0) return failure();
    if (!creator_lock(d, F_WRLCK) || ftruncate(d, static_cast<off_t>(size)) != 0) {
        close_keeping_errno(d);
        shm_unlink(posix.c_str());
        return failure();
    }
    return new file_mapping{d, true, posix};
}

bool PublishFileMapping(file_mapping* mapping)
{
    if (mapping == nullptr || !mapping->creator) {
        last_error = EINVAL;
        return false;
    }
    if (!creator_lock(mapping->descriptor, F_RDLCK)) { // an atomic conversion of the lock
        failure();
        return false;
    }
    return true;
}

file_mapping* OpenFileMappingA(const std::string& name)
{
    std::string posix = shared_memory_name(name);
    int d = shm_open(posix.c_str(), O_RDWR, 0);
    if (d < 0) return failure();
    int state = creator_state(d);
    if (state != F_RDLCK) {
        if (state == F_UNLCK) errno = ENOENT; // left behind by a creator that has ended
        else if (state == F_WRLCK) errno = EAGAIN;
        close_keeping_errno(d);
        return failure();
    }
    return new file_mapping{d, false, posix};
}

void* MapViewOfFile(file_mapping* mapping, unsigned long size)
{
    if (mapping == nullptr) {
        last_error = EINVAL;
        return nullptr;
    }
    struct stat s;
    if (fstat(mapping->descriptor, &s) != 0) return failure();
    if (s.st_size < 0 || static_cast<unsigned long>(s.st_size) < size) {
        last_error = EINVAL; // a view beyond the end would fault when touched
        return nullptr;
    }
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, mapping->descriptor, 0);
    if (view == MAP_FAILED) return failure();
    return view;
}

bool UnmapViewOfFile(void* view, unsigned long size)
{
    if (munmap(view, size) != 0) {
        failure();
        return false;
    }
    return true;
}

bool CloseHandle(file_mapping* mapping)
{
    if (mapping == nullptr) return true;
    if (mapping->creator) {
        // remove the name only while it still names this block, not a newer creator's
        struct stat mine, named;
        int d = shm_open(mapping->name.c_str(), O_RDONLY, 0);
        if (d >= 0) {
            if (fstat(mapping->descriptor, &mine) == 0 && fstat(d, &named) == 0 &&
                mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
                shm_unlink(mapping->name.c_str());
            close(d);
        }
    }
    bool closed = close(mapping->descriptor) == 0;
    if (!closed) failure();
    delete mapping;
    return closed;
}

int file_mapping_descriptor(const file_mapping* mapping)
{
    return mapping != nullptr ? mapping->descriptor : -1;
}

unsigned long GetLastError()
{
    return last_error;
}
