#include "ufOptimizeFont.h"

#include "unDialogControls.h"
#include "unHelpers.h"

#include <QCheckBox>
#include <QLabel>

void TBlankMarginBoxes::Create(QWidget* Parent, QPoint LabelPos, int BoxLeft, int FirstTop)
{
    lblRemove = new QLabel(QStringLiteral("Remove :"), Parent);
    lblRemove->setObjectName(QStringLiteral("lblRemove"));
    QFont F = lblRemove->font();
    F.setFamily(GetUIFontName());
    F.setBold(true);
    F.setUnderline(true);
    lblRemove->setFont(F);
    lblRemove->move(LabelPos);
    lblRemove->adjustSize();
    int Top = FirstTop;
    auto Box = [&](const char* Name, const char* Text) {
        auto* B = new QCheckBox(QString::fromLatin1(Text), Parent);
        B->setObjectName(QString::fromLatin1(Name));
        B->setChecked(true);
        B->move(BoxLeft, Top);
        B->adjustSize();
        Top += 24;
        return B;
    };
    chkBlankRowsTop = Box("chkBlankRowsTop", " Common blank Rows at TOP of all chars ");
    chkBlankRowsBottom = Box("chkBlankRowsBottom", " Common blank Rows at BOTTOM of all chars ");
    chkBlankColsLeft = Box("chkBlankColsLeft", " Common blank Columns at LEFT of all chars ");
    chkBlankColsRight = Box("chkBlankColsRight", " Common blank Columns at RIGHT of all chars ");
}

TOptimizeChoice TBlankMarginBoxes::Choice() const
{
    TOptimizeChoice C;
    C.ColsLeft = chkBlankColsLeft->isChecked();
    C.ColsRight = chkBlankColsRight->isChecked();
    C.RowsTop = chkBlankRowsTop->isChecked();
    C.RowsBottom = chkBlankRowsBottom->isChecked();
    return C;
}

int TBlankMarginBoxes::RightEdge() const
{
    int R = 0;
    for (const QCheckBox* B : {chkBlankRowsTop, chkBlankRowsBottom, chkBlankColsLeft, chkBlankColsRight})
        R = std::max(R, B->x() + B->width());
    return R;
}

TfrmOptimizeFont::TfrmOptimizeFont(QWidget* Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("frmOptimizeFont"));
    setWindowTitle(QStringLiteral("Optimize font"));
    setFixedSize(307, 213);
    ApplyUIFont(*this);

    FPanel = FillWithThemedPanel(*this, "pnlMain");
    Boxes.Create(FPanel, QPoint(16, 24), 32, 45);
    const int W = std::max(307, Boxes.RightEdge() + 16);
    setFixedSize(W, 213);
    const int ButtonsLeft = (W - 179) / 2;

    CreateOkCancel(this, FPanel, ButtonsLeft, 176, 104, btnOk, btnCancel);
}
