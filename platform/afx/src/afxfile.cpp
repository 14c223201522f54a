#include "afx/afxfile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>
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

// How long a writer waits for another process's lock of a folder before it refuses its save: a process
// stopped while it saves (a debugger, Ctrl+Z) holds the lock for as long as it stays stopped. The
// environment variable KX_LOCK_WAIT_MS sets another wait, in milliseconds.
constexpr std::chrono::milliseconds kFolderLockWait{3000};
constexpr std::chrono::milliseconds kFolderLockPoll{20};

std::chrono::milliseconds folderLockWait() {
    const char* text = std::getenv("KX_LOCK_WAIT_MS");
    if (!text || !*text) return kFolderLockWait;
    char* end = nullptr;
    const long ms = std::strtol(text, &end, 10);
    return *end == '\0' && ms >= 0 && ms <= 600000 ? std::chrono::milliseconds(ms) : kFolderLockWait;
}

// The lock every writer of a folder takes while it checks stamps and renames: an exclusive lock of the
// folder itself, so that no file is added beside the library's own. It waits a bounded time for another
// holder; Held() tells whether it got the lock, Refusal() says why not.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : m_folder(folder), m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_fd < 0) return; // a folder that cannot be opened cannot be written either: the renames say so
        const auto wait = folderLockWait();
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
                m_waited = wait;
                ::close(m_fd);
                m_fd = -1;
                m_held = false;
                return;
            }
            std::this_thread::sleep_for(kFolderLockPoll);
        }
    }
    ~FolderLock() {
        if (m_fd >= 0) ::close(m_fd); // closing lets the lock go
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return m_held; }
    std::string Refusal() const {
        char waited[32];
        std::snprintf(waited, sizeof waited, "%.1f", static_cast<double>(m_waited.count()) / 1000.0);
        return m_folder + ": another host is saving in this library (waited " + waited +
               " s for it); nothing was written and the edits are kept: save again once it is done";
    }

private:
    std::string m_folder;
    int m_fd;
    bool m_held = true;
    std::chrono::milliseconds m_waited{0};
};

std::string changedOnDisk(const std::string& path, const AfxFileStamp* stamp) {
    if (stamp && stamp->ExpectsAbsent())
        return path + ": made by another process meanwhile (the name is taken); not written over: save under "
                      "another name";
    // The way on depends on what the writer offers: its caller names it.
    return path + ": changed on disk since this process read it (another process saved it); not written over";
}

// The permissions a file written in place of path takes: those of the file it replaces; a new file's
// are the usual ones, less the process's umask.
constexpr mode_t kNewFileMode = 0644;

// The group of the file a temporary replaces goes to the temporary, so that a library shared through a
// group stays open to the group's members. A group this process cannot give a file (it is not one of its
// groups) refuses the write, naming why, where the file's mode grants that group more than the others.
bool keepGroup(int fd, const std::string& like, const struct stat& old, std::string& error) {
    struct stat now {};
    if (::fstat(fd, &now) == 0 && now.st_gid == old.st_gid) return true;
    if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0) return true;
    const int why = errno;
    const mode_t group = (old.st_mode >> 3) & 07, others = old.st_mode & 07;
    if ((group & ~others) == 0) return true; // the group loses nothing the others do not have
    error = like + ": belongs to group " + std::to_string(old.st_gid) + ", which this user cannot give the file (" +
            std::strerror(why) + "); not written over, so that the group keeps its access";
    return false;
}

// Creates path as a new file for writing, never through a link nor over a file left there: an entry of
// that name (one of this process's own, left by an earlier try) is removed first, and a link or file
// planted between the two steps makes the creation fail. -1 with the reason in error.
int createExclusive(const std::string& path, const std::string& like, std::string& error) {
    ::unlink(path.c_str());
    struct stat st {};
    const bool replaces = ::stat(like.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          replaces ? S_IRUSR | S_IWUSR : kNewFileMode);
    if (fd < 0) {
        error = path + ": cannot be created (" + std::strerror(errno) + ")";
        return -1;
    }
    // The group first: a change of owner clears the set-id bits that the mode then gives back.
    bool kept = !replaces || keepGroup(fd, like, st, error);
    if (kept && replaces && ::fchmod(fd, st.st_mode & 07777) != 0) {
        error = path + ": " + std::strerror(errno);
        kept = false;
    }
    if (!kept) {
        ::close(fd);
        ::unlink(path.c_str());
        return -1;
    }
    return fd;
}

// A file its owner marked read-only (no write permission for anyone), or one this process may not write,
// is not replaced: the rename would pass over its mode. False with the reason, naming the file, in error.
bool writableInPlace(const std::string& path, const struct stat& st, std::string& error) {
    if (!S_ISREG(st.st_mode)) return true;
    const bool marked = (st.st_mode & 0222) == 0;
    if (!marked && (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno != EACCES)) return true;
    char mode[8];
    std::snprintf(mode, sizeof mode, "%03o", static_cast<unsigned>(st.st_mode & 0777));
    error = path + ": is read-only (mode " + mode + "); not written over: make the file writable to save it";
    return false;
}

} // namespace

void AfxFileStamp::Held(const std::string& text) {
    m_state = State::Held;
    m_size = text.size();
    m_hash = textHash(text);
    m_formSize = m_size;
    m_formHash = m_hash;
}

void AfxFileStamp::ReadAs(const std::string& form) {
    if (m_state != State::Held) return;
    m_formSize = form.size();
    m_formHash = textHash(form);
}

void AfxFileStamp::Absent() {
    m_state = State::Absent;
    m_size = 0;
    m_hash = 0;
    m_formSize = 0;
    m_formHash = 0;
}

bool AfxFileStamp::ExpectsAbsent() const {
    return m_state == State::Absent;
}

bool AfxFileStamp::IsHeld() const {
    return m_state == State::Held;
}

bool AfxFileStamp::Holds(const std::string& text) const {
    if (m_state != State::Held) return false;
    if (text.size() != m_size && text.size() != m_formSize) return false;
    const std::uint64_t hash = textHash(text);
    return (text.size() == m_size && hash == m_hash) || (text.size() == m_formSize && hash == m_formHash);
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

namespace {

// Writes path's temporary (a new file of this process's own) and, outside a batch, renames it over path
// under the folder's lock; in a batch the temporary waits for its commit.
bool writeFile(const std::string& path, const std::string& text, std::string& error,
               const std::shared_ptr<AfxFileStamp>& stamp, AfxFileBatch* batch) {
    if (!AfxFileNameFits(path, error)) return false;
    // Refused before anything is written; checked again where the file is put in place.
    if (stamp && !stamp->Matches(path)) {
        error = changedOnDisk(path, stamp.get());
        return false;
    }
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        error = path + ": is a folder";
        return false;
    }
    if (exists && !writableInPlace(path, st, error)) return false;
    AfxRemoveStaleTemporaries(path);
    const std::string tmp = temporaryOf(path, ::getpid());
    const int fd = createExclusive(tmp, path, error);
    if (fd < 0) return false;
    int err = writeAll(fd, text) ? 0 : errno;
    // The data reach the disk before the name does; the descriptor is closed either way.
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (err) {
        error = tmp + ": " + std::strerror(err);
        ::unlink(tmp.c_str());
        return false;
    }
    if (batch) {
        batch->Stage(path, stamp, &text);
        return true;
    }
    const FolderLock lock(folderOf(path));
    if (!lock.Held()) error = lock.Refusal();
    else if (stamp && !stamp->Matches(path)) error = changedOnDisk(path, stamp.get());
    else if (::rename(tmp.c_str(), path.c_str()) != 0) error = path + ": " + std::strerror(errno);
    else {
        if (stamp) stamp->Held(text);
        return true;
    }
    ::unlink(tmp.c_str());
    return false;
}

} // namespace

bool AfxWriteFileSafely(const std::string& path, const std::string& text, std::string& error,
                        const std::shared_ptr<AfxFileStamp>& stamp) {
    return writeFile(path, text, error, stamp, AfxFileBatch::Current());
}

bool AfxWriteFileNow(const std::string& path, const std::string& text, std::string& error) {
    return writeFile(path, text, error, nullptr, nullptr);
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
    int fd = ::open(record.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
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
    if (t_batch == this) t_batch = nullptr;
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
    // A file written from now on goes in place on its own: this batch puts in place what it holds.
    if (t_batch == this) t_batch = nullptr;
    const long self = static_cast<long>(::getpid());
    std::vector<std::string> folders;
    for (const Staged& staged : m_staged)
        if (std::find(folders.begin(), folders.end(), folderOf(staged.path)) == folders.end())
            folders.push_back(folderOf(staged.path));
    // Every folder locked (in one order, the same for every writer) while the files are checked against
    // their stamps and put in place: no other process writes between the check and the renames. A
    // failure before the renames leaves the old files: the destructor removes the temporaries.
    std::vector<std::string> lockOrder = folders;
    std::sort(lockOrder.begin(), lockOrder.end());
    std::vector<std::unique_ptr<FolderLock>> locks;
    for (const std::string& folder : lockOrder) {
        locks.push_back(std::make_unique<FolderLock>(folder));
        if (!locks.back()->Held()) {
            error = locks.back()->Refusal();
            m_lockRefused = true;
            return false;
        }
    }
    for (const Staged& staged : m_staged)
        if (staged.stamp && !staged.stamp->Matches(staged.path)) {
            error = changedOnDisk(staged.path, staged.stamp.get());
            return false;
        }
    if (!WriteRecords(folders, error)) return false;
    m_committed = true;
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
    for (const auto& done : std::exchange(m_whenInPlace, {})) done();
    return true;
}

void AfxFileBatch::WhenInPlace(std::function<void()> done) {
    if (t_batch) t_batch->m_whenInPlace.push_back(std::move(done));
    else done();
}

// The records first, one per folder, each in place (and on disk) before any file is renamed; each is a
// new file of this process's own, with the permissions of the first file it names.
bool AfxFileBatch::WriteRecords(const std::vector<std::string>& folders, std::string& error) const {
    const long self = static_cast<long>(::getpid());
    for (const std::string& folder : folders) {
        std::string text = std::string(kRecordMagic) + "\n", first;
        for (const Staged& staged : m_staged)
            if (folderOf(staged.path) == folder) {
                if (first.empty()) first = staged.path;
                text += baseOf(staged.path) + "\n";
            }
        const std::string record = recordOf(folder, self);
        const std::string part = record + ".part";
        const int fd = createExclusive(part, first, error);
        bool written = fd >= 0 && writeAll(fd, text) && ::fsync(fd) == 0;
        if (fd >= 0 && ::close(fd) != 0) written = false;
        if (!written || ::rename(part.c_str(), record.c_str()) != 0) {
            if (fd >= 0) error = record + ": " + std::strerror(errno);
            ::unlink(part.c_str());
            for (const std::string& done : folders) {
                if (done == folder) break;
                ::unlink(recordOf(done, self).c_str());
            }
            return false;
        }
        syncFolder(folder);
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
