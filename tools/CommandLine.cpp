#include "CommandLine.h"

namespace cli {

namespace {
QString nameOf(const QString &argument)
{
    QString name = argument.section(QLatin1Char('='), 0, 0);
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    return name;
}

// The option arguments as written, up to "--" (after it everything is positional).
QStringList optionArguments(const QStringList &args)
{
    QStringList options;
    for (const QString &a : args) {
        if (a == QLatin1String("--"))
            break;
        if (a.size() > 1 && a.startsWith(QLatin1Char('-')))
            options << a;
    }
    return options;
}
}  // namespace

Syntax syntaxOf(const char *usage)
{
    Syntax syntax;
    const QStringList words = QString::fromUtf8(usage).split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(1);
    for (int i = 0; i < words.size(); ++i) {
        const QString &w = words[i];
        if (w.startsWith(QLatin1String("[--"))) {
            // "[--force]", or "[--seed" followed by its value's name "S]".
            const bool takesValue = !w.endsWith(QLatin1Char(']'));
            const QString name = w.mid(3, takesValue ? -1 : w.size() - 4);
            if (takesValue)
                syntax.options << QCommandLineOption(name, QString(), words.value(++i).chopped(1));
            else
                syntax.options << QCommandLineOption(name);
        } else if (w.startsWith(QLatin1Char('['))) {
            ++syntax.optional;
        } else {
            ++syntax.required;
        }
    }
    return syntax;
}

const QCommandLineOption &helpOption()
{
    static const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    return help;
}

QString parse(QCommandLineParser &line, const Syntax &syntax, const QStringList &args)
{
    // "-seed 3" reads as "--seed 3", never as the letters s, e, e, d.
    line.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    line.addOption(helpOption());
    line.addOptions(syntax.options);
    if (!line.parse(QStringList{QStringLiteral("kalpiyon-veri")} + args))
        return refusal(line, args, syntax.options);
    const qsizetype given = line.positionalArguments().size();
    if (given < syntax.required || given > syntax.required + syntax.optional)
        return QStringLiteral("Yanlış sayıda bağımsız değişken.");
    return QString();
}

QString refusal(const QCommandLineParser &line, const QStringList &args, const QList<QCommandLineOption> &options)
{
    QStringList flags;
    for (const QCommandLineOption &o : options + QList<QCommandLineOption>{helpOption()})
        if (o.valueName().isEmpty())
            flags << o.names();
    const QStringList given = optionArguments(args);
    if (!line.unknownOptionNames().isEmpty()) {
        const QString unknown = line.unknownOptionNames().first();
        for (const QString &a : given)
            if (nameOf(a) == unknown)
                return QStringLiteral("Bilinmeyen seçenek: %1").arg(a.section(QLatin1Char('='), 0, 0));
        return QStringLiteral("Bilinmeyen seçenek: --%1").arg(unknown);
    }
    // Otherwise a known option was given wrongly: a flag with "=value", or an option that
    // takes a value as the last argument.
    for (const QString &a : given)
        if (a.contains(QLatin1Char('=')) && flags.contains(nameOf(a)))
            return QStringLiteral("%1 seçeneği bir değer almaz").arg(a.section(QLatin1Char('='), 0, 0));
    return QStringLiteral("%1 seçeneği bir değer bekliyor").arg(given.value(given.size() - 1, args.value(args.size() - 1)));
}

}  // namespace cli
