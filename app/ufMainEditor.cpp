// The editor and its surroundings: creation, painting strokes, the
// single-character commands, the internal clipboard, the status bar and the
// preview's colour schemes.
#include "ufMain.h"

#include "NxColumnClasses.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>

namespace {

struct TPreviewScheme {
    TColor Inactive;
    TColor Active;
};

// Indexed by the scheme box: Blue, Green, Pink, Red, Yellow. 0x00BBGGRR.
constexpr TPreviewScheme PreviewSchemes[] = {
    {0x808000, 0xFFFF00},
    {0x008000, 0x00FF00},
    {0x800080, 0xFF00FF},
    {0x000080, 0x0000FF},
    {0x008080, 0x00FFFF},
};

// The shift-state bit of a mouse button; 0 for a button without one.
TShiftState ButtonFlag(Qt::MouseButton Button)
{
    return ShiftStateOf(Qt::NoModifier, Button);
}

} // namespace

void TfrmMain::CreateEditors()
{
    FCharEditor = new TPixelGrid(pnlEditor);
    FCharEditor->setObjectName(QStringLiteral("CharEditor"));
    FCharEditor->move(3, 3);
    FCharEditor->SetCellWidth(15);
    FCharEditor->OnCellMouseMove = [this](TPixelGrid* S, TShiftState Sh, int C, int R) {
        PaintEditorCell(S, Sh, C, R);
    };
    FCharEditor->OnCellMouseDown = [this](TPixelGrid* S, Qt::MouseButton B, TShiftState Sh, int C, int R) {
        EditorMouseDown(S, B, Sh, C, R);
    };
    FCharEditor->OnCellMouseUp = [this](TPixelGrid* S, Qt::MouseButton B, TShiftState Sh, int C, int R) {
        EditorMouseUp(S, B, Sh, C, R);
    };
    FCharEditor->installEventFilter(this);
    FCharEditor->setAttribute(Qt::WA_OpaquePaintEvent);

    FLiveViewer = new TSingleCharViewer(pnlPreviewBody);
    FLiveViewer->setObjectName(QStringLiteral("LiveGLCSViewer"));
    FCharEditor->SetCharViewer(FLiveViewer);
    FLiveViewer->move((pnlPreviewBody->width() - FLiveViewer->width()) / 2, 40);
    FLiveViewer->SetBackGroundColor(0);
    FLiveViewer->SetActiveDotColor(0xFFFF33);
    FLiveViewer->SetInactiveDotColor(0x666600);
    FLiveViewer->SetDotSize(3);
    FLiveViewer->SetPadding(1);
    FLiveViewer->SetBorderWidth(2);
    FLiveViewer->SetBorderColor(0x000080);
    FLiveViewer->show();

    ApplyPreviewColorScheme(cbPreviewColorScheme->currentIndex());
    connect(cbPreviewColorScheme, &QComboBox::currentIndexChanged, this,
            [this](int Index) { cbPreviewColorSchemeChange(Index); });

    FCharEditor->SetCellWidth(edtGridSize->value());
    FCharEditor->hide();
    edtGridSize->setEnabled(false);
    actQuickHelp->setEnabled(false);

    QAction* ShowGrid = Action(QStringLiteral("actShowGrid"));
    FCharEditor->SetGridVisible(ShowGrid->isChecked());
    ShowGrid->setEnabled(false);

    FClipChar = std::make_unique<TCharClass>(-1, 10, 10);
    FUndoMgr = std::make_unique<TUndoRedoMgr>(50);
    FUndoMgr->Clear();
    FClipboardEmpty = true;
    FLastCol = -1;
    FLastRow = -1;
}

bool TfrmMain::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == pnlPreviewBody && Event->type() == QEvent::Resize)
        pnlPreviewResize();
    else if (Watched == FCharEditor && Event->type() == QEvent::Resize)
        // The scroll area follows the editor's size, with the editor's margin of 3.
        pnlEditor->setMinimumSize(FCharEditor->width() + 6, FCharEditor->height() + 6);
    return QMainWindow::eventFilter(Watched, Event);
}

void TfrmMain::pnlPreviewResize()
{
    if (!FLiveViewer || !isVisible())
        return;
    FLiveViewer->move((pnlPreviewBody->width() - FLiveViewer->width()) / 2, 40);
}

void TfrmMain::edtGridSizeChange(int Value)
{
    if (FCharEditor)
        FCharEditor->SetCellWidth(Value);
}

void TfrmMain::cbPreviewColorSchemeChange(int Index) { ApplyPreviewColorScheme(Index); }

void TfrmMain::ApplyPreviewColorScheme(int Index)
{
    if (!FCharEditor || !FCharEditor->CharViewer() || Index < 0 || Index > 4)
        return;
    TSingleCharViewer* V = FCharEditor->CharViewer();
    V->SetInactiveDotColor(PreviewSchemes[Index].Inactive);
    V->SetActiveDotColor(PreviewSchemes[Index].Active);
    V->SetBackGroundColor(0);
}

void TfrmMain::UpdateStatusBar(const TGLCDFont* Font)
{
    // Each label is set once: a text that comes back unchanged then costs
    // no relayout and no repaint of the status bar.
    if (!Font) {
        lblStatusFontName2->setText(QStringLiteral("No Font Loaded"));
        lblStatusFontSize2->setText(QStringLiteral("?? x ??"));
        lblStatusFontRange2->setText(QStringLiteral("??"));
        lblStatusFontCharsCount2->setText(QStringLiteral("0"));
        return;
    }
    lblStatusFontName2->setText(ElidedText(Font->FontName, MaxShownNameLength));
    // A project without characters has no size and no count to show.
    lblStatusFontSize2->setText(Font->GetWidth() >= 0 ? Font->SizeText() : QStringLiteral("?? x ??"));
    lblStatusFontRange2->setText(QString::number(Font->RangeFrom) + QStringLiteral(" - ") +
                                 QString::number(Font->RangeTo));
    lblStatusFontCharsCount2->setText(QString::number(std::max(0, Font->CharCount())));
    progressStatus->setMinimum(Font->RangeFrom);
    progressStatus->setMaximum(std::max(Font->RangeFrom, Font->RangeTo));
}

void TfrmMain::LoadCharIntoEditor(const TCharClass* Char)
{
    if (!Char)
        return;
    FCharEditor->LoadFromChar(*Char);
    pnlPreviewResize();
}

void TfrmMain::SetCharListGeometry(int W, int H)
{
    const int Step = ThumbnailDotSize + 1;
    grdFontViewer->SetRowSize(H * Step + 8);
    // Rows keep the height they were added with; after a change of size the
    // thumbnails would overlap their neighbours.
    for (int Row = 0; Row < grdFontViewer->RowCount(); ++Row)
        grdFontViewer->SetRowHeight(Row, grdFontViewer->RowSize());
    nxColLCD->SetWidth(W * Step + 8);
    const int Width = grdFontViewer->verticalScrollBar()->sizeHint().width() + nxColChar->Width() +
                      nxColCode->Width() + nxColLCD->Width() + 5;
    // A width to start from, not a minimum: the user may narrow the panel,
    // and the window keeps its size whatever the font's.
    FCharListWidth = Width;
    resizeDocks({pnlFontChars}, {Width}, Qt::Horizontal);
}

void TfrmMain::FillCharList()
{
    // The old project's edits were answered before the refill: selecting the
    // first row must neither ask again nor store them into the new font.
    FCharEditor->SetModified(false);
    FUndoMgr->Clear();
    grdFontViewer->ClearRows();
    const int W = FCurrentFont->GetWidth(), H = FCurrentFont->GetHeight();
    nxColChar->SetFont(QFont(QStringLiteral("Arial"), 12));
    // An empty range has no character to take the size from.
    if (W > 0 && H > 0) {
        SetCharListGeometry(W, H);
        FCharEditor->SetDimensions(W, H);
    }
    grdFontViewer->BeginUpdate();
    for (int Code = FCurrentFont->RangeFrom; Code <= FCurrentFont->RangeTo; ++Code) {
        grdFontViewer->AddRow(1);
        const int Row = grdFontViewer->LastAddedRow;
        grdFontViewer->Cell(0, Row)->SetAsString(Win1252Char(Code));
        grdFontViewer->Cell(1, Row)->SetAsInteger(Code);
    }
    grdFontViewer->EndUpdate();
    FCurrentFont->SetCurrentChar(FCurrentFont->RangeFrom);
    if (grdFontViewer->RowCount() > 0) {
        grdFontViewer->SetSelectedRow(0);
        grdFontViewer->ScrollToRow(0);
    }
    UpdateStatusBar(FCurrentFont.get());
}

void TfrmMain::grdFontViewerCustomDrawCell(int ACol, int ARow, const TRect& CellRect)
{
    if (ACol != nxColLCD->Position() || !FCurrentFont)
        return;
    const TCharClass* Char = FCurrentFont->GetChar(grdFontViewer->Cell(1, ARow)->AsInteger());
    if (Char)
        Char->DrawTo(grdFontViewer->Canvas(), CellRect.Left + 3, CellRect.Top + 3, ThumbnailDotSize);
}

void TfrmMain::grdFontViewerSelectCell(int, int ARow)
{
    if (!FCurrentFont || ARow < 0 || ARow >= grdFontViewer->RowCount())
        return;
    // The list has already moved: there is no going back, only Yes or No.
    QueryStoreCurrentChar(/*CanStop*/ false);
    FCharEditor->SetModified(false);
    // Undo never crosses from one character to another.
    FUndoMgr->Clear();
    FCurrentFont->SetCurrentChar(grdFontViewer->Cell(1, ARow)->AsInteger());
    LoadCharIntoEditor(FCurrentFont->GetChar(FCurrentFont->CurrentChar));
}

void TfrmMain::ShowProject(std::unique_ptr<TGLCDFont> Font, bool Modified)
{
    FCurrentFont = std::move(Font);
    // Edits of the old project's character must not reach the new one.
    FCharEditor->SetModified(false);
    edtGridSize->setEnabled(true);
    actQuickHelp->setEnabled(true);
    Action(QStringLiteral("actShowGrid"))->setEnabled(true);
    setWindowTitle(AppTitle);
    if (FCurrentFont)
        FillCharList();
    else
        UpdateStatusBar(nullptr);
    // Nothing to edit without a character, and the preview shows none: the
    // editor would otherwise keep the old project's.
    FCharEditor->setVisible(HasCharRows());
    if (!HasCharRows())
        FCharEditor->ClearCells();
    // The keys move through the characters from the start.
    if (HasCharRows())
        grdFontViewer->setFocus();
    FProjectModified = Modified;
    UpdateActions();
}

// --- strokes -------------------------------------------------------------------

void TfrmMain::EditorMouseDown(TPixelGrid*, Qt::MouseButton Button, TShiftState Shift, int ACol, int ARow)
{
    FDrawing = true;
    FDrawButton = Button;
    // One snapshot before the first cell: the stroke is undone as a whole.
    FUndoMgr->SaveState(FCharEditor);
    PaintEditorCell(FCharEditor, Shift, ACol, ARow);
    UpdateActions();
}

void TfrmMain::PaintEditorCell(TPixelGrid*, TShiftState Shift, int ACol, int ARow)
{
    TPixelGrid* G = FCharEditor;
    // A release that went elsewhere (to a menu opened mid-stroke, say) ends
    // the stroke at the first move without its button.
    if (FDrawing && !(Shift & ButtonFlag(FDrawButton)))
        EditorMouseUp(G, FDrawButton, Shift, ACol, ARow);
    if (!FDrawing || ACol < 0 || ARow < 0 || ACol >= G->HorizCellCount() || ARow >= G->VertCellCount())
        return;
    if (ACol == FLastCol && ARow == FLastRow)
        return;
    G->SetModified(true);
    const bool Paints = FDrawButton == Qt::LeftButton || FDrawButton == Qt::RightButton;
    if (Paints) {
        const TColor Value = FDrawButton == Qt::LeftButton ? clInk : G->BackgroundColor();
        G->SetCellValue(ACol, ARow, Value);
        if (Shift & TShiftFlag::ssCtrl)
            for (int Y = 0; Y < G->VertCellCount(); ++Y)
                G->SetCellValue(ACol, Y, Value);
        if (Shift & TShiftFlag::ssShift)
            for (int X = 0; X < G->HorizCellCount(); ++X)
                G->SetCellValue(X, ARow, Value);
    }
    FLastCol = ACol;
    FLastRow = ARow;
}

void TfrmMain::EditorMouseUp(TPixelGrid*, Qt::MouseButton Button, TShiftState, int, int)
{
    FDrawing = false;
    FDrawButton = Button;
    FLastCol = -1;
    FLastRow = -1;
}

// --- single-character commands ---------------------------------------------------

void TfrmMain::CharCommand(const std::function<void(TPixelGrid&)>& Operation)
{
    if (!FCharEditor)
        return;
    FUndoMgr->SaveState(FCharEditor);
    Operation(*FCharEditor);
    FCharEditor->SetModified(true);
}

void TfrmMain::SnapCommand(void (TPixelGrid::*Snap)())
{
    if (!FCharEditor)
        return;
    const bool WasModified = FCharEditor->Modified();
    const std::vector<TColor> Before = FCharEditor->Buffer().Cells();
    CharCommand([Snap](TPixelGrid& G) { (G.*Snap)(); });
    // Touching the border already, or blank: nothing to ask about later.
    if (FCharEditor->Buffer().Cells() == Before)
        FCharEditor->SetModified(WasModified);
}

void TfrmMain::actRollOverExecute()
{
    FRollOver = !FRollOver;
    // Menu items, toolbar and tools-panel buttons all show the action's state.
    Action(QStringLiteral("actRollOver"))->setChecked(FRollOver);
}

void TfrmMain::actShowGridExecute()
{
    if (FCharEditor)
        FCharEditor->SetGridVisible(Action(QStringLiteral("actShowGrid"))->isChecked());
}

void TfrmMain::actSaveModifiedCharExecute()
{
    if (!FCharEditor)
        return;
    FCharEditor->SaveToChar(FCurrentFont ? FCurrentFont->GetChar(FCurrentFont->CurrentChar) : nullptr);
    FCharEditor->SetModified(false);
    FProjectModified = true;
    QApplication::processEvents();
    grdFontViewer->Invalidate();
}

void TfrmMain::actUndoExecute()
{
    if (FCharEditor)
        FUndoMgr->Undo(FCharEditor);
}

void TfrmMain::actCopyCharToClipExecute()
{
    if (!FCharEditor)
        return;
    FCharEditor->SaveToChar(FClipChar.get());
    FClipboardEmpty = false;
}

void TfrmMain::actPasteCharFromClipExecute()
{
    // Only a character of the font's own size may come in.
    if (!FCharEditor || FClipboardEmpty || !ClipCharFitsFont())
        return;
    FUndoMgr->SaveState(FCharEditor);
    FCharEditor->LoadFromChar(*FClipChar);
    FCharEditor->SetModified(true);
}

void TfrmMain::actClearAllPixelsExecute()
{
    if (!FCharEditor)
        return;
    if (MessageService().MessageDlg(QStringLiteral("Clear all char's pixels?"), TMsgDlgType::mtConfirmation,
                                    mbOK | mbCancel) != TModalResult::mrOk)
        return;
    TBusyGuard Busy(*this);
    FUndoMgr->SaveState(FCharEditor);
    FCharEditor->Clear();
    FCharEditor->SetModified(true);
}
