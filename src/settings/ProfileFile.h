#pragma once
// One value at a time from or to a profile (INI) file, with fixed value rules: texts are
// written unchanged; on reading, blanks around a value and one pair of enclosing quotes are
// dropped and at most 2047 characters come back; yes/no values are integers (decimal, or hex
// with "$" or "0x"), any non-zero is yes and a non-integer counts as absent; an absent file,
// section or key gives the caller's default, a present empty value gives the empty text;
// section and key names match without regard to case. The file is Windows-1254 text with
// CR LF lines. Nothing is cached: every call reads or rewrites the file. A write replaces the
// file atomically (temporary file, then rename), so a crash never leaves half a file.

#include <QList>
#include <QString>
#include <optional>

namespace settings {

class ProfileFile {
public:
    explicit ProfileFile(QString fileName) : fileName_(std::move(fileName)) {}

    QString readText(const QString &section, const QString &key, const QString &defaultText) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    // Throws Error("Unable to write to <file name>") when the file cannot be written.
    void writeText(const QString &section, const QString &key, const QString &value) const;
    void writeBool(const QString &section, const QString &key, bool value) const;

    // The cleaned value, or nullopt when the file, section or key is absent.
    std::optional<QString> readValue(const QString &section, const QString &key) const;
    // Several writes, applied in order as writeText would, in one atomic rewrite.
    struct Entry {
        QString section, key, value;
    };
    void writeTexts(const QList<Entry> &entries) const;

    const QString &fileName() const { return fileName_; }

    // The value rules on their own, for the tests and for callers holding a raw value.
    static QString cleanValue(const QString &raw);
    static bool parseInteger(const QString &text, qint64 *value);

private:
    QString fileName_;
};

}  // namespace settings
