#pragma once
// The preview's page area: prepared pages laid out in rows on grey, drawn only where they
// are visible, the current page framed in blue. With captions it serves as the thumbnail
// panel: all pages at 10 % with their numbers.

#include <QAbstractScrollArea>

#include "Engine.h"

namespace reports {

enum class ZoomMode { Normal, PageWidth, WholePage };

class PageArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PageArea(QWidget *parent = nullptr);
    void setReport(const PreparedReport *report);
    // Pages were added or changed: lays the pages out again.
    void refresh();
    void setThumbnails();  // all pages at 10 % with their numbers under them

    double zoom() const { return zoom_; }
    void setZoom(double zoom);  // normal zoom mode, not below 25 %
    void setZoomMode(ZoomMode mode);
    ZoomMode zoomMode() const { return mode_; }
    int currentPage() const { return current_; }  // 0-based
    void setCurrentPage(int page);
    QRect pageRect(int page) const;               // in content coordinates
    QPoint scrollPosition() const;
    void scrollBy(int dx, int dy);
    void showRectangle(int page, const QRectF &reportRect);  // scrolls a found text into view
    void setHighlight(int page, const QRectF &reportRect);   // drawn inverted; page -1: none

signals:
    void currentPageChanged(int page);
    void zoomChanged(double zoom);
    void relaidOut();      // zoom or size changed the places of the pages
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void layOutPages();
    void applyZoomMode();
    void followScroll();
    const PreparedReport *report_ = nullptr;
    double zoom_ = 1.0;
    ZoomMode mode_ = ZoomMode::Normal;
    bool captions_ = false;
    bool settingPage_ = false;
    int current_ = 0;
    std::vector<QRect> rects_;
    QSize content_;
    QPoint dragStart_, scrollStart_;
    int highlightPage_ = -1;
    QRectF highlight_;
};

}  // namespace reports
