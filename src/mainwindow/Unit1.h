#pragma once
// The main window: record list with search on the left, the current record's editors on
// tabbed pages on the right, command buttons, menus and the status bar.

#include <QAction>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

#include "DataAware.h"
#include "Dataset.h"
#include "StripedDBGrid.h"

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The one dataset; the connection opens with it when the window is created.
    records::Dataset *Query1;
    // The errors of opening the database at creation, in the order they are reported; empty
    // when it opened.
    QList<Error> openErrors;

    ui::TStripedDBGrid *StripedDBGrid1;
    QLineEdit *Edit8;
    QToolButton *SpeedButton1, *SpeedButton2;
    QToolButton *BtnYeni, *RzBitBtn6, *BtnSil, *BtnIptal;  // icon above caption
    QPushButton *BtnYazdir1, *BtnYazdir2, *BtnKapat;
    QTabWidget *personalPages, *findingsPages;
    QAction *DataSetPost1, *DataSetCancel1;
    QList<QLabel *> statusPanels;  // StatusBar1's four panels
    QMenu *PopupMenu1;

    // Editors by control name (EditAd, CBox1, RzDBComboBox30 ...).
    QWidget *editor(const QString &name) const { return editors_.value(name); }
    ui::DBEdit *dbEdit(const QString &name) const { return qobject_cast<ui::DBEdit *>(editor(name)); }
    ui::DBComboBox *dbCombo(const QString &name) const { return qobject_cast<ui::DBComboBox *>(editor(name)); }

    // Report commands; the report library installs them (they need the report engine).
    std::function<void()> printEchoReport, printRecordList;

    QString SettingsFileName() const;
    void LoadSettings();
    void SaveSettings();

public slots:
    void FormCreate();
    void AppIdle();
    void FormShow();
    void BtnYeniClick();
    void BtnSilClick();
    void BtnKapatClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Edit8Change(const QString &text);
    void Query1AfterScroll();
    void BtnYazdir1Click();
    void BtnYazdir2Click();
    void SabitBilgiler1Click();
    void Alifresi1Click();
    void KaytSil1Click();
    void VeritabannOnar1Click();
    void VeritabannYedekle1Click();
    void Hakknda1Click();
    void BilgiBari(const QString &hint);
    // Looks up the hint under the mouse and shows it when it changed (runs after the mouse
    // entered or left a widget).
    void updateHint();

    static QString webAddress();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildLeftColumn();
    QWidget *buildRightArea();
    QWidget *buildUpperPanel(QWidget *parent);
    QWidget *buildLowerPanel(QWidget *parent);
    void buildEditors();
    void buildMenus();
    void buildStatusBar();
    void placeDefaultFindings();
    bool FormClose();

    QHash<QString, QWidget *> editors_;
    QHash<QString, QWidget *> groups_;
    QString lastHint_;
    bool shown_ = false;
};

extern TForm1 *Form1;

