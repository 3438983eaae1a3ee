#pragma once
// Where the program's own files live, decided in one place for the program and the data tool.
//
// `Ayarlar` stays beside the executable in a build tree (a folder with CMakeCache.txt at or
// above it) while that folder is writable; an installed program keeps it in the user's
// configuration folder (~/.config/Kalpiyon), never in its installation folder, also when it
// runs as root. `Secenekler`, the profile file that
// holds every setting beyond the two of `Ayarlar` (one section per feature), lies beside it.

#include <QString>

namespace settings {

// The folder that holds `Ayarlar` and `Secenekler` (tests put their own in place through the
// test seam, seam::Folder::Settings).
QString settingsFolder();
// The same rule for a program in `executableFolder`; creates the configuration folder when
// that is the answer.
QString settingsFolderFor(const QString &executableFolder);
QString ayarlarPath();
QString seceneklerPath();
// `win.ini`, the password store: always in the user's configuration folder (created when
// missing), wherever `Ayarlar` is.
QString winIniPath();

// Where the records are: the server that `Secenekler` names (a libpq connection string or
// URI), or else the file "Data.mdb" in the current folder.
QString databaseAddress();
// The same rule for a server address typed by the user (blank: "Data.mdb").
QString databaseAddressFrom(const QString &server);

}  // namespace settings
