#pragma once
// Every setting of the program in one key table: which file holds it, its section and key,
// its default and how its text is read. `Ayarlar` (report header texts, two preferences),
// `win.ini` (the start-up password) and `Secenekler` (one section per feature beyond them)
// are all read and written here, through ProfileFile's value rules, so each file keeps its
// form (Windows-1254, CR LF, sections and keys where they were).
//
// Reading: a Text key gives the stored text (an absent key gives the default; a present empty
// value the empty text, unless the row says that blank means the default). A Flag key is a
// profile integer, non-zero is yes; a non-integer counts as absent. A Number key is a profile
// integer inside the row's range; anything else gives the default.
//
// Writing: a save rewrites the file once, atomically, and only where the value changes, so a
// file that is loaded and saved unchanged stays byte for byte as it was.

#include <QString>
#include <array>
#include <span>

namespace settings {

enum class File { Ayarlar, WinIni, Secenekler };
enum class Type { Text, Flag, Number };

enum class Key {
    ProgramName,
    Workplace,
    Address,
    ReportTitle,
    ListTitle,
    Doctor,
    DoctorTitle,
    ShowPreview,
    FillNewRecord,
    PasswordActive,
    Password,
    ServerAddress,
    DicomEnabled,
    DicomPort,
    DicomAeTitle,
    BackupFolder,
    SecondBackupFolder,
};
inline constexpr int kKeyCount = int(Key::SecondBackupFolder) + 1;

struct KeyRow {
    Key key;
    File file;
    const char *section;
    const char *name;
    const char *defaultValue;  // UTF-8
    Type type = Type::Text;
    bool blankIsDefault = false;  // Text: an empty or blank value reads as the default
    int min = 0, max = 0;         // Number: the accepted range
};

// The table, in Key order.
std::span<const KeyRow> keyTable();
const KeyRow &row(Key key);
QString defaultText(Key key);

// Where the program keeps each file (see Locations.h).
QString filePath(File file);
// The file's name as the user sees it: Ayarlar, win.ini or Secenekler.
QString fileName(File file);
// Where a key lives, for messages: "Secenekler dosyası, [Sunucu] bölümü, Baglanti anahtarı".
QString placeOf(Key key);
// The same for a key's whole section: "Secenekler dosyası, \"Yedek\" bölümü".
QString sectionPlaceOf(Key key);
QString sectionOf(Key key);

// All keys of one file, read once and written back together.
class Settings {
public:
    // Every key at its default; nothing is read. `path` empty: the program's own file.
    explicit Settings(File file, const QString &path = QString());
    static Settings load(File file, const QString &path = QString());

    File file() const { return file_; }
    QString path() const;

    QString text(Key key) const;
    bool flag(Key key) const;
    int number(Key key) const;
    void setText(Key key, const QString &value);
    void setFlag(Key key, bool value);
    void setNumber(Key key, int value);

    // One atomic rewrite holding every changed key. Throws Error("Unable to write to <file>").
    void save() const;

private:
    const KeyRow &own(Key key) const;
    File file_;
    QString path_;
    std::array<QString, kKeyCount> values_;  // in stored text form
};

// One key on its own; `path` empty: the program's own file.
QString readText(Key key, const QString &path = QString());
bool readFlag(Key key, const QString &path = QString());
int readNumber(Key key, const QString &path = QString());
void writeText(Key key, const QString &value, const QString &path = QString());
void writeFlag(Key key, bool value, const QString &path = QString());

}  // namespace settings
