#pragma once
// The New Font dialog: name, code range and cell size of a font made from scratch.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

// What the New and Import dialogs check before they close with OK: a name
// that the project file can store, and a range that holds at least one code.
// Shows the refusal; true when the values may be used.
bool AcceptFontDialogValues(const QString& Name, int From, int To);

class TfrmNewFont : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewFont(QWidget* Owner = nullptr);

    QLineEdit* edtFontName = nullptr;
    QSpinBox* edtRangeFrom = nullptr;
    QSpinBox* edtRangeTo = nullptr;
    QSpinBox* edtFontWidth = nullptr;
    QSpinBox* edtFontHeight = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // OK with an empty name or an empty range keeps the dialog open.
    void done(int Result) override;

private:
    QWidget* FPanel = nullptr;
};
