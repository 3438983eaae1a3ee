#pragma once
// "Yazdır": printer, page range, copies, page order, duplex and print mode of one print.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "PrintJob.h"

#include "ui_PrintDialog.h"

namespace reports {

class TfrxPrintDialog : public QDialog, public Ui::TfrxPrintDialog {
    Q_OBJECT
public:
    // Shows `options`; the printer list starts on the process's selected printer.
    explicit TfrxPrintDialog(const PrintOptions &options, QWidget *parent = nullptr);

    // The options as chosen; "Geçerli sayfa" prints `currentPage` (1-based). Throws Error
    // "'%s' sayısal ifade girmediniz" when the copies box holds no whole number.
    PrintOptions chosenOptions(int currentPage) const;
    bool printToFile() const { return FileCB->isChecked(); }


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillLists();
    void connectControls();
    void printerChosen();
    void modeChosen();
    void fillPapers(const QString &keep);
    void stepCopies(int by);
};

// Pictures of the dialog, drawn rather than shipped.
QPixmap collatePicture(bool collate);
QIcon printModeIcon(PrintMode mode);

}  // namespace reports
