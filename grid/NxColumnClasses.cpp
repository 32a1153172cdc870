#include "NxColumnClasses.h"

#include "NxDisplays.h"
#include "NxEdit.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QApplication>
#include <QStyleOption>

void TNxImageList::Draw(QPainter& Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (Index < 0 || Index >= Count())
        return;
    const QPixmap& P = FImages[static_cast<size_t>(Index)];
    if (Enabled) {
        Canvas.drawPixmap(X, Y, P);
        return;
    }
    QStyleOption Opt;
    Opt.palette = QApplication::palette();
    Canvas.drawPixmap(X, Y, QApplication::style()->generatedIconPixmap(QIcon::Disabled, P, &Opt));
}

TNxTextColumn::TNxTextColumn()
{
    FDisplay = std::make_unique<TTextualColumnDisplay>(this);
    FTextBefore.clear();
    FTextAfter.clear();
    SetDefaultValue(QString());
    SetOptions(Options() | coShowTextFitHint);
}

int TNxTextColumn::GetTextWidth(const QString& Text) const
{
    return QFontMetrics(Font()).horizontalAdvance(Text) + 5;
}

void TNxTextColumn::PrepareEditor(TNxCustomEdit* Editor)
{
    TNxCustomColumn::PrepareEditor(Editor);
    if (Editor)
        Editor->SetWrapKind(wkEllipsis);
}

TNxCustomEdit* TNxTextColumn::CreateEditor() const
{
    return new TNxEdit;
}

void TNxTextColumn::Assign(const TNxCustomColumn& Source)
{
    const std::weak_ptr<char> Alive = Life();
    TNxCustomColumn::Assign(Source);
    // A handler of the grid's may have deleted the column on the way.
    if (Alive.expired())
        return;
    if (auto* T = dynamic_cast<const TNxTextColumn*>(&Source)) {
        SetTextAfter(T->FTextAfter);
        SetTextBefore(T->FTextBefore);
    }
}

TNxImageColumn::TNxImageColumn()
{
    FDisplay = std::make_unique<TImageColumnDisplay>(this);
    FTransparent = true;
    SetDefaultValue(QStringLiteral("0"));
    SetSortType(stNumeric);
    SetKind(ckInteger);
}

void TNxImageColumn::Assign(const TNxCustomColumn& Source)
{
    const std::weak_ptr<char> Alive = Life();
    TNxCustomColumn::Assign(Source);
    // A handler of the grid's may have deleted the column on the way.
    if (Alive.expired())
        return;
    if (auto* I = dynamic_cast<const TNxImageColumn*>(&Source))
        SetImages(I->FImages);
}
