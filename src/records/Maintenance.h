#pragma once
// Whole-file operations on the database: compaction into a fresh copy, putting that copy in
// place of the original, and a consistent backup while the program holds the file open.
// Every step verifies what it wrote; a failure throws Error (Turkish, naming the file and the
// reason) and never leaves the original database worse than it was.

#include <QString>

namespace records {

// Checks that `path` is a sound database: integrity check passes and table `veriler` has its
// fields. Returns the record count; throws Error otherwise.
qint64 verifyDatabase(const QString &path);

// Writes a compacted copy of `source` to `target` (which must not exist yet) and verifies it
// against the source: sound, same schema, same record count. A copy that fails verification
// is removed again.
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
