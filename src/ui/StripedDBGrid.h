#pragma once
// The record list: a grid over the dataset that asks only for the rows it shows, stripes
// even rows, draws the current record's row in the selection colours whether or not it has
// the focus, and moves the dataset (never its own cursor) on clicks, keys and wheel steps.

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>

#include "Dataset.h"

namespace ui {

class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordListModel(records::Dataset *dataset, int field, QString title, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int currentRow() const;  // the row of the current record (the pending row while inserting)
    QColor background, colorAlternative, colorSelect, colorSelectText;

private:
    void reset();
    records::Dataset *dataset_;
    int field_;
    QString title_;
    int rows_ = 0;
};

class TStripedDBGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(QColor ColorAlternative READ colorAlternative WRITE setColorAlternative)
    Q_PROPERTY(QColor ColorSelect READ colorSelect WRITE setColorSelect)
    Q_PROPERTY(QColor ColorSelectText READ colorSelectText WRITE setColorSelectText)
    Q_PROPERTY(int MoveByRows MEMBER moveByRows_)
public:
    TStripedDBGrid(records::Dataset *dataset, int field, const QString &title, QWidget *parent = nullptr);

    QColor colorAlternative() const { return model_->colorAlternative; }
    QColor colorSelect() const { return model_->colorSelect; }
    QColor colorSelectText() const { return model_->colorSelectText; }
    void setColorAlternative(const QColor &c) { model_->colorAlternative = c; viewport()->update(); }
    void setColorSelect(const QColor &c) { model_->colorSelect = c; viewport()->update(); }
    void setColorSelectText(const QColor &c) { model_->colorSelectText = c; viewport()->update(); }
    void setBackground(const QColor &c);
    int moveByRows() const { return moveByRows_; }

    // Scrolls so that the current record stands in the middle of the visible rows.
    void centerCurrent();
    RecordListModel *recordModel() const { return model_; }

signals:
    // A wheel step; set *handled to keep the grid from moving the record.
    void mouseWheelDown(bool *handled);
    void mouseWheelUp(bool *handled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void ensureCurrentVisible();
    void deleteWithConfirmation();
    records::Dataset *dataset_;
    RecordListModel *model_;
    int moveByRows_ = 1;
};

}  // namespace ui
