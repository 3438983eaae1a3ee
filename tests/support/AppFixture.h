#pragma once
// A whole program in the test process: a temporary working folder with Data.mdb, the eight
// windows created in order, message boxes answered through the test seam, the settings files in
// the working folder.

#include <QDir>
#include <functional>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "Application.h"
#include "Dialogs.h"
#include "RecordStore.h"
#include "TestSeam.h"
#include "Unit1.h"

namespace fixture {

// Types text as a user would, one key at a time (Turkish letters included).
inline void type(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Writes a database with one record per name (and optional ages) into `folder`.
inline void writeDatabase(const QString &folder, const QStringList &names, const QStringList &ages = {})
{
    const QString path = QDir(folder).filePath(QStringLiteral("Data.mdb"));
    records::createRecordStore(path, true);
    const auto store = records::openRecordStore(path);
    store->begin();
    for (int i = 0; i < names.size(); ++i) {
        QVector<QVariant> v(records::kFieldCount);
        v[records::fieldIndex(QStringLiteral("Adi_Soyadi"))] = names[i];
        v[records::fieldIndex(QStringLiteral("Prot_No"))] = QString::number(i + 1);
        if (i < ages.size())
            v[records::fieldIndex(QStringLiteral("Yas"))] = ages[i];
        store->insert(v);
    }
    store->commit();
}

class Program {
public:
    // With `beforeStart`, files are laid out first and the program starts through the real
    // start-up sequence (window set, database error, password gate); `mayWork` keeps the gate's answer.
    explicit Program(const QStringList &names = {}, bool withDatabase = true,
                     const std::function<void(const QString &folder)> &beforeStart = {})
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).removeRecursively();
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        if (withDatabase)
            writeDatabase(dir_.path(), names);
        ui::TestSeam::install();
        seam::setFolder(seam::Folder::Settings, dir_.path());
        if (beforeStart) {
            beforeStart(dir_.path());
            mayWork = startUp();
        } else {
            createWindows();
        }
    }
    bool mayWork = true;
    ~Program()
    {
        destroyWindows();
        ui::TestSeam::uninstall();
        QDir::setCurrent(previous_);
    }
    void show()
    {
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }
    QString folder() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// "HASTA 000", "HASTA 001" ...: names that sort in the order they are made.
inline QStringList numberedNames(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QStringLiteral("HASTA %1").arg(i, 4, 10, QLatin1Char('0'));
    return list;
}

inline QStringList askedTexts()
{
    QStringList texts;
    for (const auto &a : ui::TestSeam::asked())
        texts << a.text;
    return texts;
}

}  // namespace fixture

// Test main with the program's own application object, so that errors thrown by handlers
// reach the error display (answered through the seam) as in the program.
#define KALPIYON_TEST_MAIN(TestObject)                  \
    int main(int argc, char **argv)                     \
    {                                                   \
        KalpiyonApplication app(argc, argv);            \
        TestObject tc;                                  \
        QTEST_SET_MAIN_SOURCE_PATH                      \
        return QTest::qExec(&tc, argc, argv);           \
    }
