#pragma once
// A TNextGrid with three text columns A (50 pixels), B (60) and C (70), a header
// of 18 pixels, rows of 16, no border and no grid lines, every event written
// into Events, and a script runner that sends real mouse events to it.
#include "NextGrid.h"
#include "NxColumnClasses.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QtTest>

class TSurfaceGrid : public TNextGrid {
public:
    QStringList Events;
    TNxTextColumn* Col[3] = {};

    explicit TSurfaceGrid(TGridOptions Extra = 0)
    {
        SetBorderStyle(bsNone);
        SetOptions(goHeader | Extra);
        const char* Names[] = {"A", "B", "C"};
        const int Widths[] = {50, 60, 70};
        for (int I = 0; I < 3; ++I) {
            Col[I] = new TNxTextColumn;
            Col[I]->SetName(Names[I]);
            Col[I]->Header().SetCaption(Names[I]);
            Columns().Add(Col[I]);
            Col[I]->SetWidth(Widths[I]);
        }
        resize(300, 200);
        show();
        const char* Fruit[] = {"apple", "Banana", "cherry", "apricot", "blueberry",
                               "avocado", "Cranberry", "date", "elder", "fig"};
        for (int R = 0; R < 10; ++R) {
            AddRow(1);
            SetCells(0, R, Fruit[R]);
            SetCells(1, R, QString::number(R * 10));
            SetCells(2, R, QString("c%1").arg(R));
        }
        OnHeaderClick = [this](TNxCustomGridControl*, int C) { Events << QString("hclick %1").arg(C); };
        OnColumnResize = [this](TNxCustomGridControl*, int C) { Events << QString("resize %1").arg(C); };
        OnColumnMove = [this](TNxCustomGridControl*, int C, int F, int T) {
            Events << QString("move %1 %2 %3").arg(C).arg(F).arg(T);
        };
        OnCellClick = [this](TNxCustomGridControl*, int C, int R) { Events << QString("click %1 %2").arg(C).arg(R); };
        OnSortColumn = [this](TNxCustomGridControl*, int C, bool Asc) {
            Events << QString("sort %1 %2").arg(C).arg(Asc ? "asc" : "desc");
        };
        OnRowMove = [this](TNxCustomGridControl*, int F, int T, bool&) { Events << QString("rowmove %1 %2").arg(F).arg(T); };
        OnHeaderDblClick = [this](TNxCustomGridControl*, int C) { Events << QString("hdbl %1").arg(C); };
        OnEdit = [this](TNxCustomGridControl*, int C, int R, const QString& V) {
            Events << QString("edit %1 %2 %3").arg(C).arg(R).arg(V);
        };
        OnEditAccept = [this](TNxCustomGridControl*, int C, int R, const QString& V, bool&) {
            Events << QString("accept %1 %2 %3").arg(C).arg(R).arg(V);
        };
        OnAfterEdit = [this](TNxCustomGridControl*, int C, int R, const QString& V) {
            Events << QString("after %1 %2 %3").arg(C).arg(R).arg(V);
        };
        OnInputAdded = [this](TNxCustomGridControl*) { Events << "added"; };
    }

    // Column names in display order, widths in creation order, visibility flags.
    QString Layout() const
    {
        QString Order, Widths, Vis;
        for (int P = 0; P < 3; ++P)
            Order += Columns().ItemByPosition(P)->Name();
        for (int I = 0; I < 3; ++I) {
            Widths += (I ? "," : "") + QString::number(Columns().Item(I)->Width());
            Vis += Columns().Item(I)->Visible() ? "1" : "0";
        }
        return QString("%1 %2 %3").arg(Order, Widths, Vis);
    }

    QString ColumnText(int ACol)
    {
        QStringList L;
        for (int R = 0; R < RowCount(); ++R)
            L << Cells(ACol, R);
        return L.join(',');
    }

    // Steps "p x,y" press, "m x,y" move with the left button down, "h x,y" move
    // with no button, "r x,y" release, "d x,y" double click, "R x,y" right release.
    void Run(const QString& Script)
    {
        Qt::MouseButtons Down;
        for (const QString& Step : Script.split(';', Qt::SkipEmptyParts)) {
            const QStringList T = Step.trimmed().split(' ');
            const QStringList XY = T.value(1).split(',');
            const QPoint P(XY.value(0).toInt(), XY.value(1).toInt());
            const QString Op = T[0];
            if (Op == "p") {
                QTest::mousePress(viewport(), Qt::LeftButton, {}, P);
                Down = Qt::LeftButton;
            } else if (Op == "d") {
                // As a platform sends it: press, release, double click, release.
                QTest::mousePress(viewport(), Qt::LeftButton, {}, P);
                QTest::mouseRelease(viewport(), Qt::LeftButton, {}, P);
                QMouseEvent E(QEvent::MouseButtonDblClick, P, viewport()->mapToGlobal(P), Qt::LeftButton,
                              Qt::LeftButton, {});
                QApplication::sendEvent(viewport(), &E);
                QTest::mouseRelease(viewport(), Qt::LeftButton, {}, P);
                Down = {};
            } else if (Op == "m" || Op == "h") {
                QMouseEvent E(QEvent::MouseMove, P, viewport()->mapToGlobal(P), Qt::NoButton,
                              Op == "m" ? Down : Qt::MouseButtons(), {});
                QApplication::sendEvent(viewport(), &E);
            } else if (Op == "r") {
                QTest::mouseRelease(viewport(), Qt::LeftButton, {}, P);
                Down = {};
            } else if (Op == "R") {
                QTest::mouseRelease(viewport(), Qt::RightButton, {}, P);
            }
        }
    }
};
