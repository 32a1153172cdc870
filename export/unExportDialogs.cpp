#include "unExportDialogs.h"

#include "mbTBXGroupBox.h"
#include "mbTBXPanel.h"
#include "unHelpers.h"

#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QIcon>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>
#include <QVBoxLayout>

QWidget* FillWithThemedPanel(QDialog& Dialog)
{
    auto* Outer = new QVBoxLayout(&Dialog);
    Outer->setContentsMargins(0, 0, 0, 0);
    auto* Panel = new TmbTBXPanel(&Dialog);
    Panel->setObjectName(QStringLiteral("pnlBack"));
    Panel->SetThemeBackground(true);
    Outer->addWidget(Panel);
    return Panel;
}

QGroupBox* NewThemedGroupBox(const QString& Caption, const char* Name)
{
    auto* G = new TmbTBXGroupBox(Caption);
    G->setObjectName(QString::fromLatin1(Name));
    return G;
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
    auto* L = new QLabel(Caption);
    L->setObjectName(QString::fromLatin1(LabelName));
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

QSpinBox* NewRangeBox(const char* Name, int Value)
{
    auto* S = Named(new QSpinBox, Name);
    S->setRange(0, 255);
    S->setValue(Value);
    return S;
}

QPushButton* NewButton(const char* Name, const QString& Caption, const char* Icon)
{
    auto* B = Named(new QPushButton(Caption), Name);
    B->setIcon(DialogIcon(QString::fromLatin1(Icon)));
    B->setMinimumWidth(82);
    return B;
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
