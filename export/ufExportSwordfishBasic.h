#pragma once
// The options of a Swordfish Basic or Proton Basic file export: the name written
// into the source, the range of codes, fixed or proportional layout and an
// optional module declaration. It only collects and checks; the main window's
// commands fill it, show it, then read it and write the file.
#include <QDialog>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TfrmExportSwordfishBasic : public QDialog {
    Q_OBJECT
public:
    enum : std::uint8_t { etProton = 0, etSwordfish = 1 };

    explicit TfrmExportSwordfishBasic(QWidget* Parent = nullptr);

    void FormCreate();
    // Enables the module name with the box; fills an empty one from the font name.
    void chkAddModuleDeclClick();
    // Runs when the dialog is about to close with OK; shows every complaint.
    void TntFormCloseQuery(bool& CanClose);
    void SetTargetCaptions(const QString& CompilerName);
    // etProton forces the proportional layout; etSwordfish only names the target.
    void SetExportTarget(std::uint8_t Target);

    // What the commands fill and read.
    QLineEdit* edtFontName = nullptr;
    QCheckBox* chkAddModuleDecl = nullptr;
    QLabel* lblModuleName = nullptr;
    QLineEdit* edtModuleName = nullptr;
    QSpinBox* edtRangeFrom = nullptr;
    QSpinBox* edtRangeTo = nullptr;
    QGroupBox* grpbFontSizeType = nullptr;
    QRadioButton* rbFixedFontSize = nullptr;
    QRadioButton* rbProportionalFontSize = nullptr;
    QGroupBox* grpbTargetPage = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnSave = nullptr;

    // Hides OK and shows Save as the default button, as the file exports want.
    void ShowSaveButton();

public slots:
    // OK or Save: closes only once the checks pass; Cancel always closes.
    void done(int Result) override;

private:
    QWidget* FPanel = nullptr;
};
