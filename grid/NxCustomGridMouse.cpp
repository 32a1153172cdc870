// The grid's mouse: selection and clicks on the rows, header press, click and
// sorting, column resizing and dragging, row resizing and dragging, hints and
// the wheel.
#include "NxCustomGrid.h"

#include "DwError.h"
#include "NxPopupControl.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

void TNxCustomGrid::mousePressEvent(QMouseEvent* Event)
{
    TNxCustomGridControl::mousePressEvent(Event);
    Event->accept();
    Guarded([&] { MouseDown(Event->position().toPoint(), Event->button(), Event->modifiers(), false); });
}

void TNxCustomGrid::mouseDoubleClickEvent(QMouseEvent* Event)
{
    Event->accept();
    Guarded([&] {
        const QPoint P = Event->position().toPoint();
        MouseDown(P, Event->button(), Event->modifiers(), true);
        if (GetAreaAt(P) == gaHeader) {
            const int Col = ColumnAtX(P.x());
            if (Col >= 0)
                DoHeaderDblClick(Col);
        }
    });
}

void TNxCustomGrid::mouseMoveEvent(QMouseEvent* Event)
{
    TNxCustomGridControl::mouseMoveEvent(Event);
    Guarded([&] {
        // The drag box follows the pointer; the press holds the mouse for the grid.
        if (FColumnDragging)
            FDragBox->DragMove(Event->globalPosition().toPoint());
        else
            MouseMove(Event->position().toPoint());
    });
}

void TNxCustomGrid::mouseReleaseEvent(QMouseEvent* Event)
{
    TNxCustomGridControl::mouseReleaseEvent(Event);
    Event->accept();
    Guarded([&] {
        if (FColumnDragging) {
            // A drag ends with its drop only; the press that began it clicks nothing.
            FDragBox->DragRelease(Event->globalPosition().toPoint(), Event->button());
            return;
        }
        MouseUp(Event->position().toPoint(), Event->button());
    });
}

void TNxCustomGrid::MouseDown(const QPoint& P, Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, bool Double)
{
    FPressPoint = P;
    if (Double)
        FDblClickPending = true;
    if (isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus && !hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (Columns().Count() == 0)
        return;
    const int Area = GetAreaAt(P);
    // A press on the header or the footer, or on a row edge, leaves an open edit
    // where it is: the editor keeps the keys, and follows its cell through what
    // the press starts.
    if ((Editing() || InputEditing()) && ActiveEditor() && ActiveEditor()->isVisible()
        && (Area == gaHeader || Area == gaFooter
            || (Area == gaIndicator && (Options() & goRowResizing) && GetRowEdgeAt(P.x(), P.y()) >= 0)))
        ActiveEditor()->setFocus(Qt::MouseFocusReason);
    if (!(Button == Qt::LeftButton || (Button == Qt::RightButton && !MultiSelected())))
        return;
    const int Edge = (Options() & goHeader) && Area == gaHeader ? GetColumnEdgeAt(P.x()) : -1;
    if (Edge >= 0) {
        if (Double) {
            BestFitColumn(Edge);
            return;
        }
        TNxCustomColumn* C = Columns().Item(Edge);
        FColumnResizing = true;
        FResizedColumn = Edge;
        FResizeChange = 0;
        const int S = ColumnScreenLeft(C);
        FResizeLeftX = C->Index() == 0 ? S : S - 1;
        FResizeLineX = S + C->Width() - 1;
        Invalidate();
        return;
    }
    auto RowsPress = [&] {
        if (Editing() || InputEditing()) {
            const bool WasInput = InputEditing();
            (void)EndEdit();
            if (WasInput)
                AcceptInput();
            CloseEditor();
        }
        if (GridStyle() == gsReport)
            SetInputSelected(false);
        FPressCol = CellColumnAt(P);
        const int Pressed = RowAtY(P.y());
        FPressRowHold.emplace(*this, Pressed);
        if (RowCount() == 0)
            return;
        FPressedRowHold.emplace(*this, Pressed);
        SelectCell(FPressCol >= 0 ? FPressCol : SelectedColumn(), IsValidRow(Pressed) ? Pressed : SelectedRow(),
                   ShiftOf(Modifiers));
    };
    switch (Area) {
    case gaRows: RowsPress(); break;
    case gaHeader:
        if (Double)
            break;
        FPressedColumn = ColumnAtX(P.x());
        if (Columns().IsValidIndex(FPressedColumn) && (Columns().Item(FPressedColumn)->Options() & coCanClick)) {
            FHeaderPressed = true;
            FPressedHeaderColumn = FPressedColumn;
            RefreshHeaderColumn(FPressedColumn);
        } else {
            FPressedColumn = -1;
        }
        break;
    case gaIndicator:
        if ((Options() & goRowResizing) && GetRowEdgeAt(P.x(), P.y()) >= 0) {
            FResizedRow = GetRowEdgeAt(P.x(), P.y());
            FRowLineY = P.y();
            Invalidate();
        } else {
            RowsPress();
        }
        break;
    case gaFooter: break;
    // The selection leaves the edited cell for the input line: the edit ends first.
    case gaInput:
    default:
        (void)EndEdit();
        CloseEditor();
        break;
    }
}

void TNxCustomGrid::MouseMove(const QPoint& P)
{
    if (Columns().Count() == 0 || Rolling())
        return;
    if (FColumnResizing && Columns().IsValidIndex(FResizedColumn)) {
        TNxCustomColumn* C = Columns().Item(FResizedColumn);
        const int Left = ColumnScreenLeft(C);
        FResizeChange = std::max(P.x() - (Left + C->Width()), 8 - C->Width());
        FResizeLineX = Left + C->Width() + FResizeChange - 1;
        Invalidate();
        return;
    }
    if (FResizedRow >= 0) {
        if (Options() & goRowResizing) {
            FRowLineY = std::max(P.y(), RowTop(FResizedRow) + 8);
            Invalidate();
        }
        return;
    }
    const int Area = GetAreaAt(P);
    if (Area != gaHeader) {
        if (FHint->Mode == hmHeader)
            HideHint();
        FHintHeaderColumn = -1;
        if (FHotHeaderColumn >= 0) {
            RefreshHeaderColumn(FHotHeaderColumn);
            FHotHeaderColumn = -1;
        }
    }
    if (Area != gaFooter && FHint->Mode == hmFooter) {
        HideHint();
        FHintFooterColumn = -1;
    }
    switch (Area) {
    case gaHeader: HeaderMove(P); break;
    case gaFooter: {
        SetCursorNumber(0);
        const int Col = ColumnAtX(P.x());
        if (Col >= 0 && Col != FHintFooterColumn && !Columns().Item(Col)->Footer().Hint().isEmpty()) {
            FHintFooterColumn = Col;
            ShowHint({ColumnScreenLeft(Columns().Item(Col)), ClientHeight() + 2}, Columns().Item(Col)->Footer().Hint(),
                     hmFooter);
        }
        break;
    }
    case gaRows: RowsMove(P); break;
    case gaIndicator:
        if ((Options() & goRowResizing) && GetRowEdgeAt(P.x(), P.y()) >= 0)
            SetCursorNumber(3003);
        else if (P.y() >= GetBodyRect().Top && P.y() < GetBodyRect().Bottom)
            SetCursorNumber(3006);
        else
            SetCursorNumber(0);
        break;
    default:
        HideHint();
        SetCursorNumber(0);
        break;
    }
}

void TNxCustomGrid::HeaderMove(const QPoint& P)
{
    SetCursorNumber(GetColumnEdgeAt(P.x()) >= 0 ? 3000 : 0);
    if (Columns().IsValidIndex(FPressedColumn) && !FColumnResizing && !FColumnDragging
        && !(Columns().Item(FPressedColumn)->Options() & coDisableMoving) && !(Options() & goDisableColumnMoving)
        && PointOutsideBox(P, FPressPoint, 3)) {
        StartColumnDrag(P);
        return;
    }
    const int Col = ColumnAtX(P.x());
    if (Col == FHotHeaderColumn)
        return;
    const int Old = FHotHeaderColumn;
    FHotHeaderColumn = Col;
    if (Col >= 0 && Col != FHintHeaderColumn) {
        TNxCustomColumn* C = Columns().Item(Col);
        if (!C->Header().Hint().isEmpty()) {
            FHintHeaderColumn = Col;
            ShowHint({ColumnScreenLeft(C), HeaderSize() + 2}, C->Header().Hint(), hmHeader);
        } else if (FHint->Mode == hmHeader) {
            HideHint();
            FHintHeaderColumn = -1;
        }
    }
    if (ActiveDisplay()->StyleFlags() & 1) {
        RefreshHeaderColumn(Old);
        RefreshHeaderColumn(Col);
    }
}

void TNxCustomGrid::StartColumnDrag(const QPoint& P)
{
    TNxCustomColumn* C = Columns().Item(FPressedColumn);
    FColumnDragging = true;
    // The press becomes a drag: the header is no longer pressed and will not be clicked.
    FHeaderPressed = false;
    RefreshHeaderColumn(FPressedHeaderColumn);
    FPressedHeaderColumn = -1;
    FDragBox->setFont(font());
    const QPoint TopLeft = viewport()->mapToGlobal(QPoint(ColumnScreenLeft(C), 0));
    FDragBox->setGeometry(TopLeft.x(), TopLeft.y(), C->Width(), HeaderSize());
    const QPoint S = viewport()->mapToGlobal(P);
    FDragBox->BeginDrag(S.x(), S.y(), false, C);
}

void TNxCustomGrid::RowsMove(const QPoint& P)
{
    const unsigned Stamp = ChangeCount();
    const int Col = CellColumnAt(P);
    const int Row = RowAtY(P.y());
    // A row-height handler changed the grid on the way: the next move looks again.
    if (ChangeCount() != Stamp)
        return;
    if (IsValidRow(PressedRow()) && (Options() & goRowMoving) && !FRowDragging && PointOutsideBox(P, FPressPoint, 5))
        FRowDragging = true;
    if (FRowDragging) {
        const int Drop = GetDropRow(P.y());
        if (Drop != FDropRow) {
            FDropRow = Drop;
            if (Drop == FirstRow() && FirstRow() > 0)
                VertScrollBar().SetPosition(VertScrollBar().Position() - 1);
            Invalidate();
        }
        return;
    }
    const bool Changed = Col != FHotCol || Row != FHotRow;
    FHotCol = Col;
    FHotRow = Row;
    if (Editing() && Col == EditCol() && Row == EditRow()) {
        HideHint();
        return;
    }
    if (Col < 0 || !IsValidRow(Row)) {
        HideHint();
        SetCursorNumber(0);
        return;
    }
    SetCursorNumber(Columns().Item(Col)->Cursor());
    if (Changed || !FHint->isVisible())
        CellHint(Col, Row);
}

void TNxCustomGrid::CellHint(int ACol, int ARow)
{
    // The row-height and colouring handlers that run on the way may change the grid.
    const unsigned Stamp = ChangeCount();
    auto Changed = [&] {
        if (ChangeCount() == Stamp)
            return false;
        HideHint();
        return true;
    };
    const TRect R = GetCellRect(ACol, ARow);
    if (Changed())
        return;
    if (Columns().Item(ACol)->Options() & coShowTextFitHint) {
        const bool Bold = GetCellState(ACol, ARow) & csBoldTextSelection;
        if (Changed())
            return;
        TNxCustomColumn* C = Columns().Item(ACol);
        QFont F = C->Font();
        if (Bold)
            F.setBold(true);
        const int W = QFontMetrics(F).horizontalAdvance(C->FormatText(GetCellText(ACol, ARow)));
        if (W >= C->Width() - 4) {
            ShowHint({R.Left, R.Top}, GetCellText(ACol, ARow), hmTextFit);
            return;
        }
    }
    const QString Hint = GetCellHint(ACol, ARow);
    if (FHint->Mode != hmTextFit && !Hint.isEmpty()) {
        const int X = GridStyle() == gsSlides ? R.Left + SlideSize() : R.Right;
        ShowHint({X, R.Top - 20}, Hint, hmCell, 250);
        return;
    }
    HideHint();
}

void TNxCustomGrid::MouseUp(const QPoint& P, Qt::MouseButton Button)
{
    const int Pressed = FPressedColumn;
    FPressedColumn = -1;
    const QPoint Press = FPressPoint;
    FPressPoint = {-1, -1};
    if (FRowDragging) {
        int D = GetDropRow(P.y());
        const int From = PressedRow();
        if (D > From)
            --D;
        FRowDragging = false;
        FDropRow = -1;
        FPressRowHold.reset(); // a drag is no click
        Invalidate();
        // What the handler changes waits until the move is made.
        if (IsValidRow(From) && IsValidRow(D) && D != From && DoRowMove(From, D)) {
            MoveRow(From, D);
            SetSelectedRow(D);
        }
    }
    FPressedRowHold.reset();
    const bool WasHeaderPressed = FHeaderPressed;
    FHeaderPressed = false;
    if (FColumnResizing) {
        if (Columns().IsValidIndex(FResizedColumn)) {
            TNxCustomColumn* C = Columns().Item(FResizedColumn);
            C->SetWidth(C->Width() + FResizeChange);
        }
        FColumnResizing = false;
        FResizedColumn = -1;
        FResizeChange = 0;
        FResizeLineX = FResizeLeftX = -1;
        Invalidate();
        FDblClickPending = false;
        return;
    }
    if (FResizedRow >= 0) {
        const int Row = FResizedRow;
        FResizedRow = -1;
        const int Y = FRowLineY;
        FRowLineY = -1;
        Invalidate();
        if (IsValidRow(Row) && Y >= 0)
            SetRowHeight(Row, Y - RowTop(Row));
    }
    // Columns the handlers below may remove or move; only the pointers are
    // compared until a column is known to be in the list still.
    auto Column = [this](int ACol) { return Columns().IsValidIndex(ACol) ? Columns().Item(ACol) : nullptr; };
    auto Still = [&](int ACol, const TNxCustomColumn* C) { return C && Column(ACol) == C; };
    const TNxCustomColumn* PressedColumn = Column(Pressed);
    if (WasHeaderPressed && Columns().IsValidIndex(FPressedHeaderColumn)) {
        const int H = FPressedHeaderColumn;
        FPressedHeaderColumn = -1;
        DoHeaderClick(H);
        RefreshHeaderColumn(H);
    }
    if (Button == Qt::LeftButton) {
        switch (GetAreaAt(P)) {
        case gaRows: {
            const int Col = CellColumnAt(P);
            // A press on a row cut by the bottom edge scrolls it up under the pointer:
            // a release that did not move is on the pressed row.
            const bool Unmoved = Press.x() >= 0 && !PointOutsideBox(P, Press, 3) && IsValidRow(PressRow());
            const int Row = Unmoved ? PressRow() : RowAtY(P.y());
            const bool Same = Col >= 0 && IsValidRow(Row) && Col == FPressCol && Row == PressRow() && Press.x() >= 0;
            TNxCustomColumn* C = Column(Col);
            if (Same)
                DoCellClick(Col, Row);
            if (Same && Still(Col, C) && IsValidRow(Row) && !MultiSelected()) {
                if (!C->Play()) {
                    StartEdit(Col, Row);
                } else if (((C->Options() & coEditing) || (C->GetColumnStyle() & 1)) && !ReadOnly()) {
                    const TRect R = GetCellRect(Col, Row);
                    if (PreparePlayer(Col, Row, R))
                        C->Play()->MouseUp(P.x() - R.Left, P.y() - R.Top);
                }
            }
            break;
        }
        case gaFooter: {
            const int Col = ColumnAtX(P.x());
            if (Col >= 0)
                DoFooterClick(Col);
            break;
        }
        case gaHeader: {
            const int Col = ColumnAtX(P.x());
            if (Col >= 0 && Col == Pressed && Still(Col, PressedColumn) && !FDblClickPending
                && (Columns().Item(Col)->Options() & coCanSort)) {
                TNxCustomColumn* C = Columns().Item(Col);
                const bool WasSorted = C->Sorted();
                try {
                    if (WasSorted)
                        C->SetSortKind(C->SortKind() == skAscending ? skDescending : skAscending);
                    else
                        C->SetSorted(true);
                } catch (const EDotwrightError&) {
                    // Rows that do not convert to the sort type stay as they were, and unsorted
                    // (a sort handler that raised may have deleted the column first).
                    if (Columns().IndexOf(C) >= 0)
                        C->SetSorted(false);
                    throw;
                }
            }
            break;
        }
        case gaInput: {
            // Only selects the input cell; typing there starts the input edit.
            const int Col = ColumnAtX(P.x());
            if (Col >= 0) {
                SetInputSelected(true);
                SelectColumn(Col);
            }
            break;
        }
        default: break;
        }
    }
    FPressCol = -1;
    FPressRowHold.reset();
    FPressedRowHold.reset();
    FDblClickPending = false;
}

void TNxCustomGrid::HideArrows()
{
    FUpperArrow->hide();
    FLowerArrow->hide();
}

int TNxCustomGrid::AllowedDropTarget(const QPoint& P, bool& Inside) const
{
    const int Width = std::max(GetHeaderRect().Right, IndicatorWidth() + RowAreaWidth());
    Inside = P.y() >= 0 && P.y() < HeaderSize() && P.x() >= 0 && P.x() < Width;
    if (!Inside || !Columns().IsValidIndex(FPressedColumn))
        return -1;
    TNxCustomColumn* D = Columns().Item(FPressedColumn);
    const int T = GetDropPosition(P.x());
    if ((Options() & goLockFixedCols) && (T < FixedCols() || D->Position() < FixedCols()))
        return -1;
    return T;
}

void TNxCustomGrid::ColumnDragMoving(int X, int Y)
{
    const QPoint P = viewport()->mapFromGlobal(QPoint(X, Y));
    bool Inside = false;
    const int T = AllowedDropTarget(P, Inside);
    if (T < 0) {
        HideArrows();
        SetCursorNumber(3001);
        return;
    }
    SetCursorNumber(0);
    TNxCustomColumn* D = Columns().Item(FPressedColumn);
    TNxCustomColumn* C = Columns().ItemByPosition(T);
    if (T == D->Position() || !C->Visible()) {
        HideArrows();
        return;
    }
    const int Left = ColumnScreenLeft(C);
    const bool MovesRight = T > D->Position();
    const int MarkX = MovesRight && C->PlaceAmongVisible() != 0 && C->PlaceAmongVisible() != 1 ? Left + C->Width()
                                                                                                  : Left;
    const QPoint Top = viewport()->mapToGlobal(QPoint(MarkX, 0));
    FUpperArrow->move(Top.x() - 4, Top.y() - 12);
    FLowerArrow->move(Top.x() - 4, Top.y() + HeaderSize() - 1);
    FUpperArrow->show();
    FLowerArrow->show();
}

void TNxCustomGrid::ColumnDrop(int X, int Y)
{
    SetCursorNumber(0);
    const QPoint P = viewport()->mapFromGlobal(QPoint(X, Y));
    bool Inside = false;
    const int T = AllowedDropTarget(P, Inside);
    TNxCustomColumn* D = Columns().IsValidIndex(FPressedColumn) ? Columns().Item(FPressedColumn) : nullptr;
    FColumnDragging = false;
    FPressedColumn = -1;
    FPressPoint = {-1, -1};
    HideArrows();
    FDragBox->Cancel();
    if (D && Inside && T >= 0 && T != D->Position())
        Columns().Move(D->Position(), T);
    else if (D && !Inside && (Options() & goCanHideColumn))
        D->SetVisible(false);
    Invalidate();
}

bool TNxCustomGrid::PreparePlayer(int ACol, int ARow, const TRect& CellRect)
{
    const TOperation Operation(*this);
    const TNxCustomColumn* Column = Columns().Item(ACol);
    bool Accept = true;
    DoBeforeEdit(ACol, ARow, Accept);
    // The handler may have removed the column; what it does to the rows waits.
    if (!Accept || Columns().IndexOf(Column) != ACol)
        return false;
    TColumnPlay* Play = Columns().Item(ACol)->Play();
    if (!Play)
        return false;
    Play->Col = ACol;
    Play->Row = ARow;
    Play->Canvas = Canvas();
    Play->CellRect = CellRect;
    Play->OnChange = [this](TColumnPlay* Pl) { ApplyPlayValue(Pl); };
    Play->OnEndPlay = [this](TColumnPlay* Pl) { TogglePlayExpanded(Pl); };
    return true;
}

void TNxCustomGrid::wheelEvent(QWheelEvent* Event)
{
    Event->accept();
    if (Editing() || InputEditing())
        return;
    Guarded([&] {
        // One notch (120) scrolls one line, or a page with Ctrl.
        FWheelDelta += Event->angleDelta().y();
        const bool Page = Event->modifiers() & Qt::ControlModifier;
        while (FWheelDelta >= 120 || FWheelDelta <= -120) {
            const bool Up = FWheelDelta > 0;
            FWheelDelta += Up ? -120 : 120;
            TNxScrollBar& Bar = VertScrollBar().Max() > 0 ? VertScrollBar() : HorzScrollBar();
            if (&Bar == &HorzScrollBar() && (GridStyle() != gsReport || Bar.Max() <= 0))
                return;
            if (Page)
                Up ? Bar.PageUp() : Bar.PageDown();
            else
                Up ? Bar.LineUp() : Bar.LineDown();
        }
    });
}
