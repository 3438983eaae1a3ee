#pragma once
// "Veritabanı Bakım ve Onarımı": compacts Data.mdb into a verified copy that takes its place,
// shows the size before and after, and restarts the program.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <memory>

#include "ui_tamir.h"

namespace records {
class Compaction;
}

class TFrmTamir : public QDialog, public Ui::FrmTamir {
    Q_OBJECT
public:
    explicit TFrmTamir(QWidget *parent = nullptr);
    ~TFrmTamir() override;


    void Button1Click();
    void Button6Click();
    static QString DatabaseSizeText(const QString &fileName);

    // Starts this program anew in the current folder (test seam intercept "program:start").
    static void restartProgram();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void failed(const QString &reason, const QString &details = QString());
    void succeeded();
    enum class Stage { Ready, Running, Done } stage_ = Stage::Ready;
    // The run under way: it holds Data.mdb against other processes' writes until the copy
    // has replaced it.
    std::unique_ptr<records::Compaction> run_;
};

extern TFrmTamir *FrmTamir;
