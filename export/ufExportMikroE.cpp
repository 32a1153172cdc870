#include "ufExportMikroE.h"

#include "DwError.h"
#include "unBasicLexer.h"
#include "unDialogControls.h"
#include "unExportFile.h"
#include "unExportFilters.h"
#include "unHelpers.h"
#include "unMessageService.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexerpascal.h>
#include <Qsci/qsciscintilla.h>

namespace {

// What each tab's language changes in the window; index Language - 1.
struct TLanguageCaptions {
    const char* GlcdLib;
    const char* ModuleCheck; // null: unchanged, the module controls hidden
    const char* ModuleLabel;
    const char* DefaultExt;
};
constexpr TLanguageCaptions LanguageCaptions[3] = {
    {"mikroBasic GLCD Lib", "Add MODULE declaration (+Impl. section)", "Module Name", ".pbas"},
    {"mikroPascal GLCD Lib", "Add UNIT declaration (+Impl. section)", "Unit Name", ".ppas"},
    {"mikroC GLCD Lib", nullptr, nullptr, ".c"},
};

const QString SaveFilter = QStringLiteral("mikroBasic font files (*.pbas)|*.pbas|mikroPascal font files (*.ppas)|*.ppas|"
                                          "mikroC font files (*.c)|*.c|Text files (*.txt)|*.txt|All files (*.*)|*.*");

QFont PreviewFont()
{
    QFont F(QStringLiteral("Courier New"), 10);
    F.setStyleHint(QFont::Monospace);
    return F;
}

} // namespace

TfrmMikroEExport::TfrmMikroEExport(QWidget* Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("frmMikroEExport"));
    setWindowTitle(QStringLiteral("Export for MikroElektronika Compilers"));
    setSizeGripEnabled(true);
    auto* Panel = FillWithThemedPanel(*this);
    auto* Main = new QVBoxLayout(Panel);
    Main->setContentsMargins(8, 8, 8, 8);

    // Name, range and wrapper on the left, the library choice on the right.
    auto* Top = new QHBoxLayout;
    auto* Fields = new QGridLayout;
    edtFontName = NewNameEdit("edtFontName", QStringLiteral("Untitled"));
    AddLabelled(*Fields, 0, 0, "lblFontName", QStringLiteral("Font Name"), edtFontName);
    edtRangeFrom = NewRangeBox("edtRangeFrom", 32);
    edtRangeTo = NewRangeBox("edtRangeTo", 126);
    auto* Range = new QHBoxLayout;
    auto* lblFrom = Named(new QLabel(QStringLiteral("From Char ")), "lblRangeFrom");
    auto* lblTo = Named(new QLabel(QStringLiteral("To Char ")), "lblRangeTo");
    Range->addWidget(lblFrom);
    Range->addWidget(edtRangeFrom);
    Range->addSpacing(12);
    Range->addWidget(lblTo);
    Range->addWidget(edtRangeTo);
    Range->addStretch(1);
    Fields->addLayout(Range, 1, 0, 1, 2);
    chkAddModuleDecl = Named(new QCheckBox(QStringLiteral("Add module declaration")), "chkAddModuleDecl");
    Fields->addWidget(chkAddModuleDecl, 2, 0, 1, 2);
    edtModuleName = NewNameEdit("edtModuleName");
    lblModuleName = AddLabelled(*Fields, 3, 0, "lblModuleName", QStringLiteral("Module Name"), edtModuleName);
    // Hidden on a tab, the module controls keep their room: the controls every
    // tab shares stay where a click aimed from another tab lands.
    for (QWidget* W : std::initializer_list<QWidget*>{chkAddModuleDecl, lblModuleName, edtModuleName}) {
        QSizePolicy P = W->sizePolicy();
        P.setRetainSizeWhenHidden(true);
        W->setSizePolicy(P);
    }
    Top->addLayout(Fields, 3);

    grpbLibrary = NewThemedGroupBox(QStringLiteral("Generate Code For Use With "), "grpbLibrary");
    auto* Library = new QGridLayout(grpbLibrary);
    rbMikroEGlcdLib = Named(new QRadioButton(QStringLiteral("GLCD Lib")), "rbMikroEGlcdLib");
    rbVornexLib = Named(new QRadioButton(QStringLiteral("Vornex Lib")), "rbVornexLib");
    rbVornexLib->setChecked(true);
    rbMikroEGlcdLib->setEnabled(false);
    ImgWarning = Named(new QLabel, "ImgWarning");
    const QIcon Warning = DialogIcon(QStringLiteral("Warning"));
    ImgWarning->setPixmap((Warning.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxWarning) : Warning)
                              .pixmap(16, 16));
    lblWarnVornexLib =
        Named(new QLabel(QStringLiteral("Font height > 8bits, only Vornex lib available")), "lblWarnVornexLib");
    ImgWarning->hide();
    lblWarnVornexLib->hide();
    Library->addWidget(rbMikroEGlcdLib, 0, 0, 1, 2);
    Library->addWidget(rbVornexLib, 1, 0, 1, 2);
    Library->addWidget(ImgWarning, 2, 0);
    Library->addWidget(lblWarnVornexLib, 2, 1);
    Library->setColumnStretch(1, 1);
    Top->addWidget(grpbLibrary, 2);
    Main->addLayout(Top);

    tbLanguages = Named(new QTabBar, "tbLanguages");
    for (const char* Tab : {"mikroBasic ", "mikroPascal ", "mikroC "})
        tbLanguages->addTab(QString::fromLatin1(Tab));
    tbLanguages->setExpanding(false);
    Main->addWidget(tbLanguages);

    SynEditSrc = Named(new QsciScintilla, "SynEditSrc");
    SynEditSrc->setUtf8(true);
    SynEditSrc->setFont(PreviewFont());
    SynEditSrc->setEolMode(QsciScintilla::EolWindows);
    SynEditSrc->setMarginWidth(1, 0);
    Main->addWidget(SynEditSrc, 1);
    FLexers[0] = new TBasicLexer(this);
    FLexers[1] = new QsciLexerPascal(this);
    FLexers[2] = new QsciLexerCPP(this);
    for (QsciLexer* L : FLexers) {
        L->setDefaultFont(PreviewFont());
        L->setFont(PreviewFont(), -1);
    }

    const TSourceButtons Buttons = AddSourceButtons(*this, *Main);
    btnCopyToClipboard = Buttons.btnCopyToClipboard;
    btnSave = Buttons.btnSave;
    btnCancel = Buttons.btnCancel;

    FormCreate();

    connect(edtFontName, &QLineEdit::textChanged, this, [this] { PreviewFromEvent(); });
    connect(edtRangeFrom, &QSpinBox::valueChanged, this, [this] { PreviewFromEvent(); });
    connect(edtRangeTo, &QSpinBox::valueChanged, this, [this] { PreviewFromEvent(); });
    connect(chkAddModuleDecl, &QCheckBox::clicked, this, [this] { chkAddModuleDeclClick(); });
    connect(edtModuleName, &QLineEdit::textChanged, this, [this] {
        if (chkAddModuleDecl->isChecked())
            PreviewFromEvent();
    });
    for (QRadioButton* B : {rbMikroEGlcdLib, rbVornexLib})
        connect(B, &QRadioButton::toggled, this, [this](bool On) {
            if (On)
                PreviewFromEvent();
        });
    connect(tbLanguages, &QTabBar::currentChanged, this, [this](int Index) { tbLanguagesChange(Index); });
    connect(btnCopyToClipboard, &QPushButton::clicked, this, [this] { btnCopyToClipboardClick(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });

    resize(624, 442);
}

void TfrmMikroEExport::FormCreate()
{
    ApplyUIFont(*this);
    // As wide as its widest caption on any tab, so the fields beside it stay put.
    const QFontMetrics Metrics = lblModuleName->fontMetrics();
    int LabelWidth = 0;
    for (const TLanguageCaptions& C : LanguageCaptions)
        if (C.ModuleLabel)
            LabelWidth = std::max(LabelWidth, Metrics.horizontalAdvance(QString::fromLatin1(C.ModuleLabel)));
    lblModuleName->setMinimumWidth(LabelWidth);
    edtModuleName->setEnabled(chkAddModuleDecl->isChecked());
    tbLanguages->setCurrentIndex(0);
    SelectLanguage(lgMikroBasic);
}

void TfrmMikroEExport::SetGlcdFont(const TGLCDFont* Font)
{
    if (Font)
        FFont = Font;
}

void TfrmMikroEExport::SelectLanguage(std::uint8_t Value)
{
    FLanguage = Value;
    if (Value < lgMikroBasic || Value > lgMikroC)
        return;
    const TLanguageCaptions& C = LanguageCaptions[Value - 1];
    SynEditSrc->setLexer(FLexers[Value - 1]);
    // No fold margin is shown and the source has no conditional sections:
    // folding and preprocessor tracking would only double the styling time.
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_SETPROPERTY, "fold", "0");
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_SETPROPERTY, "lexer.cpp.track.preprocessor", "0");
    rbMikroEGlcdLib->setText(QString::fromLatin1(C.GlcdLib));
    const bool Module = C.ModuleCheck != nullptr;
    if (Module) {
        chkAddModuleDecl->setText(QString::fromLatin1(C.ModuleCheck));
        lblModuleName->setText(QString::fromLatin1(C.ModuleLabel));
    }
    chkAddModuleDecl->setVisible(Module);
    edtModuleName->setVisible(Module);
    lblModuleName->setVisible(Module);
}

void TfrmMikroEExport::BuildSource(std::uint8_t Language, QString& Text) const
{
    Text.clear();
    if (!FFont)
        return;
    TMikroElektronikaFilter Filter(FFont, true, edtRangeFrom->value(), edtRangeTo->value(), edtFontName->text());
    Filter.SetLanguage(Language);
    Filter.UseVornexLib = rbVornexLib->isChecked();
    QString S = Filter.Execute();

    const QString Crlf = QStringLiteral("\r\n");
    const QString Mark = Language == lgMikroBasic ? QStringLiteral("'") : QStringLiteral("//");
    if (rbVornexLib->isChecked())
        S = Crlf + Mark + QStringLiteral("WARNING: This Font Require Vornex Lib.") + Crlf + Mark +
            QStringLiteral("         You can not use it with MikroE GLCD Lib.") + Crlf + S;
    else
        S = Crlf + Mark + QStringLiteral("WARNING: This Font is usable only with MikroE GLCD Lib.") + Crlf + Mark +
            QStringLiteral("         Vornex Lib does not handle this font.") + Crlf + S;

    if (Language != lgMikroC && chkAddModuleDecl->isChecked()) {
        const QString M = SpacesToUnderscores(edtModuleName->text());
        if (Language == lgMikroBasic)
            S = QStringLiteral("module ") + M + Crlf + S + Crlf + Crlf + QStringLiteral("implements ") + Crlf +
                QStringLiteral("end.");
        else if (Language == lgMikroPascal)
            S = QStringLiteral("Unit ") + M + QStringLiteral(";") + Crlf + S + Crlf + Crlf +
                QStringLiteral("implementation ") + Crlf + QStringLiteral("end.");
    }
    Text = S;
}

void TfrmMikroEExport::UpdatePreview()
{
    QString Text;
    BuildSource(FLanguage, Text);
    SetEditorText(Text);
}

void TfrmMikroEExport::PreviewFromEvent()
{
    try {
        UpdatePreview();
    } catch (const EDotwrightError& E) {
        MessageService().MessageDlg(E.Message(), TMsgDlgType::mtError, mbOK);
    } catch (const std::exception& E) {
        MessageService().MessageDlg(QString::fromLocal8Bit(E.what()), TMsgDlgType::mtError, mbOK);
    }
}

// QScintilla's setText and text() stop at a NUL and the editor's own copy
// changes line ends, so the bytes go in and out with their length.
void TfrmMikroEExport::SetEditorText(const QString& Text)
{
    const QByteArray Bytes = Text.toUtf8();
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(Bytes.size()),
                              Bytes.constData());
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
}

QString TfrmMikroEExport::EditorText() const
{
    const long Length = SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    QByteArray Bytes(Length + 1, '\0');
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(Length + 1), Bytes.data());
    Bytes.chop(1);
    return QString::fromUtf8(Bytes);
}

QString TfrmMikroEExport::SelectedEditorText() const
{
    const long Start = SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long End = SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    QByteArray Bytes(End - Start + 1, '\0');
    SynEditSrc->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, Start, End, Bytes.data());
    Bytes.chop(1);
    return QString::fromUtf8(Bytes);
}

void TfrmMikroEExport::tbLanguagesChange(int Index)
{
    if (Index >= 0 && Index <= 2)
        SelectLanguage(std::uint8_t(Index + 1));
    PreviewFromEvent();
}

void TfrmMikroEExport::chkAddModuleDeclClick()
{
    edtModuleName->setEnabled(chkAddModuleDecl->isChecked());
    PreviewFromEvent();
}

bool TfrmMikroEExport::SourceRefused() const
{
    const QString File = QStringLiteral("an export file");
    // The module controls count only where the language has them.
    const bool Module = FLanguage != lgMikroC && chkAddModuleDecl->isChecked();
    // Named as the tab's label names it: a module or a unit.
    const QString ModuleField = lblModuleName->text().toLower();
    return RefuseEmptyRange(edtRangeFrom->value(), edtRangeTo->value()) ||
           RefuseNonWin1252(QStringLiteral("font name"), edtFontName->text(), File) ||
           (Module && RefuseNonWin1252(ModuleField, edtModuleName->text(), File));
}

void TfrmMikroEExport::btnCopyToClipboardClick()
{
    if (SourceRefused())
        return;
    // With nothing selected the whole text goes, and no selection is left behind.
    QApplication::clipboard()->setText(SynEditSrc->hasSelectedText() ? SelectedEditorText() : EditorText());
}

void TfrmMikroEExport::btnSaveClick()
{
    if (SourceRefused())
        return;
    int FilterIndex = tbLanguages->currentIndex() + 1;
    QString FileName = MessageService().SaveFileNameFiltered(this, SaveFilter, FilterIndex, FSaveDir);
    if (FileName.isEmpty())
        return;
    if (FLanguage >= lgMikroBasic && FLanguage <= lgMikroC)
        FileName = CompletedExportName(FileName, QString::fromLatin1(LanguageCaptions[FLanguage - 1].DefaultExt));
    if (FileName.isEmpty())
        return;
    // Every line of the file ends in CR LF, the last one too; a text that
    // already ends so gets no empty line more.
    QString Text = EditorText();
    if (!Text.isEmpty() && !Text.endsWith(QStringLiteral("\r\n")))
        Text += QStringLiteral("\r\n");
    (void)SaveExportFile(FileName, Text);
}
