#pragma once
// "Hakkında": program name and version, the maker's two web addresses, a short notice.

#include <QDialog>
#include <QLabel>

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
    QLabel *Label1, *Label2, *Label3, *Label4, *Label6;
    static const QColor linkColor, hoverColor;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openAddress(const QLabel *link);
};

extern TForm4 *Form4;
