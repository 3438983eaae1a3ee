#include "TypingFilters.h"

namespace mainwindow {

namespace {
QChar upper(QChar c, bool keepQW)
{
    switch (c.unicode()) {
    case u'i': return QChar(u'İ');
    case u'ı': return QChar(u'I');
    case u'ç': return QChar(u'Ç');
    case u'ğ': return QChar(u'Ğ');
    case u'ö': return QChar(u'Ö');
    case u'ş': return QChar(u'Ş');
    case u'ü': return QChar(u'Ü');
    case u'q':
    case u'w':
        return keepQW ? c : c.toUpper();
    default:
        return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? c.toUpper() : c;
    }
}

QString mapEach(const QString &typed, bool keepQW)
{
    QString out = typed;
    for (QChar &c : out)
        c = upper(c, keepQW);
    return out;
}
}  // namespace

QString TurkishUpCase(const QString &ch)
{
    return mapEach(ch, false);
}

QString fieldKeyFilter(const QString &typed)
{
    return mapEach(typed, true);
}

QString phraseKeyFilter(const QString &typed, const QString &text, int caret)
{
    if (caret <= 0)
        return TurkishUpCase(typed);
    const QChar before = text.at(qMin(caret, int(text.size())) - 1);
    return before == QLatin1Char(' ') || before == QLatin1Char('.') ? TurkishUpCase(typed) : typed;
}

}  // namespace mainwindow
