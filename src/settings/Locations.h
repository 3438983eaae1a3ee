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

// The folder that holds `Ayarlar` and `Secenekler`.
QString settingsFolder();
// The same rule for a program in `executableFolder`; creates the configuration folder when
// that is the answer.
QString settingsFolderFor(const QString &executableFolder);
QString ayarlarPath();
QString seceneklerPath();

// One value of `Secenekler` by the profile-file rules (the default when the file, section or
// key is absent). Reads the file anew on every call.
QString option(const QString &section, const QString &key, const QString &defaultText = QString());

// Where the records are: the server named by key "Baglanti" of section "Sunucu" of
// `Secenekler` (a libpq connection string or URI), or else the file "Data.mdb" in the current
// folder.
QString databaseAddress();

// Tests point the settings folder elsewhere; the program itself never sets it.
void setSettingsFolderForTests(const QString &folder);

}  // namespace settings
