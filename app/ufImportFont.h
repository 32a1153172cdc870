#pragma once
// The Import Font dialog: the project's name, the code range, and the blank
// margins to remove once the installed font is rasterised.
#include "ufOptimizeFont.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

class TfrmImportFont : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImportFont(QWidget* Owner = nullptr);

    QLineEdit* edtFontName = nullptr;
    QSpinBox* edtRangeFrom = nullptr;
    QSpinBox* edtRangeTo = nullptr;
    TBlankMarginBoxes Boxes;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // OK with an empty name or an empty range keeps the dialog open.
    void done(int Result) override;

private:
    QWidget* FPanel = nullptr;
};
