// kalpiyon-veri: the command-line data tool. Usual conventions: --help and --version on
// standard output with exit status 0; a command line that does not fit goes to standard error
// with the usage and exit status 2; any other failure exits 1.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <optional>

#include "Command.h"
#include "CommandLine.h"
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

// The command's own arguments parsed by its usage line; help is answered here, a command
// line that does not fit is refused before anything runs.
std::optional<int> refuseOrHelp(const ToolCommand &command, QCommandLineParser &line, const QStringList &args)
{
    const QString refused = cli::parse(line, cli::syntaxOf(command.usage), args);
    if (line.isSet(cli::helpOption())) {
        out() << "Kullanım: kalpiyon-veri " << command.usage << "\n";
        out().flush();
        return 0;
    }
    if (!refused.isEmpty())
        return usageError(refused, &command);
    return std::nullopt;
}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // The tool's own options come before the command; everything after it is the command's.
    QCommandLineParser tool;
    tool.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    tool.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption version(QStringLiteral("version"));
    tool.addOption(cli::helpOption());
    tool.addOption(version);
    const bool parsed = tool.parse(args);
    if (tool.isSet(cli::helpOption())) {
        usage(out());
        return 0;
    }
    if (!parsed)
        return usageError(cli::refusal(tool, args.mid(1), {version}));
    if (tool.isSet(version)) {
        out() << "kalpiyon-veri " << KALPIYON_VERSION << "\n";
        out().flush();
        return 0;
    }
    QStringList rest = tool.positionalArguments();
    if (rest.isEmpty())
        return usageError(QStringLiteral("Bir komut gerekli."));
    const auto it = commands().constFind(rest.first());
    if (it == commands().constEnd())
        return usageError(QStringLiteral("Bilinmeyen komut: %1").arg(rest.first()));
    rest.removeFirst();
    QCommandLineParser line;
    if (const std::optional<int> status = refuseOrHelp(*it, line, rest))
        return *status;
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
        const int status = it->run(line);
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
