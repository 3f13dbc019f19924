// Files written whole or not at all, removed only when still the ones written, and programs run
// without a shell: the viewer's exports.
#include "forms/formspp_files.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The files this process wrote, by name: their device and inode once in place.
std::map<std::string, std::pair<dev_t, ino_t>>& written_files()
{
    static std::map<std::string, std::pair<dev_t, ino_t>> files;
    return files;
}

std::string reason(int error)
{
    return std::strerror(error);
}

bool write_all(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    std::string::size_type left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<std::string::size_type>(n);
    }
    return true;
}

} // namespace

std::string write_whole_file(const std::string& name, const std::string& bytes)
{
    std::string temporary = name + ".XXXXXX";
    int fd = mkstemp(&temporary[0]); // created afresh: never through a link
    if (fd < 0) return reason(errno);
    mode_t mask = umask(0);
    umask(mask);
    struct stat st;
    int error = 0;
    if (fchmod(fd, 0666 & ~mask) != 0 || !write_all(fd, bytes) || fsync(fd) != 0 || fstat(fd, &st) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temporary.c_str(), name.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return reason(error);
    }
    written_files()[name] = {st.st_dev, st.st_ino};
    return "";
}

bool remove_written_file(const std::string& name)
{
    auto f = written_files().find(name);
    if (f == written_files().end()) return false;
    struct stat st;
    bool same = lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == f->second.first &&
                st.st_ino == f->second.second;
    written_files().erase(f);
    return same && unlink(name.c_str()) == 0;
}

std::string run_program(const std::string& program, const std::string& argument)
{
    std::string p = program, a = argument; // the argument vector wants modifiable strings
    char* argv[] = {&p[0], &a[0], nullptr};
    pid_t pid;
    int error = posix_spawnp(&pid, p.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0) return reason(error);
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return "";
}
