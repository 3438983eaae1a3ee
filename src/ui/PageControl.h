#pragma once
// A tabbed page control with tabs of a fixed height, as the windows are laid out for; a plain
// tab widget's tabs grow with the style's margins around the font.

#include <QTabWidget>

namespace ui {

class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(int tabHeight, QWidget *parent = nullptr);
};

}  // namespace ui
