#include "afx/afxfile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process id a temporary of `base` names ("base.tmp123" or "base.tmp.123"); 0 when the
// entry is no such temporary.
long temporaryPid(const std::string& entry, const std::string& base) {
    const std::string prefix = base + ".tmp";
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return 0;
    size_t i = prefix.size();
    if (entry[i] == '.') ++i;
    if (i >= entry.size() || entry.size() - i > 9) return 0;
    long pid = 0;
    for (; i < entry.size(); ++i) {
        if (entry[i] < '0' || entry[i] > '9') return 0;
        pid = pid * 10 + (entry[i] - '0');
    }
    return pid;
}

bool processRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

bool writeAll(int fd, const std::string& text) {
    size_t off = 0;
    while (off < text.size()) {
        ssize_t n = ::write(fd, text.data() + off, text.size() - off);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        off += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void AfxRemoveStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path), base = baseOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const long self = static_cast<long>(::getpid());
    while (dirent* e = ::readdir(dir)) {
        long pid = temporaryPid(e->d_name, base);
        if (pid > 0 && (pid == self || !processRuns(pid))) ::unlink((folder + "/" + e->d_name).c_str());
    }
    ::closedir(dir);
}

bool AfxWriteFileSafely(const std::string& path, const std::string& text, std::string& error) {
    AfxRemoveStaleTemporaries(path);
    const std::string tmp = path + ".tmp" + std::to_string(static_cast<long>(::getpid()));
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = tmp + ": " + std::strerror(errno);
        return false;
    }
    int err = writeAll(fd, text) ? 0 : errno;
    // The data reach the disk before the name does; the descriptor is closed either way.
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (err) {
        error = tmp + ": " + std::strerror(err);
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}
