#include "afx/afxfile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
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

// The longest suffix a temporary adds to a file's name: ".tmp" and the digits of any process id.
constexpr std::size_t kTemporarySuffix = 4 + std::numeric_limits<pid_t>::digits10 + 1;
constexpr long kDefaultNameMax = 255;
constexpr long kDefaultPathMax = 4096;

// A limit of the file system that holds path: asked of the nearest folder of it that exists.
long folderLimit(const std::string& path, int name, long fallback) {
    std::string folder = folderOf(path);
    for (int up = 0; up < 64; ++up) {
        errno = 0;
        long limit = ::pathconf(folder.c_str(), name);
        if (limit > 0) return limit;
        if (errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG) break;
        if (folder == "." || folder == "/") break;
        folder = folderOf(folder);
    }
    return fallback;
}

// The process id of a temporary ("NAME.tmp123" or "NAME.tmp.123"), with NAME in base; 0 for any other
// entry.
long anyTemporaryPid(const std::string& entry, std::string& base) {
    const size_t at = entry.rfind(".tmp");
    if (at == std::string::npos || at == 0) return 0;
    base = entry.substr(0, at);
    return temporaryPid(entry, base);
}

std::string temporaryOf(const std::string& path, long pid) {
    return path + ".tmp" + std::to_string(pid);
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

std::uint64_t textHash(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// The lock every writer of a folder takes while it checks stamps and renames: an exclusive lock of the
// folder itself, so that no file is added beside the library's own.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_fd >= 0)
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~FolderLock() {
        if (m_fd >= 0) ::close(m_fd); // closing lets the lock go
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

std::string changedOnDisk(const std::string& path) {
    return path + ": changed on disk since this process read it (another process saved it); not written over: "
                  "save under another name, or open the library again";
}

} // namespace

void AfxFileStamp::Held(const std::string& text) {
    m_state = State::Held;
    m_size = text.size();
    m_hash = textHash(text);
}

void AfxFileStamp::Absent() {
    m_state = State::Absent;
    m_size = 0;
    m_hash = 0;
}

bool AfxFileStamp::Matches(const std::string& path) const {
    if (m_state == State::Unknown) return true;
    std::string text, ignored;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR; // gone: nothing to lose
    if (m_state == State::Absent) return false; // made since by someone else
    if (static_cast<std::size_t>(st.st_size) != m_size) return false;
    if (!AfxReadFile(path, text, ignored)) return false;
    return text.size() == m_size && textHash(text) == m_hash;
}

bool AfxReadFile(const std::string& path, std::string& text, std::string& error, AfxFileStamp* stamp) {
    text.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (stamp && errno == ENOENT) stamp->Absent();
        error = "cannot be read";
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            error = "cannot be read";
            return false;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (stamp) stamp->Held(text);
    return true;
}

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

bool AfxFileNameFits(const std::string& path, std::string& error) {
    const long nameMax = folderLimit(path, _PC_NAME_MAX, kDefaultNameMax);
    const long pathMax = folderLimit(path, _PC_PATH_MAX, kDefaultPathMax);
    if (path.size() + kTemporarySuffix >= static_cast<std::size_t>(pathMax)) {
        error = "name too long: the path has " + std::to_string(path.size()) + " characters, the file system takes " +
                std::to_string(pathMax - 1 - static_cast<long>(kTemporarySuffix));
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const bool last = end == path.size();
        const std::size_t length = end - start + (last ? kTemporarySuffix : 0);
        if (length > static_cast<std::size_t>(nameMax)) {
            const std::string name = path.substr(start, end - start);
            const long room = nameMax - (last ? static_cast<long>(kTemporarySuffix) : 0);
            error = "name too long: \"" + name.substr(0, 40) + "...\" has " + std::to_string(name.size()) +
                    " characters, the file system takes " + std::to_string(room) + (last ? " for this file" : "");
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool AfxWriteFileSafely(const std::string& path, const std::string& text, std::string& error,
                        const std::shared_ptr<AfxFileStamp>& stamp) {
    if (!AfxFileNameFits(path, error)) return false;
    // Refused before anything is written; checked again where the file is put in place.
    if (stamp && !stamp->Matches(path)) {
        error = changedOnDisk(path);
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = path + ": is a folder";
        return false;
    }
    AfxRemoveStaleTemporaries(path);
    const std::string tmp = temporaryOf(path, ::getpid());
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
    if (AfxFileBatch* batch = AfxFileBatch::Current()) {
        batch->Stage(path, stamp, &text);
        return true;
    }
    const FolderLock lock(folderOf(path));
    if (stamp && !stamp->Matches(path)) {
        error = changedOnDisk(path);
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::unlink(tmp.c_str());
        return false;
    }
    if (stamp) stamp->Held(text);
    return true;
}

// ---- files written together

namespace {

thread_local AfxFileBatch* t_batch = nullptr;
AfxFileBatch::RenameObserver g_renameObserver = nullptr;

constexpr const char* kRecordPrefix = ".kxbatch";
constexpr const char* kRecordMagic = "KXBATCH 1";

std::string recordOf(const std::string& folder, long pid) {
    return folder + "/" + kRecordPrefix + std::to_string(pid);
}

// The process id of a batch record's name; 0 for any other entry.
long recordPid(const std::string& entry) {
    const std::string prefix = kRecordPrefix;
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return 0;
    long pid = 0;
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        if (entry[i] < '0' || entry[i] > '9' || i - prefix.size() >= 9) return 0;
        pid = pid * 10 + (entry[i] - '0');
    }
    return pid;
}

// Flushes a folder's entries (the names renamed in it) to disk.
void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The names of a record: the files of its folder that its batch renames, one per line after the first.
std::vector<std::string> readRecord(const std::string& record) {
    std::vector<std::string> names;
    int fd = ::open(record.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return names;
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) break; // a line not ended was never written whole
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kRecordMagic) return {};
            first = false;
        } else if (!line.empty() && line.find('/') == std::string::npos && line != "." && line != "..") {
            names.push_back(line);
        }
    }
    return names;
}

} // namespace

AfxFileBatch::AfxFileBatch() : m_joined(t_batch != nullptr) {
    if (!m_joined) t_batch = this;
}

AfxFileBatch::~AfxFileBatch() {
    if (m_joined) return;
    t_batch = nullptr;
    if (m_committed) return;
    const long self = static_cast<long>(::getpid());
    for (const Staged& staged : m_staged) ::unlink(temporaryOf(staged.path, self).c_str());
}

void AfxFileBatch::SetRenameObserver(RenameObserver observer) {
    g_renameObserver = observer;
}

AfxFileBatch* AfxFileBatch::Current() {
    return t_batch;
}

void AfxFileBatch::Stage(const std::string& path, const std::shared_ptr<AfxFileStamp>& stamp,
                         const std::string* text) {
    std::shared_ptr<AfxFileStamp> written;
    if (stamp && text) {
        written = std::make_shared<AfxFileStamp>();
        written->Held(*text);
    }
    for (Staged& staged : m_staged)
        if (staged.path == path) {
            if (stamp) staged.stamp = stamp, staged.written = written;
            return;
        }
    m_staged.push_back({path, stamp, written});
}

bool AfxFileBatch::Commit(std::string& error) {
    if (m_joined || m_committed) return true;
    m_committed = true;
    const long self = static_cast<long>(::getpid());
    std::vector<std::string> folders;
    for (const Staged& staged : m_staged)
        if (std::find(folders.begin(), folders.end(), folderOf(staged.path)) == folders.end())
            folders.push_back(folderOf(staged.path));
    // Every folder locked (in one order, the same for every writer) while the files are checked against
    // their stamps and put in place: no other process writes between the check and the renames.
    std::vector<std::string> lockOrder = folders;
    std::sort(lockOrder.begin(), lockOrder.end());
    std::vector<std::unique_ptr<FolderLock>> locks;
    for (const std::string& folder : lockOrder) locks.push_back(std::make_unique<FolderLock>(folder));
    for (const Staged& staged : m_staged)
        if (staged.stamp && !staged.stamp->Matches(staged.path)) {
            error = changedOnDisk(staged.path);
            m_committed = false; // the destructor removes the temporaries: the old files stay
            return false;
        }
    // The records first, one per folder, each in place (and on disk) before any file is renamed.
    for (const std::string& folder : folders) {
        std::string text = std::string(kRecordMagic) + "\n";
        for (const Staged& staged : m_staged)
            if (folderOf(staged.path) == folder) text += baseOf(staged.path) + "\n";
        const std::string record = recordOf(folder, self);
        const std::string part = record + ".part";
        int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool written = fd >= 0 && writeAll(fd, text) && ::fsync(fd) == 0;
        if (fd >= 0 && ::close(fd) != 0) written = false;
        if (!written || ::rename(part.c_str(), record.c_str()) != 0) {
            error = record + ": " + std::strerror(errno);
            ::unlink(part.c_str());
            for (const std::string& done : folders) {
                if (done == folder) break;
                ::unlink(recordOf(done, self).c_str());
            }
            m_committed = false; // the destructor removes the temporaries: the old files stay
            return false;
        }
        syncFolder(folder);
    }
    bool ok = true;
    for (const Staged& staged : m_staged) {
        if (::rename(temporaryOf(staged.path, self).c_str(), staged.path.c_str()) != 0) {
            if (ok) error = staged.path + ": " + std::strerror(errno);
            ok = false;
            continue;
        }
        if (staged.stamp && staged.written) *staged.stamp = *staged.written;
        if (g_renameObserver) g_renameObserver(staged.path);
    }
    if (!ok) return false; // the records stay: the next open of the folder finishes the renames
    for (const std::string& folder : folders) {
        syncFolder(folder);
        ::unlink(recordOf(folder, self).c_str());
    }
    return true;
}

std::vector<std::string> AfxRecoverFolder(const std::string& folder) {
    std::vector<std::string> done;
    const long self = static_cast<long>(::getpid());
    auto gone = [self](long pid) { return pid > 0 && (pid == self || !processRuns(pid)); };
    std::vector<std::string> entries;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) entries.emplace_back(e->d_name);
        ::closedir(dir);
    }
    // Batches that were putting their files in place: the renames are finished.
    for (const std::string& entry : entries) {
        const long pid = recordPid(entry);
        if (!gone(pid)) continue;
        for (const std::string& name : readRecord(folder + "/" + entry)) {
            const std::string path = folder + "/" + name;
            if (::rename(temporaryOf(path, pid).c_str(), path.c_str()) == 0) done.push_back("finished " + path);
        }
        syncFolder(folder);
        ::unlink((folder + "/" + entry).c_str());
        done.push_back("removed " + folder + "/" + entry);
    }
    // What a killed save left before its batch was recorded (or outside a batch): the old files stand. Only
    // the temporaries of a library's own files go (a design, part, library, notes or filter file): a file of
    // the user's that happens to be named alike stays.
    auto ownFile = [](const std::string& base) {
        for (const char* kind : {".design", ".part", ".rmx", ".notes", ".dat"}) {
            const std::string ending = kind;
            if (base.size() > ending.size() && base.compare(base.size() - ending.size(), ending.size(), ending) == 0)
                return true;
        }
        return false;
    };
    for (const std::string& entry : entries) {
        std::string base;
        long pid = anyTemporaryPid(entry, base);
        if (pid != 0 && !ownFile(base)) continue;
        if (pid == 0 && entry.size() > 5 && entry.compare(entry.size() - 5, 5, ".part") == 0)
            pid = recordPid(entry.substr(0, entry.size() - 5));
        if (!gone(pid)) continue;
        if (::unlink((folder + "/" + entry).c_str()) == 0) done.push_back("removed " + folder + "/" + entry);
    }
    return done;
}
