#pragma once
// "Önizleme": prepares the report while it is open and shows the pages as they arrive.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <functional>

#include "PageArea.h"

namespace reports {

class TfrxPreviewForm : public QDialog {
    Q_OBJECT
public:
    // `prepare` runs the preparation (BuildPages) into `report`; the form calls it from a
    // 50 ms timer once it is shown, and stops it through `stop` when "Vazgeç" is pressed.
    TfrxPreviewForm(PreparedReport &report, bool navigator, std::function<void()> prepare, QWidget *parent = nullptr);

    PageArea *pages() const { return area_; }
    bool preparing() const { return preparing_; }
    bool stopRequested() const { return stop_; }
    void pageArrived();  // called by the preparation
    QToolButton *PrintB, *OpenB, *SaveB, *ZoomPlusB, *ZoomMinusB, *FirstB, *PriorB, *NextB, *LastB, *CancelB;
    QComboBox *ZoomCB;
    QLineEdit *PageE;
    QLabel *status;

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void startPreparation();
    void updateState();
    void applyZoomText();
    void SaveBClick();
    void OpenBClick();
    void showPanel(const QString &text);
    QLabel *panel_ = nullptr;
    PreparedReport &report_;
    std::function<void()> prepare_;
    PageArea *area_;
    bool preparing_ = false;
    bool stop_ = false;
};

}  // namespace reports
