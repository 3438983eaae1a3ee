#pragma once
// "Önizleme": prepares the report while it is open and shows the pages as they arrive; prints,
// saves and opens prepared pages, finds text, zooms, goes full screen.

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <vector>

#include "Find.h"
#include "PageArea.h"

#include "ui_Preview.h"

namespace reports {

class TfrxPreviewForm : public QDialog, public Ui::TfrxPreviewForm {
    Q_OBJECT
public:
    // `prepare` runs the preparation (BuildPages) into `report`; the form calls it from a
    // 50 ms timer once it is shown, and stops it through `stop` when "Vazgeç" is pressed.
    TfrxPreviewForm(PreparedReport &report, bool navigator, std::function<void()> prepare, QWidget *parent = nullptr);

    // The templates whose saved pages "Aç" opens (their pages then replace the prepared ones);
    // without a call, only pages of the report's own template.
    void setTemplates(std::vector<const ReportTemplate *> templates) { templates_ = std::move(templates); }

    reports::PageArea *pages() const { return PageArea; }
    reports::PageArea *thumbnails() const { return Thumbnails; }
    bool preparing() const { return preparing_; }
    bool stopRequested() const { return stop_; }
    bool fullScreen() const { return fullScreen_; }
    void pageArrived();  // called by the preparation
    QMenu *contextMenu() const { return menu_; }
    const FindHit &lastHit() const { return hit_; }
    void findNext();     // F3

    QWidget *toolbar, *statusBar, *sidePanel;

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setUpToolbar();
    void setUpSidePanel();
    void buildContextMenu();
    void connectCommands();
    void startPreparation();
    void updateState();
    void showZoom();
    void applyZoomText();
    void goToTypedPage();
    void SaveBClick();
    void OpenBClick();
    void FindBClick();
    void switchFullScreen();
    void showSide(QWidget *panel, bool on);
    void endSearch();
    void showPanel(const QString &text);
    QLabel *panel_ = nullptr;
    QMenu *menu_ = nullptr;
    PreparedReport &report_;
    std::function<void()> prepare_;
    std::vector<const ReportTemplate *> templates_;
    bool preparing_ = false;
    bool stop_ = false;
    bool fullScreen_ = false;
    Qt::WindowStates savedState_;
    FindHit hit_;   // the match shown
    FindHit from_;  // where F3 goes on from
    bool searching_ = false;
    bool caseSensitive_ = false;
    QElapsedTimer sinceRefresh_;
};

}  // namespace reports
