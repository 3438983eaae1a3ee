#pragma once
// Files that must survive a power cut once written: the data is flushed, renamed into place
// and the folder flushed too, so neither the new name nor the new bytes can be lost.
// The one place in the program that uses POSIX file calls.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace durable {

// Flushes the folder that holds `path` (the entry of a just renamed or created file).
bool syncFolderOf(const QString &path);
// Flushes an open file's data to disk.
bool syncFile(QFileDevice &file);
// Renames `from` over `to` atomically, then flushes the folder. On failure `error` (when
// given) gets the system's reason and nothing changed.
bool rename(const QString &from, const QString &to, QString *error = nullptr);
// Flushes the closed file at `path` to disk (the file is opened read-only for it).
bool syncPath(const QString &path, QString *error = nullptr);
// A finished temporary file takes its final name: `from` is flushed, renamed over `to` and
// the folder flushed. On failure `error` gets the reason and `to` is unchanged.
bool commitFile(const QString &from, const QString &to, QString *error = nullptr);
// Creates `path` as a new, empty regular file with `permissions`. An existing name is
// refused, a symbolic link (dangling or not) included: it is never followed.
bool createNew(const QString &path, QString *error = nullptr,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);
// Writes `bytes` into a temporary file beside `path`, flushes it, renames it over `path`
// and flushes the folder. `permissions` apply to the new file (owner-only by default).
// Returns false with `error` set when anything fails; `path` is then unchanged.
bool writeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

}  // namespace durable
