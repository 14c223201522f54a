// Writing a file so that a crash or a full disk leaves either the old or the new file, never half
// of one: the text goes to "<file>.tmp<pid>" in the same folder, is flushed to disk, and the
// temporary is renamed over the file. Several files written together (a design and its notes) go
// in place as one: see AfxFileBatch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a file held when this process last read or wrote it. A writer that gives a file's stamp to
// AfxWriteFileSafely never writes over what another process saved there since: several processes on
// one library each keep their own work, and none replaces another's without a word.
class AfxFileStamp {
public:
    // The file held text; there was no file.
    void Held(const std::string& text);
    void Absent();
    // What the file held, read back, is what its reader's writer writes as form: a file written by another
    // hand (other line ends, a blank line, records in another order) says the same as form. Call after
    // Held, with the text the reader would write for what it read.
    void ReadAs(const std::string& form);
    // Whether the file must not exist where it is written (a new file: one another process made since is
    // not written over).
    bool ExpectsAbsent() const;
    // Whether the stamp was taken of a file's text (read or written by this process).
    bool IsHeld() const;
    // Whether the file held this text when the stamp was taken, byte for byte or as what it was read
    // as (ReadAs): writing it would change nothing of what the file says.
    bool Holds(const std::string& text) const;
    // Whether the file at path holds what the stamp says: the same text, or still no file. A file that
    // is gone matches (writing it again replaces nobody's work), and so does any file for a stamp that
    // was never set.
    bool Matches(const std::string& path) const;

private:
    enum class State { Unknown, Absent, Held } m_state = State::Unknown;
    std::size_t m_size = 0;
    std::uint64_t m_hash = 0;
    // The writer's form of what the file was read as (the same as the text when this process wrote it).
    std::size_t m_formSize = 0;
    std::uint64_t m_formHash = 0;
};

// Reads a whole file. False with the reason in error when it cannot be read; the stamp (when given)
// takes what the file held, or that there was none.
bool AfxReadFile(const std::string& path, std::string& text, std::string& error, AfxFileStamp* stamp = nullptr);

// Writes text to path as above. False with the reason in error; the old file is then untouched
// and the temporary removed. Temporaries of the same file left by processes that no longer run
// (a killed save) are removed first. A path whose names the file system cannot take (see
// AfxFileNameFits), or that names a folder, is refused before anything is made. While an
// AfxFileBatch is open, the temporary waits for the batch's Commit.
// With a stamp, a file that no longer matches it (another process saved it since this one read it) is
// not written over: false, and error says so. The check and the rename are made under a lock of the
// folder that every writer takes, so two processes cannot both pass it; once the file is in place the
// stamp holds the new text. A stamp that says the file was absent refuses a file another process made
// since (two saves under one new name: the first keeps it). The lock is waited for a few seconds at most
// (KX_LOCK_WAIT_MS in the environment sets another wait): a process stopped while it holds it makes the
// write fail with a message that another host is saving, and nothing is written.
// The temporary is always a new file (created exclusively, never through a link: an entry of that name
// left by this process is removed first, one planted meanwhile fails the write), with the permissions
// and the group of the file it replaces (a group this process cannot give is refused where the mode grants
// it more than others). A file with no write permission for anyone, or one this process may not write, is
// not replaced: false, and error names the file.
bool AfxWriteFileSafely(const std::string& path, const std::string& text, std::string& error,
                        const std::shared_ptr<AfxFileStamp>& stamp = nullptr);

// The same, put in place at once even while a batch is open: a file that is no part of what the batch
// saves (the user's settings, written whole whenever one changes).
bool AfxWriteFileNow(const std::string& path, const std::string& text, std::string& error);

// Whether the file system can take a file at path as AfxWriteFileSafely writes it: each name of the path
// (the file's with the longest temporary suffix) within the name limit of the folder it is in, and the
// whole path within the path limit. False with the reason in error ("name too long: ...").
bool AfxFileNameFits(const std::string& path, std::string& error);

// Removes "<path>.tmp<pid>" (and "<path>.tmp.<pid>") files whose process no longer runs.
void AfxRemoveStaleTemporaries(const std::string& path);

// Files written together. While a batch is open, AfxWriteFileSafely writes and flushes each file's
// temporary only; Commit() then puts every one in place: it first writes, in each folder concerned, a
// record of the names it is about to rename (".kxbatch<pid>"), then renames, then removes the record. A
// process killed between the first rename and the last leaves the record, and the next AfxRecoverFolder
// finishes the renames, so that either every old file or every new one is there. A batch closed without
// Commit removes its temporaries: the old files stay. A batch opened while another is open joins it.
class AfxFileBatch {
public:
    AfxFileBatch();
    ~AfxFileBatch();
    AfxFileBatch(const AfxFileBatch&) = delete;
    AfxFileBatch& operator=(const AfxFileBatch&) = delete;

    // Puts the written files in place; false with the reason in error (the files not yet renamed then
    // wait in their temporaries for the next AfxRecoverFolder). Nothing to do in a joined batch. When a
    // stamped file no longer matches its stamp, or the folder's lock is not had in time, or the record
    // cannot be created new, nothing is put in place (false, the old files stay). Once committed the batch
    // takes no more files: a file written after is put in place on its own.
    bool Commit(std::string& error);
    // Whether the last Commit was refused because another process held a folder's lock (another host
    // saving in the library) rather than for anything of the files themselves.
    bool LockRefused() const { return m_lockRefused; }
    // The batch that AfxWriteFileSafely writes into now (the outermost open one not committed), or nullptr.
    static AfxFileBatch* Current();
    // A file written into the batch (its temporary is there); with a stamp, the file must still match it
    // when the batch commits, and the stamp then takes text.
    void Stage(const std::string& path, const std::shared_ptr<AfxFileStamp>& stamp = nullptr,
               const std::string* text = nullptr);
    // What a writer marks once its file is in place (a design no longer modified, comments saved): at once
    // when no batch is open, else when the open batch has put every file in place; never when its commit
    // fails, so that the work of a save refused stays unsaved in memory.
    static void WhenInPlace(std::function<void()> done);
    // Called after each file of a commit is put in place, with its path (a test stops the process there
    // to see what the next open makes of a save cut short); nullptr for none.
    using RenameObserver = void (*)(const std::string& path);
    static void SetRenameObserver(RenameObserver observer);

private:
    bool WriteRecords(const std::vector<std::string>& folders, std::string& error) const;

    bool m_joined;
    bool m_committed = false;
    bool m_lockRefused = false;
    struct Staged {
        std::string path;
        std::shared_ptr<AfxFileStamp> stamp;
        std::shared_ptr<AfxFileStamp> written; // what the stamp takes once the file is in place
    };
    std::vector<Staged> m_staged; // in the order written, each once
    std::vector<std::function<void()>> m_whenInPlace;
};

// What the open of a folder does first: finishes the batches whose process died while putting their
// files in place, then removes the temporaries and records that processes no longer running left
// behind. Returns one line per file finished or removed ("finished FILE", "removed FILE").
std::vector<std::string> AfxRecoverFolder(const std::string& folder);
