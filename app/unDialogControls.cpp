#include "unDialogControls.h"

#include "mbTBXPanel.h"
#include "udmGlobal.h"

#include <QDialog>
#include <QPushButton>
#include <QSpinBox>

TmbTBXPanel* CreateDialogPanel(QDialog* Dialog, const QRect& Place)
{
    auto* P = new TmbTBXPanel(Dialog);
    P->setObjectName(QStringLiteral("pnlMain"));
    P->SetThemeBackground(true);
    P->setGeometry(Place);
    return P;
}

QSpinBox* CreateSpin(QWidget* Parent, const char* Name, int Min, int Max, int Value, const QRect& Place)
{
    auto* S = new QSpinBox(Parent);
    S->setObjectName(QString::fromLatin1(Name));
    S->setRange(Min, Max);
    S->setValue(Value);
    S->setGeometry(Place);
    return S;
}

void CreateOkCancel(QDialog* Dialog, QWidget* Parent, int Left, int Top, int Step, QPushButton*& Ok,
                    QPushButton*& Cancel)
{
    Ok = new QPushButton(dmGlobal().Icon(QStringLiteral("DlgOk")), QStringLiteral("&Ok"), Parent);
    Ok->setObjectName(QStringLiteral("btnOk"));
    Ok->setGeometry(Left, Top, 75, 25);
    Ok->setDefault(true);
    QObject::connect(Ok, &QPushButton::clicked, Dialog, &QDialog::accept);
    Cancel = new QPushButton(dmGlobal().Icon(QStringLiteral("DlgCancel")), QStringLiteral("&Cancel"), Parent);
    Cancel->setObjectName(QStringLiteral("btnCancel"));
    Cancel->setGeometry(Left + Step, Top, 75, 25);
    QObject::connect(Cancel, &QPushButton::clicked, Dialog, &QDialog::reject);
}
