#include "Settings.h"

#include <QList>

#include "Error.h"
#include "Locations.h"
#include "ProfileFile.h"

namespace settings {

namespace {

using enum Key;
using enum File;

// Every section and key name of the program's settings files is here and nowhere else.
constexpr KeyRow kKeys[] = {
    {ProgramName, Ayarlar, "Sabit", "01", "Kalpiyon Raporu"},
    {Workplace, Ayarlar, "Sabit", "02", "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler"},
    {Address, Ayarlar, "Sabit", "03", "Adres ve Tel. Girin. TEL:000 - 000 00 00"},
    {ReportTitle, Ayarlar, "Sabit", "04", "KALPİYON RAPORU"},
    {ListTitle, Ayarlar, "Sabit", "05", "KAYIT LİSTESİ"},
    {Doctor, Ayarlar, "Sabit", "06", "UZM.DR. DR ADI"},
    {DoctorTitle, Ayarlar, "Sabit", "07", "DR. UNVANI"},
    {ShowPreview, Ayarlar, "Tercih", "Print", "1", Type::Flag},
    {FillNewRecord, Ayarlar, "Tercih", "Alan", "1", Type::Flag},
    {PasswordActive, WinIni, "Kalpiyon", "Active", "0", Type::Flag},
    {Password, WinIni, "Kalpiyon", "KalpiyonSifre", ""},
    {ServerAddress, Secenekler, "Sunucu", "Baglanti", "", Type::Text, true},
    {DicomEnabled, Secenekler, "DICOM", "Etkin", "0", Type::Flag},
    {DicomPort, Secenekler, "DICOM", "Port", "11112", Type::Number, false, 1, 65535},
    {DicomAeTitle, Secenekler, "DICOM", "AETitle", "KALPIYON", Type::Text, true},
    {BackupFolder, Secenekler, "Yedek", "Klasor", "Yedekler", Type::Text, true},
    {SecondBackupFolder, Secenekler, "Yedek", "IkinciKlasor", "", Type::Text, true},
};
static_assert(std::size(kKeys) == kKeyCount);

constexpr bool inKeyOrder()
{
    for (int i = 0; i < kKeyCount; ++i)
        if (int(kKeys[i].key) != i)
            return false;
    return true;
}
static_assert(inKeyOrder(), "the key table follows the order of Key");

struct FileRow {
    File file;
    const char *name;
    // The old program wrote every key of Ayarlar and win.ini on each save, so their files
    // hold every key; Secenekler gets only what differs from the defaults.
    bool writesEveryKey;
};
constexpr FileRow kFiles[] = {
    {Ayarlar, "Ayarlar", true},
    {WinIni, "win.ini", true},
    {Secenekler, "Secenekler", false},
};

const FileRow &fileRow(File file)
{
    return kFiles[int(file)];
}

QString sectionName(const KeyRow &r)
{
    return QLatin1String(r.section);
}

QString keyName(const KeyRow &r)
{
    return QLatin1String(r.name);
}

QString flagText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A stored text (nullopt: absent) as the key's value, in the object's text form.
QString interpret(const KeyRow &r, const std::optional<QString> &stored)
{
    const QString fallback = QString::fromUtf8(r.defaultValue);
    if (!stored)
        return fallback;
    qint64 n = 0;
    switch (r.type) {
    case Type::Text:
        return r.blankIsDefault && stored->trimmed().isEmpty() ? fallback : *stored;
    case Type::Flag:
        return ProfileFile::parseInteger(*stored, &n) ? flagText(n != 0) : fallback;
    case Type::Number:
        return ProfileFile::parseInteger(*stored, &n) && n >= r.min && n <= r.max ? QString::number(n) : fallback;
    }
    return fallback;
}

std::optional<QString> stored(const ProfileFile &ini, const KeyRow &r)
{
    return ini.readValue(sectionName(r), keyName(r));
}

QString pathOr(File file, const QString &path)
{
    return path.isEmpty() ? filePath(file) : path;
}

// Whether `value` must be written over what the file holds for the key.
bool needsWrite(const KeyRow &r, const std::optional<QString> &old, const QString &value)
{
    if (!old)
        return fileRow(r.file).writesEveryKey || interpret(r, value) != interpret(r, std::nullopt);
    return interpret(r, old) != interpret(r, value);
}

void writeIfChanged(const KeyRow &r, const QString &value, const QString &path)
{
    const ProfileFile ini(pathOr(r.file, path));
    if (needsWrite(r, stored(ini, r), value))
        ini.writeText(sectionName(r), keyName(r), value);
}

}  // namespace

std::span<const KeyRow> keyTable()
{
    return kKeys;
}

const KeyRow &row(Key key)
{
    return kKeys[int(key)];
}

QString defaultText(Key key)
{
    return QString::fromUtf8(row(key).defaultValue);
}

QString filePath(File file)
{
    switch (file) {
    case Ayarlar:
        return ayarlarPath();
    case WinIni:
        return winIniPath();
    case Secenekler:
        return seceneklerPath();
    }
    return QString();
}

QString fileName(File file)
{
    return QLatin1String(fileRow(file).name);
}

QString sectionOf(Key key)
{
    return sectionName(row(key));
}

QString placeOf(Key key)
{
    const KeyRow &r = row(key);
    return QStringLiteral("%1 dosyası, [%2] bölümü, %3 anahtarı").arg(fileName(r.file), sectionName(r), keyName(r));
}

QString sectionPlaceOf(Key key)
{
    const KeyRow &r = row(key);
    return QStringLiteral("%1 dosyası, \"%2\" bölümü").arg(fileName(r.file), sectionName(r));
}

// --- The value object ------------------------------------------------------------------

Settings::Settings(File file, const QString &path) : file_(file), path_(path)
{
    for (const KeyRow &r : kKeys)
        values_[int(r.key)] = interpret(r, std::nullopt);
}

Settings Settings::load(File file, const QString &path)
{
    Settings s(file, path);
    const ProfileFile ini(s.path());
    for (const KeyRow &r : kKeys)
        if (r.file == file)
            s.values_[int(r.key)] = interpret(r, stored(ini, r));
    return s;
}

const KeyRow &Settings::own(Key key) const
{
    const KeyRow &r = row(key);
    Q_ASSERT_X(r.file == file_, "settings::Settings", "key of another file");
    return r;
}

// What reading the saved file would give: a set value follows the same rules as a stored one.
QString Settings::text(Key key) const
{
    return interpret(own(key), values_[int(key)]);
}

bool Settings::flag(Key key) const
{
    Q_ASSERT(own(key).type == Type::Flag);
    return text(key) == QLatin1String("1");
}

int Settings::number(Key key) const
{
    Q_ASSERT(own(key).type == Type::Number);
    return text(key).toInt();
}

void Settings::setText(Key key, const QString &value)
{
    values_[int(own(key).key)] = value;
}

void Settings::setFlag(Key key, bool value)
{
    setText(key, flagText(value));
}

void Settings::setNumber(Key key, int value)
{
    setText(key, QString::number(value));
}

QString Settings::path() const
{
    return pathOr(file_, path_);
}

void Settings::save() const
{
    const ProfileFile ini(path());
    QList<ProfileFile::Entry> changes;
    for (const KeyRow &r : kKeys) {
        const QString &value = values_[int(r.key)];
        if (r.file == file_ && needsWrite(r, stored(ini, r), value))
            changes.append({sectionName(r), keyName(r), value});
    }
    ini.writeTexts(changes);
}

// --- One key ---------------------------------------------------------------------------

QString readText(Key key, const QString &path)
{
    const KeyRow &r = row(key);
    return interpret(r, stored(ProfileFile(pathOr(r.file, path)), r));
}

bool readFlag(Key key, const QString &path)
{
    return readText(key, path) == QLatin1String("1");
}

int readNumber(Key key, const QString &path)
{
    return readText(key, path).toInt();
}

void writeText(Key key, const QString &value, const QString &path)
{
    writeIfChanged(row(key), value, path);
}

void writeFlag(Key key, bool value, const QString &path)
{
    writeIfChanged(row(key), flagText(value), path);
}

}  // namespace settings
