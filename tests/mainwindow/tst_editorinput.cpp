// Text that reaches an editor without key presses (an input method, a screen reader or
// dictation through the accessibility interface, a drop, the context menu's paste) starts
// editing and is stored like typed text; on a closed dataset the editors take no input.
#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

#include "AppFixture.h"

using fixture::Program;

namespace {

QString stored(const Program &p, const QString &sql)
{
    QProcess q;
    q.start(QStringLiteral("sqlite3"), {p.file(QStringLiteral("Data.mdb")), sql});
    q.waitForFinished();
    return QString::fromUtf8(q.readAllStandardOutput()).trimmed();
}

// The line edit that shows an editor's text (a combo box's own, or the edit box itself).
QLineEdit *lineOf(QWidget *editor)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        return combo->lineEdit();
    return qobject_cast<QLineEdit *>(editor);
}

enum class Route { InputMethod, AccessibleInsert, AccessibleValue, Drop, ContextMenuPaste };

// Puts `text` into the empty editor the way `route` says, without a key event.
void insertWithoutKeys(QWidget *editor, Route route, const QString &text)
{
    QLineEdit *line = lineOf(editor);
    switch (route) {
    case Route::InputMethod: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(editor, &event);  // a combo box hands it to its line edit
        break;
    }
    case Route::AccessibleInsert:
    case Route::AccessibleValue: {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(line);
        QVERIFY(a);
        if (route == Route::AccessibleInsert) {
            QVERIFY(a->editableTextInterface());
            a->editableTextInterface()->insertText(0, text);
        } else {
            a->setText(QAccessible::Value, text);
        }
        break;
    }
    case Route::Drop: {
        auto *mime = new QMimeData;
        mime->setText(text);
        const QPoint at = line->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &move);
        QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &drop);
        delete mime;
        break;
    }
    case Route::ContextMenuPaste: {
        QGuiApplication::clipboard()->setText(text);
        std::unique_ptr<QMenu> menu(line->createStandardContextMenu());
        // The entry "Yapıştır", found by its shortcut.
        const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        QAction *paste = nullptr;
        for (QAction *a : menu->actions())
            if (a->text().endsWith(QLatin1Char('\t') + shortcut))
                paste = a;
        QVERIFY(paste && paste->isEnabled());
        paste->trigger();
        break;
    }
    }
}

}  // namespace

class TestEditorInput : public QObject {
    Q_OBJECT
private slots:
    void textWithoutKeysIsStored_data();
    void textWithoutKeysIsStored();
    void closedDatasetTakesNoInput();
};

void TestEditorInput::textWithoutKeysIsStored_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("emptyList");  // then the text starts a new record
    const struct {
        const char *name;
        Route route;
    } routes[] = {
        {"input method", Route::InputMethod},
        {"accessible insertText", Route::AccessibleInsert},
        {"accessible value", Route::AccessibleValue},
        {"drop", Route::Drop},
        {"context menu paste", Route::ContextMenuPaste},
    };
    const struct {
        const char *editor;
        const char *field;
    } editors[] = {{"EditAd", "Adi_Soyadi"}, {"CB5", "Yorum5"}, {"CBox1", "Sonuc1"}, {"RzDBComboBox30", "mitral_yetmezlik"}};
    for (const auto &r : routes) {
        for (const auto &e : editors)
            QTest::addRow("%s into %s", r.name, e.editor) << int(r.route) << QString::fromLatin1(e.editor) << QString::fromLatin1(e.field) << false;
        QTest::addRow("%s into EditAd, empty list", r.name) << int(r.route) << QStringLiteral("EditAd") << QStringLiteral("Adi_Soyadi") << true;
    }
}

void TestEditorInput::textWithoutKeysIsStored()
{
    QFETCH(int, route);
    QFETCH(QString, editor);
    QFETCH(QString, field);
    QFETCH(bool, emptyList);
    Program p(emptyList ? QStringList() : QStringList{QStringLiteral("ARI")});
    p.show();
    QWidget *w = Form1->editor(editor);
    QVERIFY(w);
    w->setFocus();
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    const QString text = QStringLiteral("Dikte edilen ğüşiöç metin");  // not filtered: it was not typed
    insertWithoutKeys(w, Route(route), text);
    const QString shown = lineOf(w)->text();  // beside what the editor held
    QVERIFY2(shown.contains(text), qPrintable(shown));
    QCOMPARE(Form1->Query1->state(), emptyList ? records::DataSetState::Insert : records::DataSetState::Edit);
    QVERIFY(Form1->RzBitBtn6->isEnabled());
    QTest::mouseClick(Form1->RzBitBtn6, Qt::LeftButton);
    QCOMPARE(fixture::askedTexts(), QStringList());
    QCOMPARE(Form1->Query1->state(), records::DataSetState::Browse);
    QCOMPARE(stored(p, QStringLiteral("SELECT count(*) FROM veriler")), QStringLiteral("1"));
    QCOMPARE(stored(p, QStringLiteral("SELECT %1 FROM veriler").arg(field)), shown);
}

void TestEditorInput::closedDatasetTakesNoInput()
{
    Program p({}, false);  // no Data.mdb: the dataset stays closed
    p.show();
    QVERIFY(!Form1->Query1->active());
    for (const char *name : {"EditAd", "EditTarih", "CB5", "CBox1", "RzDBComboBox30", "EditEF"}) {
        QWidget *w = Form1->editor(QLatin1String(name));
        QVERIFY2(!w->isEnabled(), name);
        fixture::type(w, QStringLiteral("abc"));
        insertWithoutKeys(w, Route::AccessibleInsert, QStringLiteral("abc"));
        QCOMPARE(lineOf(w)->text(), QString());
    }
    QCOMPARE(fixture::askedTexts(), QStringList());  // no error box, let alone box after box
    // Opened again, the editors take input once more.
    fixture::writeDatabase(p.folder(), {QStringLiteral("ARI")});
    Form1->Query1->open(p.file(QStringLiteral("Data.mdb")));
    QVERIFY(Form1->editor(QStringLiteral("EditAd"))->isEnabled());
    QCOMPARE(Form1->dbEdit(QStringLiteral("EditAd"))->text(), QStringLiteral("ARI"));
}

KALPIYON_TEST_MAIN(TestEditorInput)
#include "tst_editorinput.moc"
