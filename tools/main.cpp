// kalpiyon-veri: the command-line data tool. Usual conventions: --help and --version on
// standard output with exit status 0; a command line that does not fit goes to standard error
// with the usage and exit status 2; any other failure exits 1.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "Command.h"
#include "Error.h"

namespace {
QMap<QString, ToolCommand> &commands()
{
    static QMap<QString, ToolCommand> map;
    return map;
}

void usage(QTextStream &s)
{
    s << "Kullanım: kalpiyon-veri KOMUT ...\n"
         "         kalpiyon-veri --help | --version\n"
         "Komutlar:\n";
    for (const ToolCommand &c : commands())
        s << "  " << c.usage << "\n";
    s << "Bir komutun kullanımı: kalpiyon-veri KOMUT --help\n";
    s.flush();
}

int usageError(const QString &message, const ToolCommand *command = nullptr)
{
    err() << "kalpiyon-veri: " << message << "\n";
    if (command)
        err() << "Kullanım: kalpiyon-veri " << command->usage << "\n";
    else
        usage(err());
    err().flush();
    return 2;
}

bool isHelp(const QString &arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
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
        throw UsageError{QStringLiteral("%1 seçeneği bir değer bekliyor").arg(option)};
    const QString value = args.at(i + 1);
    args.remove(i, 2);
    return value;
}

void expectArgs(const QStringList &args, int count, const char * /* usage: main() prints it */)
{
    for (const QString &a : args)
        if (a.startsWith(QLatin1String("--")))
            throw UsageError{QStringLiteral("Bilinmeyen seçenek: %1").arg(a)};
    if (args.size() != count)
        throw UsageError{QStringLiteral("Yanlış sayıda bağımsız değişken.")};
}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty())
        return usageError(QStringLiteral("Bir komut gerekli."));
    if (isHelp(args.first())) {
        usage(out());
        return 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out() << "kalpiyon-veri " << KALPIYON_VERSION << "\n";
        out().flush();
        return 0;
    }
    const auto it = commands().constFind(args.first());
    if (it == commands().constEnd())
        return usageError(args.first().startsWith(QLatin1Char('-')) ? QStringLiteral("Bilinmeyen seçenek: %1").arg(args.first())
                                                                   : QStringLiteral("Bilinmeyen komut: %1").arg(args.first()));
    args.removeFirst();
    if (std::any_of(args.cbegin(), args.cend(), isHelp)) {
        out() << "Kullanım: kalpiyon-veri " << it->usage << "\n";
        out().flush();
        return 0;
    }
    // Only reports need fonts and paint devices, hence a GUI application (offscreen, it never
    // opens a window); the other commands do with the core.
    // The GUI application looks into the runtime folder; without one Qt would warn and make
    // /tmp/runtime-USER, so it gets a private one for the run.
    std::optional<QTemporaryDir> runtime;
    std::unique_ptr<QCoreApplication> app;
    if (it->needsGui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtime.emplace();
            if (runtime->isValid())
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    try {
        const int status = it->run(args);
        out().flush();
        return status;
    } catch (const UsageError &e) {
        out().flush();
        return usageError(e.message, &*it);
    } catch (const Error &e) {
        out().flush();
        err() << "Hata: " << e.message() << "\n";
        if (!e.details().isEmpty())
            err() << "Ayrıntılar:\n" << e.details() << "\n";
        err().flush();
        return 1;
    }
}
