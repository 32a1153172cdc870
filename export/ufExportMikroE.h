#pragma once
// The MikroElektronika export: the compiler on a tab, the library layout, the
// name, the range and an optional module or unit wrapper, with the generated
// source shown at once in a highlighting editor, saved to a file or copied to
// the clipboard. The window runs the filter itself on every change.
#include <QDialog>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabBar;
class QsciLexer;
class QsciScintilla;
class TGLCDFont;

class TfrmMikroEExport : public QDialog {
    Q_OBJECT
public:
    enum : std::uint8_t { lgMikroBasic = 1, lgMikroPascal = 2, lgMikroC = 3 };

    explicit TfrmMikroEExport(QWidget* Parent = nullptr);

    void FormCreate();
    // Borrowed for the dialog's life; null is ignored.
    void SetGlcdFont(const TGLCDFont* Font);
    void SelectLanguage(std::uint8_t Value);
    std::uint8_t Language() const { return FLanguage; }
    // Rebuilds the editor's text from the settings; its undo history is
    // cleared. A filter error is raised to the caller, the old text stays.
    void UpdatePreview();
    // The source for Language from the current settings; empty without a font.
    void BuildSource(std::uint8_t Language, QString& Text) const;
    // The editor's whole text, exactly as it holds it.
    QString EditorText() const;

    void tbLanguagesChange(int Index);
    void chkAddModuleDeclClick();
    void btnCopyToClipboardClick();
    void btnSaveClick();

    QLineEdit* edtFontName = nullptr;
    QSpinBox* edtRangeFrom = nullptr;
    QSpinBox* edtRangeTo = nullptr;
    QCheckBox* chkAddModuleDecl = nullptr;
    QLabel* lblModuleName = nullptr;
    QLineEdit* edtModuleName = nullptr;
    QGroupBox* grpbLibrary = nullptr;
    QRadioButton* rbMikroEGlcdLib = nullptr;
    QRadioButton* rbVornexLib = nullptr;
    QLabel* lblWarnVornexLib = nullptr;
    QLabel* ImgWarning = nullptr;
    QTabBar* tbLanguages = nullptr;
    QsciScintilla* SynEditSrc = nullptr;
    QPushButton* btnCopyToClipboard = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    // Shows why the source may not be saved or copied (a range without a
    // character, a name the file cannot hold); false when it may.
    bool SourceRefused() const;
    // An event's preview rebuild: a failure is shown, the window stays open.
    void PreviewFromEvent();
    void SetEditorText(const QString& Text);
    QString SelectedEditorText() const;

    const TGLCDFont* FFont = nullptr;
    std::uint8_t FLanguage = 0;
    QsciLexer* FLexers[3] = {};
    // The last folder saved to, for the next save dialog.
    QString FSaveDir;
};
