#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QStringList>
#include <optional>

#include "DurableFile.h"
#include "Error.h"

namespace settings {

namespace {

constexpr int kMaxValueLength = 2047;

QStringList readLines(const QString &fileName)
{
    QFile f(fileName);
    if (!QFileInfo(fileName).isFile() || !f.open(QIODevice::ReadOnly))  // a FIFO would block the open
        return {};
    QStringDecoder decode("windows-1254");
    QString text = decode(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// "[Name]" -> "Name"; not a section line -> nullopt.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// "key=value" -> key; other lines (comments, blanks) -> nullopt.
std::optional<QString> keyName(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Found {
    int sectionLine = -1;   // index of the "[section]" line
    int lastLine = -1;      // last key line of the section (or the section line)
    int keyLine = -1;       // line of the key, if present
};

Found find(const QStringList &lines, const QString &section, const QString &key)
{
    Found found;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (found.sectionLine >= 0 && inside)
                break;  // the first matching section is the one used
            inside = sameName(*name, section);
            if (inside) {
                found.sectionLine = i;
                found.lastLine = i;
            }
            continue;
        }
        if (!inside)
            continue;
        if (const auto k = keyName(lines[i])) {
            found.lastLine = i;
            if (found.keyLine < 0 && sameName(*k, key))
                found.keyLine = i;
        }
    }
    return found;
}

// The key's line takes the value; a missing key goes after the last key of its section, a
// missing section to the end of the file.
void setLine(QStringList &lines, const QString &section, const QString &key, const QString &value)
{
    const Found f = find(lines, section, key);
    if (f.keyLine >= 0) {
        const QString &old = lines[f.keyLine];
        lines[f.keyLine] = old.left(old.indexOf(QLatin1Char('='))).trimmed() + QLatin1Char('=') + value;
    } else if (f.sectionLine >= 0) {
        lines.insert(f.lastLine + 1, key + QLatin1Char('=') + value);
    } else {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + value;
    }
}

}  // namespace

QString ProfileFile::cleanValue(const QString &raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.left(kMaxValueLength);
}

bool ProfileFile::parseInteger(const QString &text, qint64 *value)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(QLatin1Char('$'))) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (!(c.isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(c))) || c.unicode() > 127)
            return false;
    bool ok = false;
    const qint64 n = t.toLongLong(&ok, base);
    if (ok && value)
        *value = negative ? -n : n;
    return ok;
}

std::optional<QString> ProfileFile::readValue(const QString &section, const QString &key) const
{
    const QStringList lines = readLines(fileName_);
    const Found f = find(lines, section, key);
    if (f.keyLine < 0)
        return std::nullopt;
    const QString &line = lines[f.keyLine];
    return cleanValue(line.mid(line.indexOf(QLatin1Char('=')) + 1));
}

QString ProfileFile::readText(const QString &section, const QString &key, const QString &defaultText) const
{
    return readValue(section, key).value_or(defaultText);
}

bool ProfileFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    qint64 n = 0;
    const std::optional<QString> text = readValue(section, key);
    if (!text || !parseInteger(*text, &n))
        return defaultValue;
    return n != 0;
}

void ProfileFile::writeText(const QString &section, const QString &key, const QString &value) const
{
    writeTexts({{section, key, value}});
}

void ProfileFile::writeTexts(const QList<Entry> &entries) const
{
    if (entries.isEmpty())
        return;
    QStringList lines = readLines(fileName_);
    for (const Entry &e : entries)
        setLine(lines, e.section, e.key, e.value);

    QStringEncoder encode("windows-1254");
    const QByteArray bytes = encode(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
    // An existing file keeps its permissions; a new one is the user's own business (settings
    // and passwords). Synced, renamed into place and the folder synced.
    const QFileDevice::Permissions permissions = QFile::exists(fileName_)
                                                     ? QFile::permissions(fileName_)
                                                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!durable::writeFile(fileName_, bytes, nullptr, permissions))
        throw Error(QStringLiteral("Unable to write to %1").arg(fileName_));
}

void ProfileFile::writeBool(const QString &section, const QString &key, bool value) const
{
    writeText(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace settings
