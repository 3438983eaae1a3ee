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
// Writes `bytes` into a temporary file beside `path`, flushes it, renames it over `path`
// and flushes the folder. `permissions` apply to the new file (owner-only by default).
// Returns false with `error` set when anything fails; `path` is then unchanged.
bool writeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

}  // namespace durable
