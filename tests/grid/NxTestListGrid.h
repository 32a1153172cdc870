#pragma once
// A TNextGrid set up like a list of characters: "Char", "Code" and a custom-drawn
// third column, full-row selection, a header, no border, and a focus the test sets.
#include "NextGrid.h"
#include "NxColumnClasses.h"

#include <QScrollBar>
#include <QStringList>

class TListGrid : public TNextGrid {
public:
    bool FFocus = true;
    int FClosedEditors = 0;
    QStringList Events;
    bool Focused() const override { return FFocus; }
    void CloseEditor() override { ++FClosedEditors; }

    TNxTextColumn* CharCol = nullptr;
    TNxTextColumn* CodeCol = nullptr;
    TNxImageColumn* LCDCol = nullptr;

    // Rows of RowHeight pixels; ClientHeight is the viewport's height.
    explicit TListGrid(int Rows = 0, int RowHeight = 16, int ClientHeight = 178, int ClientWidth = 200)
    {
        SetBorderStyle(bsNone);
        SetOptions(goDisableColumnMoving | goHeader | goSelectFullRow);
        SetAppearanceOptions(aoBoldTextSelection | aoHighlightSlideCells);
        SetGridLinesStyle(lsHorizontalOnly);
        CharCol = new TNxTextColumn;
        CharCol->Header().SetCaption("Char");
        CharCol->SetAlignment(taCenter);
        CodeCol = new TNxTextColumn;
        CodeCol->Header().SetCaption("Code");
        CodeCol->SetTextBefore(" ");
        LCDCol = new TNxImageColumn;
        LCDCol->Header().SetCaption("GLCD");
        LCDCol->SetDrawingOptions(doBackgroundOnly);
        Columns().Add(CharCol);
        Columns().Add(CodeCol);
        Columns().Add(LCDCol);
        CharCol->SetWidth(40);
        CodeCol->SetWidth(40);
        LCDCol->SetWidth(48);
        SetRowSize(RowHeight);
        // Without a shown window the viewport never learns its size.
        resize(ClientWidth + verticalScrollBar()->sizeHint().width(), ClientHeight);
        show();
        for (int I = 0; I < Rows; ++I) {
            AddRow(1);
            Cell(0, LastAddedRow)->SetAsString(QString(QChar(32 + I)));
            Cell(1, LastAddedRow)->SetAsInteger(32 + I);
        }
        OnSelectCell = [this](TNxCustomGridControl*, int C, int R) { Events << QString("select %1 %2").arg(C).arg(R); };
        OnDeselectCell = [this](TNxCustomGridControl*, int C, int R) {
            Events << QString("deselect %1 %2").arg(C).arg(R);
        };
    }

    QString SelectedRows() const
    {
        QStringList L;
        for (int R = 0; R < RowCount(); ++R)
            if (GetRowSelected(R))
                L << QString::number(R);
        return L.join(',');
    }
};
