// kalpiyon-veri: the command-line data tool.
#include <QGuiApplication>
#include <QMap>
#include <cstdio>

#include "Command.h"
#include "Error.h"

namespace {
QMap<QString, ToolCommand> &commands()
{
    static QMap<QString, ToolCommand> map;
    return map;
}

int usage(QTextStream &s)
{
    s << "Kullanım: kalpiyon-veri KOMUT ...\nKomutlar:\n";
    for (const ToolCommand &c : commands())
        s << "  " << c.usage << "\n";
    s.flush();
    return 2;
}
}  // namespace

bool registerCommand(const ToolCommand &command)
{
    commands().insert(QString::fromLatin1(command.name), command);
    return true;
}

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

bool takeFlag(QStringList &args, const QString &flag)
{
    return args.removeAll(flag) > 0;
}

QString takeOption(QStringList &args, const QString &option)
{
    const int i = args.indexOf(option);
    if (i < 0)
        return QString();
    if (i + 1 >= args.size())
        throw Error(QStringLiteral("%1 seçeneği bir değer bekliyor").arg(option));
    const QString value = args.at(i + 1);
    args.remove(i, 2);
    return value;
}

void expectArgs(const QStringList &args, int count, const char *usage)
{
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")))
            throw Error(QStringLiteral("Bilinmeyen seçenek: %1\nKullanım: kalpiyon-veri %2").arg(a, QLatin1String(usage)));
    if (args.size() != count)
        throw Error(QStringLiteral("Yanlış sayıda bağımsız değişken.\nKullanım: kalpiyon-veri %1").arg(QLatin1String(usage)));
}

int main(int argc, char **argv)
{
    // Reports need fonts and paint devices, hence a GUI application; it never opens a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return usage(args.isEmpty() ? err() : out());
    const auto it = commands().constFind(args.takeFirst());
    if (it == commands().constEnd()) {
        err() << "Bilinmeyen komut.\n";
        return usage(err());
    }
    try {
        const int status = it->run(args);
        out().flush();
        return status;
    } catch (const Error &e) {
        out().flush();
        err() << "Hata: " << e.message() << "\n";
        err().flush();
        return 1;
    }
}
