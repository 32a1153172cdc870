#include "ufNewFont.h"

#include "mbTBXGroupBox.h"
#include "unDialogControls.h"
#include "unMessageService.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

bool AcceptFontDialogValues(const QString& Name, int From, int To)
{
    if (std::all_of(Name.begin(), Name.end(), [](QChar C) { return C.unicode() <= 32; })) {
        MessageService().MessageDlg(QStringLiteral("You must give a NAME to the new font"),
                                    TMsgDlgType::mtError, mbOK);
        return false;
    }
    // The project file is Windows-1252: any other character would come back as "?".
    return !RefuseNonWin1252(QStringLiteral("font name"), Name, QStringLiteral("a font project")) &&
           !RefuseEmptyRange(From, To);
}

namespace {

QLabel* Caption(QWidget* Parent, const QString& Text, const QRect& Place)
{
    auto* L = new QLabel(Text, Parent);
    L->setGeometry(Place);
    return L;
}

} // namespace

TfrmNewFont::TfrmNewFont(QWidget* Owner) : QDialog(Owner)
{
    setObjectName(QStringLiteral("frmNewFont"));
    setWindowTitle(QStringLiteral("New Font"));
    setFixedSize(327, 179);
    ApplyUIFont(*this);

    FPanel = FillWithThemedPanel(*this, "pnlMain");

    Caption(FPanel, QStringLiteral("Font Name"), QRect(16, 16, 64, 16));
    edtFontName = new QLineEdit(QStringLiteral("Untitled"), FPanel);
    edtFontName->setObjectName(QStringLiteral("edtFontName"));
    edtFontName->setGeometry(88, 13, 223, 22);

    auto* Range = new TmbTBXGroupBox(QStringLiteral(" Range "), FPanel);
    Range->setObjectName(QStringLiteral("grpRange"));
    Range->setGeometry(16, 44, 140, 84);
    Caption(Range, QStringLiteral("From"), QRect(12, 24, 40, 16));
    edtRangeFrom = CreateSpin(Range, "edtRangeFrom", 0, 255, 32, QRect(60, 21, 64, 22));
    Caption(Range, QStringLiteral("To "), QRect(12, 52, 40, 16));
    edtRangeTo = CreateSpin(Range, "edtRangeTo", 0, 255, 126, QRect(60, 49, 64, 22));

    auto* Size = new TmbTBXGroupBox(QStringLiteral(" Font Size "), FPanel);
    Size->setObjectName(QStringLiteral("grpFontSize"));
    Size->setGeometry(171, 44, 140, 84);
    Caption(Size, QStringLiteral("Width"), QRect(12, 24, 40, 16))->setObjectName(QStringLiteral("lblWidth"));
    edtFontWidth = CreateSpin(Size, "edtFontWidth", 1, 50, 8, QRect(60, 21, 64, 22));
    Caption(Size, QStringLiteral("Height"), QRect(12, 52, 40, 16));
    edtFontHeight = CreateSpin(Size, "edtFontHeight", 1, 50, 8, QRect(60, 49, 64, 22));

    CreateOkCancel(this, FPanel, 88, 140, 84, btnOk, btnCancel);
}

void TfrmNewFont::done(int Result)
{
    if (Result == QDialog::Accepted &&
        !AcceptFontDialogValues(edtFontName->text(), edtRangeFrom->value(), edtRangeTo->value()))
        return;
    QDialog::done(Result);
}
