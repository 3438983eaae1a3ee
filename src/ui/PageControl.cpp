#include "PageControl.h"

#include <QTabBar>

namespace ui {

namespace {
class FixedHeightTabBar : public QTabBar {
public:
    FixedHeightTabBar(int height, QWidget *parent) : QTabBar(parent), height_(height) {}

protected:
    QSize tabSizeHint(int index) const override { return {QTabBar::tabSizeHint(index).width(), height_}; }
    QSize minimumTabSizeHint(int index) const override { return {QTabBar::minimumTabSizeHint(index).width(), height_}; }

private:
    int height_;
};
}  // namespace

PageControl::PageControl(int tabHeight, QWidget *parent) : QTabWidget(parent)
{
    setTabBar(new FixedHeightTabBar(tabHeight, this));
}

}  // namespace ui
