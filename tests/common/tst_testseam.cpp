// The test seam itself: queued actions run once each, in order, at their own point; a point
// with nothing queued goes on, an interception with nothing queued ends the process; without
// the seam every point is the plain program.
#include <QtTest>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Error.h"
#include "TestSeam.h"

namespace {
// How a child process that runs `work` ends: its exit code, or minus the signal that ended it.
int endOfChild(const std::function<void()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0};  // an abort here leaves no core file behind
        setrlimit(RLIMIT_CORE, &noCore);
        const int devNull = open("/dev/null", O_WRONLY);  // the fatal message is expected
        dup2(devNull, STDERR_FILENO);
        work();
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return 1000;
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}
}  // namespace

class TestTestSeam : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { seam::uninstall(); }
    void withoutSeamEverythingIsPlain();
    void actionsRunOnceInOrderAtTheirPoint();
    void aThrowingActionStopsTheProgramThere();
    void interceptionTakesTheQueuedAnswer();
    void unexpectedInterceptionIsFatal_data();
    void unexpectedInterceptionIsFatal();
    void installStartsClean();
    void pausesAndFolders();
};

void TestTestSeam::withoutSeamEverythingIsPlain()
{
    seam::install();
    int ran = 0;
    seam::queueAt(QStringLiteral("p"), [&](const QVariantList &) { ++ran; });
    seam::setPauseScale(0);
    seam::setFolder(seam::Folder::Settings, QStringLiteral("/elsewhere"));
    seam::uninstall();
    QVERIFY(!seam::installed());
    seam::at("p");
    QCOMPARE(ran, 0);
    QVariant answer(7);
    QVERIFY(!seam::intercept("q", &answer, QStringLiteral("q")));
    QCOMPARE(answer, QVariant(7));
    QCOMPARE(seam::pauseLength(1500), 1500);
    QCOMPARE(seam::folder(seam::Folder::Settings), QString());
    QCOMPARE(seam::calls().size(), 0);
}

void TestTestSeam::actionsRunOnceInOrderAtTheirPoint()
{
    seam::install();
    QStringList log;
    seam::queueAt(QStringLiteral("a"), [&](const QVariantList &args) { log << "a1:" + args.value(0).toString(); });
    seam::queueAt(QStringLiteral("b"), [&](const QVariantList &) { log << "b1"; });
    seam::queueAt(QStringLiteral("a"), [&](const QVariantList &args) { log << "a2:" + args.value(0).toString(); });
    QCOMPARE(seam::pending(), 3);
    seam::at("a", QStringLiteral("x"));
    seam::at("c");  // nothing queued: the program goes on
    seam::at("a", QStringLiteral("y"));
    seam::at("a", QStringLiteral("z"));  // used up: goes on
    QCOMPARE(log, (QStringList{"a1:x", "a2:y"}));
    QCOMPARE(seam::pending(QStringLiteral("a")), 0);
    QCOMPARE(seam::pending(QStringLiteral("b")), 1);
    QStringList reached;
    for (const seam::Call &c : seam::calls())
        reached << c.point + QLatin1Char('=') + c.args.value(0).toString();
    QCOMPARE(reached, (QStringList{"a=x", "c=", "a=y", "a=z"}));
    seam::clearCalls(QStringLiteral("a"));
    QCOMPARE(seam::calls().size(), 1);
}

void TestTestSeam::aThrowingActionStopsTheProgramThere()
{
    seam::install();
    seam::queueAt(QStringLiteral("step"), [](const QVariantList &) { throw Error(QStringLiteral("durduruldu")); });
    QVERIFY_THROWS_EXCEPTION(Error, seam::at("step"));
    QCOMPARE(seam::pending(), 0);
    seam::at("step");  // taken off the queue before it ran: once only
}

void TestTestSeam::interceptionTakesTheQueuedAnswer()
{
    seam::install();
    QVariantList seen;
    seam::queue(QStringLiteral("program:start"), [&](const QVariantList &args) {
        seen = args;
        return QVariant(QStringLiteral("started"));
    });
    seam::startProgram(QStringLiteral("/no/such/program"), QStringLiteral("/tmp"));
    QCOMPARE(seen, (QVariantList{QStringLiteral("/no/such/program"), QStringLiteral("/tmp")}));
    seam::queueAnswer(QStringLiteral("box"), 4);
    QVariant answer;
    QVERIFY(seam::intercept("box", &answer, QStringLiteral("box"), QStringLiteral("soru")));
    QCOMPARE(answer, QVariant(4));
}

void TestTestSeam::unexpectedInterceptionIsFatal_data()
{
    QTest::addColumn<QString>("queued");  // what the test queued before the interception
    QTest::addColumn<bool>("fatal");
    QTest::newRow("answer queued") << "box" << false;
    QTest::newRow("nothing queued") << "" << true;
    QTest::newRow("answer for another point") << "file" << true;
    QTest::newRow("answer used up") << "box-used" << true;
}

void TestTestSeam::unexpectedInterceptionIsFatal()
{
    QFETCH(QString, queued);
    QFETCH(bool, fatal);
    const int end = endOfChild([queued] {
        seam::install();
        if (!queued.isEmpty())
            seam::queueAnswer(queued.section(QLatin1Char('-'), 0, 0), 1);
        if (queued.endsWith(QLatin1String("-used")))
            seam::intercept("box", nullptr, QStringLiteral("first box"));
        seam::intercept("box", nullptr, QStringLiteral("Hata: bir soru"));
    });
    QCOMPARE(end, fatal ? -SIGABRT : 0);
}

void TestTestSeam::installStartsClean()
{
    seam::install();
    seam::queueAnswer(QStringLiteral("box"), 1);
    seam::at("p");
    seam::setPauseScale(0);
    seam::install();
    QCOMPARE(seam::pending(), 0);
    QCOMPARE(seam::calls().size(), 0);
    QCOMPARE(seam::pauseLength(200), 200);
}

void TestTestSeam::pausesAndFolders()
{
    seam::install();
    QCOMPARE(seam::folder(seam::Folder::Settings), QString());  // the program's own rule
    seam::setFolder(seam::Folder::Settings, QStringLiteral("/tmp/ayarlar"));
    QCOMPARE(seam::folder(seam::Folder::Settings), QStringLiteral("/tmp/ayarlar"));
    seam::setPauseScale(0.5);
    QCOMPARE(seam::pauseLength(1500), 750);
    seam::setPauseScale(0);
    QCOMPARE(seam::pauseLength(1500), 0);
}

QTEST_GUILESS_MAIN(TestTestSeam)
#include "tst_testseam.moc"
