#pragma once
// Whole-file operations on the database: compaction into a fresh copy, putting that copy in
// place of the original, and a consistent backup while the program holds the file open.
// Every step verifies what it wrote; a failure throws Error (Turkish, naming the file and the
// reason) and never leaves the original database worse than it was.

#include <QString>
#include <memory>

namespace records {

// Checks that `path` is a sound database: integrity check passes and table `veriler` has its
// fields. Returns the record count; throws Error otherwise.
qint64 verifyDatabase(const QString &path);
// The same for a file offered as a backup: the refusal says in Turkish what is wrong with the
// file, the database layer's own text under its details.
qint64 verifyBackupFile(const QString &path);
// A Turkish sentence for a database layer's refusal to open a file (empty when the message is
// none of those it knows, e.g. already Turkish).
QString openRefusalInTurkish(const QString &message);

class Store;

// One compaction run. The file is shared with other processes, so the run holds `source`
// against every writer from the moment the copy is taken until the copy has replaced it:
// another process's save meanwhile waits for its busy timeout and then fails with the store's
// error instead of going into a file about to be replaced. (One that waits until the copy is
// in place fails too: its connection still has the old, replaced file.)
class Compaction {
public:
    // Takes the hold, then writes a compacted copy to `target` and verifies it against the
    // source: sound, same schema, same record count. `target` must not exist yet: a leftover
    // of an earlier run is refused and kept, a symbolic link is refused and never followed.
    // The copy is created readable by its owner only; a copy this run could not finish (a
    // full disk, a failed check) is removed again.
    Compaction(const QString &source, const QString &target, int busyTimeoutMs = 5000);
    // Gives up a run that did not replace the source: releases the hold, removes the copy.
    ~Compaction();
    Compaction(const Compaction &) = delete;
    Compaction &operator=(const Compaction &) = delete;

    // Puts the copy in the place of the source (its permissions taken over, one atomic rename,
    // the folder flushed) and releases the hold. On failure the source is untouched and the
    // copy is kept for inspection.
    void replace();
    // Ends the run without replacing: releases the hold and keeps the verified copy.
    void release();

private:
    QString source_, target_;
    std::unique_ptr<Store> hold_;  // an open write transaction on the source
    bool ownsCopy_ = false;         // the copy is this run's and goes when the run is given up
};

// Writes and verifies a compacted copy as Compaction does and keeps it, the source unchanged.
void compactDatabase(const QString &source, const QString &target);

// Puts the verified copy `replacement` in the place of `path` in one atomic rename; on
// failure `path` is untouched and `replacement` is kept.
void replaceDatabase(const QString &path, const QString &replacement);

// Copies the database `source` to `target` with SQLite's online backup, consistent even while
// other connections write to it, through a temporary file renamed into place once verified.
void backupDatabase(const QString &source, const QString &target);

// Copies an ordinary file (the settings file) to `target`, replacing an existing one, through
// a temporary file; throws Error naming the file and the reason.
void copyFileReplacing(const QString &source, const QString &target);

}  // namespace records
