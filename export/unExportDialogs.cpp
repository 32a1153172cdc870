#include "unExportDialogs.h"

#include "mbTBXGroupBox.h"
#include "mbTBXPanel.h"
#include "unHelpers.h"

#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
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
