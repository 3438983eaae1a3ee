#include "ServerErrors.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <libpq-fe.h>

#include "PgStore.h"
#include "Schema.h"

namespace records {

namespace {

// --- Passwords ---------------------------------------------------------------------

// Decodes the %XX escapes that are valid and keeps the rest as written, so that a password
// with a malformed escape is still found in both forms.
QString percentDecoded(const QString &text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() && isxdigit(uchar(in[i + 1])) && isxdigit(uchar(in[i + 2]))) {
            out += char(in.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return QString::fromUtf8(out);
}

// A key=value value as libpq reads it: quotes removed, backslash escapes resolved.
QString unquoted(const QString &value)
{
    if (!value.startsWith(QLatin1Char('\'')))
        return value;
    QString out;
    for (int i = 1; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size())
            out += value[++i];
        else if (value[i] != QLatin1Char('\''))
            out += value[i];
        else
            break;
    }
    return out;
}

const QRegularExpression &keyValuePassword()
{
    static const QRegularExpression re(QStringLiteral("(password\\s*=\\s*)('(?:[^'\\\\]|\\\\.)*'?|[^\\s&\"']+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression &uriPassword()
{
    // The user info of a URI: libpq ends it at the first "@", a user may have meant the last.
    static const QRegularExpression re(QStringLiteral("(postgres(?:ql)?://[^:/@\\s\"]*:)[^/\\s\"]*@"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// Every way the password of `address` may be spelled in a text.
QStringList passwordForms(const QString &address)
{
    QStringList raw;
    const int scheme = address.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        const QString rest = address.mid(scheme + 3);
        const QString authority = rest.left(rest.indexOf(QLatin1Char('/')));
        for (const int at : {authority.indexOf(QLatin1Char('@')), authority.lastIndexOf(QLatin1Char('@'))}) {
            const QString userInfo = authority.left(at);
            if (at >= 0 && userInfo.contains(QLatin1Char(':')))
                raw << userInfo.mid(userInfo.indexOf(QLatin1Char(':')) + 1);
        }
    }
    auto it = keyValuePassword().globalMatch(address);
    while (it.hasNext()) {
        const QString value = it.next().captured(2);
        raw << value << unquoted(value);
    }
    QStringList forms;
    for (const QString &r : raw)
        forms << r << percentDecoded(r);
    forms.removeAll(QString());
    forms.removeDuplicates();
    std::sort(forms.begin(), forms.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return forms;
}

// --- Technical texts ----------------------------------------------------------------

// libpq's and the server's text as lines: blanks and the tabs of continuation lines collapsed,
// repeated lines dropped (libpq may report a lost connection twice), and nothing from DETAIL,
// CONTEXT or the statement's text on, where a server quotes row values.
QString tidy(const QString &text)
{
    static const QRegularExpression rowData(QStringLiteral("^(DETAIL|CONTEXT|QUERY|LINE \\d+):"));
    QStringList lines;
    bool dropping = false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const bool continuation = !line.isEmpty() && line.front().isSpace();
        const QString simple = line.simplified();
        if (!continuation)
            dropping = rowData.match(simple).hasMatch();
        if (dropping || simple.isEmpty())
            continue;
        lines << simple;
    }
    lines.removeDuplicates();
    return lines.join(QLatin1Char('\n'));
}

QString field(const pg_result *result, int code)
{
    const char *value = result ? PQresultErrorField(result, code) : nullptr;
    return value ? QString::fromUtf8(value) : QString();
}

// The server's primary message without the value it may quote: data exceptions and integrity
// violations name the offending value after a colon ("invalid input syntax ...: "31.02"").
QString primaryWithoutData(const pg_result *result, const QString &sqlstate)
{
    QString primary = field(result, PG_DIAG_MESSAGE_PRIMARY);
    if (sqlstate.startsWith(QLatin1String("22")) || sqlstate.startsWith(QLatin1String("23"))) {
        const int colon = primary.indexOf(QLatin1String(": "));
        if (colon >= 0)
            primary.truncate(colon);
    }
    return primary.simplified();
}

// SQLSTATE, primary message and the schema objects named; never DETAIL (the failing row).
QString statementDetails(const pg_result *result, const QString &sqlstate)
{
    QString details = QStringLiteral("SQLSTATE %1: %2").arg(sqlstate, primaryWithoutData(result, sqlstate));
    const struct {
        int code;
        const char *label;
    } names[] = {{PG_DIAG_TABLE_NAME, "table"}, {PG_DIAG_COLUMN_NAME, "column"}, {PG_DIAG_CONSTRAINT_NAME, "constraint"}};
    for (const auto &n : names)
        if (const QString value = field(result, n.code); !value.isEmpty())
            details += QStringLiteral("\n%1: %2").arg(QLatin1String(n.label), value);
    return details;
}

// The first name the primary message quotes ("column "Yas" does not exist"), else the table.
QString quotedName(const pg_result *result)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\""));
    const QRegularExpressionMatch m = quoted.match(field(result, PG_DIAG_MESSAGE_PRIMARY));
    return m.hasMatch() ? m.captured(1) : QString::fromLatin1(kTableName);
}

// --- What to tell the user ----------------------------------------------------------
// "{sunucu}" stands for "host:port/database", "{ad}" for the name the server's message quotes.

const char *const kUnreachable =
    "Veritabanı sunucusuna ({sunucu}) ulaşılamadı. Sunucu bilgisayarının açık, veritabanı sunucusunun çalışır ve ağın "
    "bağlı olduğunu denetleyin; sürerse bilgi işlem sorumlusunu arayın.";
const char *const kLost =
    "Veritabanı sunucusuyla ({sunucu}) bağlantı kesildi; son işlem kaydedilmemiş olabilir. Sunucunun çalıştığını ve "
    "ağın bağlı olduğunu denetleyip yeniden deneyin; sürerse bilgi işlem sorumlusunu arayın.";
const char *const kBusy =
    "Veritabanı sunucusu ({sunucu}) şu an yeni bağlantı kabul etmiyor (bağlantı sınırı dolu). Birkaç dakika sonra "
    "yeniden deneyin; sürerse bilgi işlem sorumlusunu arayın.";
const char *const kConflict = "Başka bir masadaki değişiklikle çakıştı; işlem yapılmadı. Yeniden deneyin.";

// A connection that could not be made, told by libpq's (English, untranslated) text.
struct ConnectRule {
    const char *pattern;
    const char *sentence;
};
const ConnectRule kConnectRules[] = {
    {"password authentication failed",
     "Veritabanı sunucusu ({sunucu}) kullanıcı adını ya da parolayı kabul etmedi. Adresteki kullanıcı adını ve parolayı "
     "denetleyin; sürerse bilgi işlem sorumlusunu arayın."},
    {"no password supplied|password is required",
     "Veritabanı sunucusu ({sunucu}) parola istiyor, ama parola verilmedi. Parolayı kullanıcının ~/.pgpass dosyasına "
     "yazın ya da bilgi işlem sorumlusuna sorun."},
    {"database \"[^\"]*\" does not exist",
     "Veritabanı sunucusunda ({sunucu}) adreste yazılı veritabanı yok. Adresteki veritabanı adını denetleyin; sürerse "
     "bilgi işlem sorumlusunu arayın."},
    {"role \"[^\"]*\" does not exist|no pg_hba\\.conf entry|permission denied for database|not permitted to log in|"
     "authentication failed",
     "Veritabanı sunucusu ({sunucu}) bu kullanıcının bu bilgisayardan bağlanmasına izin vermiyor. Adresteki kullanıcı "
     "adını denetleyin; sürerse bilgi işlem sorumlusunu arayın."},
    {"too many clients|connection slots are reserved", kBusy},
    {"starting up|shutting down|in recovery mode|not yet accepting connections",
     "Veritabanı sunucusu ({sunucu}) şu an açılıyor ya da kapanıyor. Biraz bekleyip yeniden deneyin; sürerse bilgi "
     "işlem sorumlusunu arayın."},
};

// A statement the server refused, by SQLSTATE: an exact code, or its first characters (the
// longest that fits wins).
struct StatementRule {
    const char *sqlstate;
    const char *sentence;
};
const StatementRule kStatementRules[] = {
    {"55P03", "Kayıt şu an başka bir masada değiştiriliyor; işlem yapılmadı. Biraz bekleyip yeniden deneyin."},
    {"57014", "Veritabanı sunucusu işlemi zamanında bitiremedi ve durdurdu. Yeniden deneyin; sürerse bilgi işlem "
              "sorumlusunu arayın."},
    {"40001", kConflict},
    {"40P01", kConflict},
    {"22001", "Yazılan bir değer alanına sığmayacak kadar uzun; kayıt yazılmadı. Değeri kısaltıp yeniden kaydedin."},
    {"22", "Yazılan bir değer sunucudaki alanın biçimine uymuyor; kayıt yazılmadı. Değeri düzeltip yeniden kaydedin."},
    {"23", "Sunucudaki bir kural bu kaydı kabul etmedi; kayıt yazılmadı. Değerleri denetleyin; sürerse bilgi işlem "
           "sorumlusuna başvurun."},
    // A table or column gone on the server: the file engine's words for the same fault.
    {"42P01", "Cannot find the input table or query '{ad}'. Make sure it exists and that its name is spelled correctly."},
    {"42703", "Field '{ad}' not found"},
    {"42501", "Bu kullanıcının veritabanı sunucusunda bu işleme yetkisi yok. Bilgi işlem sorumlusuna başvurun."},
    {"42", "Sunucudaki kayıt tablosu programın beklediği gibi değil; işlem yapılmadı. Bilgi işlem sorumlusuna başvurun."},
    {"25006", "Veritabanı sunucusu şu an yalnızca okumaya açık; kayıt yazılamadı. Bilgi işlem sorumlusunu arayın."},
    {"53100", "Veritabanı sunucusunun diski dolu; kayıt yazılmadı. Sunucunun diskinde yer açın ya da bilgi işlem "
              "sorumlusunu arayın."},
    {"53300", kBusy},
    {"53", "Veritabanı sunucusunun belleği ya da diski yetmedi; işlem yapılmadı. Bilgi işlem sorumlusunu arayın."},
    {"58", "Veritabanı sunucusu kendi diskine yazamadı ya da diskinden okuyamadı; işlem yapılmadı. Bilgi işlem "
           "sorumlusunu arayın."},
    {"XX", "Veritabanı sunucusu bir iç hata bildirdi; işlem yapılmadı. Bilgi işlem sorumlusunu arayın."},
    {"08", kLost},
    {"57P", kLost},
};
const char *const kOtherStatement =
    "Veritabanı sunucusu işlemi yapamadı. Yeniden deneyin; sürerse ayrıntılarla birlikte bilgi işlem sorumlusuna "
    "başvurun.";

const char *sentenceFor(const QString &sqlstate)
{
    const StatementRule *best = nullptr;
    for (const StatementRule &rule : kStatementRules)
        if (sqlstate.startsWith(QLatin1String(rule.sqlstate)) &&
            (!best || qstrlen(rule.sqlstate) > qstrlen(best->sqlstate)))
            best = &rule;
    return best ? best->sentence : kOtherStatement;
}

QString filled(const char *sentence, const QString &server, const QString &name = {})
{
    return QString::fromUtf8(sentence).replace(QLatin1String("{sunucu}"), server).replace(QLatin1String("{ad}"), name);
}

// Every error of the engine leaves here: neither text may hold the password.
Error made(const QString &message, const QString &details, const QString &address)
{
    return Error(withoutSecrets(message, address), withoutSecrets(details, address));
}

}  // namespace

QString withoutSecrets(QString text, const QString &address)
{
    text.replace(uriPassword(), QStringLiteral("\\1***@"));
    text.replace(keyValuePassword(), QStringLiteral("\\1***"));
    for (const QString &form : passwordForms(address))
        text.replace(form, QLatin1String("***"));
    return text;
}

QString addressForDisplay(const QString &address)
{
    // A file is shown as named.
    return PgStore::isConnectionString(address) ? withoutSecrets(address, address) : address;
}

Error addressError(const QString &libpqMessage, const QString &address)
{
    // Not through filled(): the escapes below would read as placeholders.
    return made(QStringLiteral("Veritabanı sunucusunun adresi okunamadı. Adresi denetleyin: kullanıcı adında ya da "
                               "parolada geçen %, @, / ve : işaretleri %25, %40, %2F ve %3A biçiminde yazılır; "
                               "sürerse bilgi işlem sorumlusunu arayın."),
                tidy(libpqMessage), address);
}

Error connectError(const pg_conn *conn, const QString &server, const QString &address)
{
    const QString text = conn ? QString::fromUtf8(PQerrorMessage(conn)) : QStringLiteral("out of memory");
    const char *sentence = kUnreachable;
    for (const ConnectRule &rule : kConnectRules) {
        if (QRegularExpression(QString::fromUtf8(rule.pattern), QRegularExpression::CaseInsensitiveOption).match(text).hasMatch()) {
            sentence = rule.sentence;
            break;
        }
    }
    return made(filled(sentence, server), tidy(text), address);
}

Error statementError(const pg_conn *conn, const pg_result *result, const QString &server, const QString &address)
{
    const QString sqlstate = field(result, PG_DIAG_SQLSTATE);
    if (PQstatus(conn) != CONNECTION_OK || sqlstate.isEmpty()) {
        // Broken off, or no answer at all: libpq's own text, once.
        const char *sentence = PQstatus(conn) != CONNECTION_OK ? kLost : kOtherStatement;
        return made(filled(sentence, server), tidy(QString::fromUtf8(PQerrorMessage(conn))), address);
    }
    return made(filled(sentenceFor(sqlstate), server, quotedName(result)), statementDetails(result, sqlstate), address);
}

}  // namespace records
