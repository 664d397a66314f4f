#include "native/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace native {

namespace {

// Pictures larger than this are refused before decoding.
constexpr size_t kMaxPictureBytes = 256u << 20;

std::string Reason(int error) { return std::strerror(error); }

bool WriteAll(int fd, const std::string& bytes, std::string* reason) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            *reason = Reason(n < 0 ? errno : EIO);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, std::string* bytes, std::string* reason) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *reason = Reason(errno);
            return false;
        }
        if (n == 0) return true;
        if (bytes->size() + static_cast<size_t>(n) > kMaxPictureBytes) {
            *reason = "larger than 256 MiB";
            return false;
        }
        bytes->append(buffer, static_cast<size_t>(n));
    }
}

// The temporary file an interrupt removes: a fixed buffer, as a signal
// handler may touch nothing else.
char pendingName[4096];
std::atomic<bool> pending{false};

void RemovePending(int signal) {
    if (pending.load()) unlink(pendingName);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

bool ReadInput(const std::string& name, std::string* bytes, std::string* reason) {
    if (name == "-") {
        if (isatty(STDIN_FILENO)) {
            *reason = "a terminal; pipe or redirect a picture into qizi";
            return false;
        }
        return ReadAll(STDIN_FILENO, bytes, reason);
    }
    int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *reason = Reason(errno);
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        *reason = Reason(EISDIR);
        return false;
    }
    bool read = ReadAll(fd, bytes, reason);
    close(fd);
    return read;
}

bool WriteOutput(const std::string& name, const std::string& bytes, std::string* reason) {
    if (name.empty() || name == "-") return WriteAll(STDOUT_FILENO, bytes, reason);
    struct stat info;
    if (stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // A device, pipe or socket is written as it is, never replaced.
        int fd = open(name.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            *reason = Reason(errno);
            return false;
        }
        bool written = WriteAll(fd, bytes, reason);
        close(fd);
        return written;
    }
    std::string temporary;
    int fd = -1;
    std::random_device random;
    signal(SIGINT, RemovePending);
    signal(SIGTERM, RemovePending);
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".qizi-%08x", static_cast<unsigned>(random()));
        temporary = name + suffix;
        if (temporary.size() >= sizeof pendingName) {
            *reason = Reason(ENAMETOOLONG);
            return false;
        }
        std::memcpy(pendingName, temporary.c_str(), temporary.size() + 1);
        pending = true;
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) pending = false;
        if (fd < 0 && errno != EEXIST) {
            *reason = Reason(errno);
            return false;
        }
    }
    if (fd < 0) {
        *reason = "no free name for a temporary file beside it";
        return false;
    }
    bool written = WriteAll(fd, bytes, reason);
    if (written && fsync(fd) != 0) written = false, *reason = Reason(errno);
    if (close(fd) != 0 && written) written = false, *reason = Reason(errno);
    if (written && rename(temporary.c_str(), name.c_str()) != 0) written = false, *reason = Reason(errno);
    if (!written) unlink(temporary.c_str());
    pending = false;
    return written;
}

}  // namespace native
