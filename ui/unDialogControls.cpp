#include "unDialogControls.h"

#include "mbTBXGroupBox.h"
#include "mbTBXPanel.h"
#include "unHelpers.h"
#include "unMessageService.h"

#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>
#include <QVBoxLayout>

namespace {

QPushButton* IconButton(const char* Name, const QString& Caption, const char* Icon, QWidget* Parent = nullptr)
{
    return Named(new QPushButton(DialogIcon(QString::fromLatin1(Icon)), Caption, Parent), Name);
}

} // namespace

QWidget* FillWithThemedPanel(QDialog& Dialog, const char* Name)
{
    auto* Outer = new QVBoxLayout(&Dialog);
    Outer->setContentsMargins(0, 0, 0, 0);
    auto* Panel = Named(new TmbTBXPanel(&Dialog), Name);
    Panel->SetThemeBackground(true);
    Outer->addWidget(Panel);
    return Panel;
}

QGroupBox* NewThemedGroupBox(const QString& Caption, const char* Name)
{
    return Named(new TmbTBXGroupBox(Caption), Name);
}

void ApplyUIFont(QWidget& Dialog)
{
    QFont F = Dialog.font();
    F.setFamily(GetUIFontName());
    Dialog.setFont(F);
}

QIcon DialogIcon(const QString& Name)
{
    const QString Path = QStringLiteral(":/icons/") + Name + QStringLiteral(".svg");
    return QFile::exists(Path) ? QIcon(Path) : QIcon();
}

QLabel* AddLabelled(QGridLayout& Grid, int Row, int Col, const char* LabelName, const QString& Caption,
                    QWidget* Field)
{
    auto* L = Named(new QLabel(Caption), LabelName);
    L->setBuddy(Field);
    Grid.addWidget(L, Row, Col);
    Grid.addWidget(Field, Row, Col + 1);
    return L;
}

namespace {

// Takes the control characters out of whatever reaches the field.
class TNoControlsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& Input, int& Pos) const override
    {
        const QString Kept = RemoveControls(Input);
        if (Kept.size() != Input.size()) {
            Pos = int(RemoveControls(Input.left(Pos)).size());
            Input = Kept;
        }
        return Acceptable;
    }
};

} // namespace

QLineEdit* NewNameEdit(const char* Name, const QString& Text)
{
    auto* E = Named(new QLineEdit, Name);
    E->setValidator(new TNoControlsValidator(E));
    E->setText(Text);
    return E;
}

QSpinBox* CreateSpin(QWidget* Parent, const char* Name, int Min, int Max, int Value, const QRect& Place)
{
    auto* S = Named(new QSpinBox(Parent), Name);
    S->setRange(Min, Max);
    S->setValue(Value);
    if (Place.isValid())
        S->setGeometry(Place);
    return S;
}

QSpinBox* NewRangeBox(const char* Name, int Value) { return CreateSpin(nullptr, Name, 0, 255, Value); }

QPushButton* NewButton(const char* Name, const QString& Caption, const char* Icon)
{
    auto* B = IconButton(Name, Caption, Icon);
    B->setMinimumWidth(82);
    return B;
}

void CreateOkCancel(QDialog* Dialog, QWidget* Parent, int Left, int Top, int Step, QPushButton*& Ok,
                    QPushButton*& Cancel)
{
    Ok = IconButton("btnOk", QStringLiteral("&Ok"), "DlgOk", Parent);
    Ok->setGeometry(Left, Top, 75, 25);
    Ok->setDefault(true);
    QObject::connect(Ok, &QPushButton::clicked, Dialog, &QDialog::accept);
    Cancel = IconButton("btnCancel", QStringLiteral("&Cancel"), "DlgCancel", Parent);
    Cancel->setGeometry(Left + Step, Top, 75, 25);
    QObject::connect(Cancel, &QPushButton::clicked, Dialog, &QDialog::reject);
}

TSourceButtons AddSourceButtons(QDialog& Dialog, QBoxLayout& Layout)
{
    TSourceButtons B;
    B.btnCopyToClipboard = NewButton("btnCopyToClipboard", QStringLiteral("Copy Code To Clipboard"), "DlgCopyToClipboard");
    B.btnSave = NewButton("btnSave", QStringLiteral(" &Save   "), "DlgSaveToFile");
    B.btnSave->setDefault(true);
    B.btnCancel = NewButton("btnCancel", QStringLiteral("&Close"), "DlgClose");
    auto* Row = new QHBoxLayout;
    Row->addWidget(B.btnCopyToClipboard);
    Row->addStretch(1);
    Row->addWidget(B.btnSave);
    Row->addWidget(B.btnCancel);
    Layout.addLayout(Row);
    QObject::connect(B.btnCancel, &QPushButton::clicked, &Dialog, &QDialog::reject);
    return B;
}

bool RefuseNonWin1252(const QString& Field, const QString& Text, const QString& Where)
{
    const QString Bad = FirstNonWin1252(Text);
    if (Bad.isEmpty())
        return false;
    MessageService().MessageDlg(QStringLiteral("The %1 cannot hold the character \"%2\": %3 stores only the "
                                               "characters of Windows-1252.")
                                    .arg(Field, Bad, Where),
                                TMsgDlgType::mtError, mbOK);
    return true;
}

bool RefuseEmptyRange(int From, int To)
{
    if (From <= To)
        return false;
    MessageService().MessageDlg(
        QStringLiteral("The range From %1 To %2 holds no character: From must not be above To.").arg(From).arg(To),
        TMsgDlgType::mtError, mbOK);
    return true;
}
