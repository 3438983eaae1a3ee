#pragma once
// The preview's page area: prepared pages laid out in rows on grey, drawn only where they
// are visible, the current page framed in blue.

#include <QAbstractScrollArea>

#include "Engine.h"

namespace reports {

class PageArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PageArea(QWidget *parent = nullptr);
    void setReport(const PreparedReport *report);
    // Pages were added or changed: lays the pages out again.
    void refresh();

    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    int currentPage() const { return current_; }  // 0-based
    void setCurrentPage(int page);
    QRect pageRect(int page) const;               // in content coordinates
    void showRectangle(int page, const QRectF &reportRect);  // scrolls a found text into view
    void setHighlight(int page, const QRectF &reportRect);

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void layOutPages();
    const PreparedReport *report_ = nullptr;
    double zoom_ = 1.0;
    int current_ = 0;
    std::vector<QRect> rects_;
    QSize content_;
    QPoint dragStart_, scrollStart_;
    int highlightPage_ = -1;
    QRectF highlight_;
};

}  // namespace reports
