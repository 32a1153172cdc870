// The passes over all characters and the optimizer: one table of passes, one
// loop over the font on a bare pixel buffer, and the window's frame around it
// (busy panel, progress bar, refresh of the editor and the status bar).
#include "ufMain.h"

#include "DwError.h"
#include "NxColumnClasses.h"
#include "ufOptimizeFont.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProgressBar>

namespace {

struct TPassDef {
    TBatchPass Pass;
    const char* Text; // the busy text; a shift's takes the distance and a direction word
    bool SizeChanges;
    // Returns the buffer's refusal, empty when done.
    QString (*Operation)(TPixelBuffer& B, int Count, bool Roll);
};

const TPassDef Passes[] = {
    {TBatchPass::RemoveColsLeft, "Removing columns from left.", true,
     [](TPixelBuffer& B, int N, bool) { return B.DeleteFirstCols(N); }},
    {TBatchPass::RemoveColsRight, "Removing columns from right.", true,
     [](TPixelBuffer& B, int N, bool) { return B.DeleteLastCols(N); }},
    {TBatchPass::RemoveRowsBottom, "Removing rows from bottom.", true,
     [](TPixelBuffer& B, int N, bool) { return B.DeleteLastRows(N); }},
    {TBatchPass::RemoveRowsTop, "Removing rows from top.", true,
     [](TPixelBuffer& B, int N, bool) { return B.DeleteFirstRows(N); }},
    {TBatchPass::InsertColsLeft, "Inserting columns at left.", true,
     [](TPixelBuffer& B, int N, bool) { B.InsertColsLeft(N); return QString(); }},
    {TBatchPass::InsertColsRight, "Inserting columns at right.", true,
     [](TPixelBuffer& B, int N, bool) { B.InsertColsRight(N); return QString(); }},
    {TBatchPass::InsertRowsBottom, "Inserting rows at bottom.", true,
     [](TPixelBuffer& B, int N, bool) { B.InsertRowsBottom(N); return QString(); }},
    {TBatchPass::InsertRowsTop, "Inserting rows at top.", true,
     [](TPixelBuffer& B, int N, bool) { B.InsertRowsTop(N); return QString(); }},
    {TBatchPass::ShiftHoriz, "Shifting chars %1 columns %2.", false,
     [](TPixelBuffer& B, int N, bool Roll) { B.ScrollHoriz(N, Roll); return QString(); }},
    {TBatchPass::ShiftVert, "Shifting chars %1 rows %2.", false,
     [](TPixelBuffer& B, int N, bool Roll) { B.ScrollVert(N, Roll); return QString(); }},
    {TBatchPass::Invert, "Inverting chars.", false,
     [](TPixelBuffer& B, int, bool) { B.Invert(); return QString(); }},
    {TBatchPass::Outline, "Outlining chars.", false,
     [](TPixelBuffer& B, int, bool) { B.Outline(); return QString(); }},
    {TBatchPass::MirrorHoriz, "Mirroring chars horizontally.", false,
     [](TPixelBuffer& B, int, bool) { B.HorizMirror(); return QString(); }},
    {TBatchPass::MirrorVert, "Mirroring chars vertically.", false,
     [](TPixelBuffer& B, int, bool) { B.VertMirror(); return QString(); }},
    {TBatchPass::SnapLeft, "Snapping chars to left border", false,
     [](TPixelBuffer& B, int, bool) { B.SnapLeft(); return QString(); }},
    {TBatchPass::SnapRight, "Snapping chars to right border", false,
     [](TPixelBuffer& B, int, bool) { B.SnapRight(); return QString(); }},
    {TBatchPass::SnapTop, "Snapping chars to top border", false,
     [](TPixelBuffer& B, int, bool) { B.SnapTop(); return QString(); }},
    {TBatchPass::SnapBottom, "Snapping chars to bottom border", false,
     [](TPixelBuffer& B, int, bool) { B.SnapBottom(); return QString(); }},
};

const TPassDef& PassDef(TBatchPass Pass)
{
    for (const TPassDef& D : Passes)
        if (D.Pass == Pass)
            return D;
    throw EDotwrightError(QStringLiteral("Unknown pass in call to TfrmMain.RunBatchPass"));
}

bool IsDelete(TBatchPass Pass)
{
    return Pass == TBatchPass::RemoveColsLeft || Pass == TBatchPass::RemoveColsRight ||
           Pass == TBatchPass::RemoveRowsTop || Pass == TBatchPass::RemoveRowsBottom;
}

// Runs Action on every way out of a scope.
template <typename F> class TFinally {
public:
    explicit TFinally(F Action) : FAction(std::move(Action)) {}
    ~TFinally() { FAction(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    F FAction;
};

} // namespace

QString BatchPassText(TBatchPass Pass, int Count)
{
    const QString Text = QString::fromLatin1(PassDef(Pass).Text);
    if (Pass == TBatchPass::ShiftHoriz)
        return Text.arg(std::abs(Count)).arg(Count >= 0 ? QStringLiteral("right") : QStringLiteral("left"));
    if (Pass == TBatchPass::ShiftVert)
        return Text.arg(std::abs(Count)).arg(Count >= 0 ? QStringLiteral("bottom") : QStringLiteral("top"));
    return Text;
}

QString BatchPassRefusal(const TGLCDFont& Font, TBatchPass Pass, int Count)
{
    const bool InsertCols = Pass == TBatchPass::InsertColsLeft || Pass == TBatchPass::InsertColsRight;
    if (InsertCols || Pass == TBatchPass::InsertRowsTop || Pass == TBatchPass::InsertRowsBottom) {
        // The project file holds no larger character: the pass could never be saved.
        int Largest = 0;
        for (int Code = Font.RangeFrom; Code <= Font.RangeTo; ++Code)
            if (const TCharClass* C = Font.GetChar(Code))
                Largest = std::max(Largest, InsertCols ? C->Width : C->Height);
        if (qint64(Largest) + Count <= TGLCDFont::MaxCellSize)
            return QString();
        return (InsertCols ? QStringLiteral("Cannot insert more columns: a character is at most %1 pixels wide.")
                           : QStringLiteral("Cannot insert more lines: a character is at most %1 pixels high."))
            .arg(TGLCDFont::MaxCellSize);
    }
    if (!IsDelete(Pass))
        return QString();
    // The refusal depends on the size alone: one trial per size found.
    const TPassDef& D = PassDef(Pass);
    int TriedW = -1, TriedH = -1;
    for (int Code = Font.RangeFrom; Code <= Font.RangeTo; ++Code) {
        const TCharClass* C = Font.GetChar(Code);
        if (!C || (C->Width == TriedW && C->Height == TriedH))
            continue;
        TriedW = C->Width;
        TriedH = C->Height;
        TPixelBuffer Trial;
        Trial.SetDimensions(TriedW, TriedH);
        const QString Refusal = D.Operation(Trial, Count, false);
        if (!Refusal.isEmpty())
            return Refusal;
    }
    return QString();
}

QString ApplyBatchPass(TGLCDFont& Font, TBatchPass Pass, int Count, bool Roll,
                       const std::function<void()>& Step)
{
    const QString Refusal = BatchPassRefusal(Font, Pass, Count);
    if (!Refusal.isEmpty())
        return Refusal;
    const TPassDef& D = PassDef(Pass);
    TPixelBuffer Grid;
    for (int Code = Font.RangeFrom; Code <= Font.RangeTo; ++Code) {
        if (TCharClass* C = Font.GetChar(Code)) {
            Grid.LoadFromChar(*C);
            (void)D.Operation(Grid, Count, Roll);
            Grid.SaveToChar(C);
        }
        if (Step)
            Step();
    }
    return QString();
}

// --- the window's frame ------------------------------------------------------------

TModalResult TfrmMain::QueryStoreCurrentChar(bool CanStop)
{
    if (!FCharEditor || !FCharEditor->Modified() || !FCurrentFont)
        return TModalResult::mrNone;
    // A caller that can still stop offers Cancel, which Escape and the close
    // button also mean; one that cannot gets a box that must be answered.
    const TModalResult Answer =
        MessageService().MessageDlg(QStringLiteral("Current Char has been changed. Save?"),
                                    TMsgDlgType::mtConfirmation, CanStop ? mbYes | mbNo | mbCancel : mbYes | mbNo);
    switch (Answer) {
    case TModalResult::mrYes:
        FCharEditor->SaveToChar(FCurrentFont->GetChar(FCurrentFont->CurrentChar));
        FCharEditor->SetModified(false);
        FProjectModified = true;
        grdFontViewer->Invalidate();
        QApplication::processEvents();
        return Answer;
    case TModalResult::mrNo:
        return Answer;
    default:
        return TModalResult::mrCancel;
    }
}

bool TfrmMain::QueryStoreBeforePass()
{
    const TModalResult Answer = QueryStoreCurrentChar();
    if (Answer == TModalResult::mrCancel)
        return false;
    // The pass reloads the editor: edits not stored go now, so that the
    // passes that follow do not ask again.
    if (Answer == TModalResult::mrNo) {
        LoadCharIntoEditor(FCurrentFont->GetChar(FCurrentFont->CurrentChar));
        FCharEditor->SetModified(false);
    }
    return true;
}

bool TfrmMain::RunBatchPass(TBatchPass Pass, int Count)
{
    if (!FCurrentFont || !HasCharRows())
        return false;
    // All characters share one size: a refused change of size is said once and
    // changes nothing.
    const QString Refusal = BatchPassRefusal(*FCurrentFont, Pass, Count);
    if (!Refusal.isEmpty()) {
        MessageService().MessageDlg(Refusal, TMsgDlgType::mtError, mbOK);
        return false;
    }
    if (!QueryStoreBeforePass())
        return false;

    const TPassDef& D = PassDef(Pass);
    // One step per character: with the range's width as the maximum the bar
    // would never show the last character done.
    progressStatus->setRange(0, FCurrentFont->CharCount());
    progressStatus->setValue(0);
    progressStatus->show();
    BeginBusyMessage(BatchPassText(Pass, Count));
    // The panel goes down last, so that one round of painting shows the
    // panel gone and the window refreshed.
    TFinally Closing([this, &D] {
        FProjectModified = true;
        // Snapshots of another size would break the font's one size.
        if (D.SizeChanges) {
            FUndoMgr->Clear();
            SetCharListGeometry(FCurrentFont->GetWidth(), FCurrentFont->GetHeight());
        }
        LoadCharIntoEditor(FCurrentFont->GetChar(FCurrentFont->CurrentChar));
        // Only the thumbnails change when the size stays.
        if (D.SizeChanges)
            grdFontViewer->Invalidate();
        else
            grdFontViewer->RefreshColumn(nxColLCD, caRows);
        // Hidden first: a visible bar repaints at once when its range is set.
        progressStatus->hide();
        UpdateStatusBar(FCurrentFont.get());
        EndBusyMessage();
    });
    QElapsedTimer SinceEvents;
    SinceEvents.start();
    // The bar would repaint at once on every visible change; it is painted
    // with the rest of the window when events are processed.
    progressStatus->setUpdatesEnabled(false);
    TFinally Painted([this] { progressStatus->setUpdatesEnabled(true); });
    (void)ApplyBatchPass(*FCurrentFont, Pass, Count, FRollOver, [this, &SinceEvents] {
        progressStatus->setValue(progressStatus->value() + 1);
        // Enough to keep the window painted and responsive; processing
        // after every character would cost more than the pass itself.
        if (SinceEvents.elapsed() >= 25) {
            progressStatus->setUpdatesEnabled(true);
            QApplication::processEvents();
            progressStatus->setUpdatesEnabled(false);
            SinceEvents.restart();
        }
    });
    return true;
}

void TfrmMain::BatchCommand(TBatchPass Pass, int Count)
{
    TBusyGuard Busy(*this, false);
    RunBatchPass(Pass, Count);
}

// --- the optimizer -------------------------------------------------------------------

void TfrmMain::ComputeOptimizations(int& Left, int& Right, int& Top, int& Bottom)
{
    Left = Right = Top = Bottom = 0;
    if (!FCurrentFont || !HasCharRows())
        return;
    const int W = FCurrentFont->GetWidth(), H = FCurrentFont->GetHeight();
    int MinFirstCol = W, MaxLastCol = 0, MinFirstRow = H, MaxLastRow = 0;
    bool AnyInk = false;
    BeginBusyMessage(QStringLiteral("Computing Optimizations."));
    {
        TFinally Closing([this] { EndBusyMessage(); });
        TPixelBuffer Grid;
        for (int Code = FCurrentFont->RangeFrom; Code <= FCurrentFont->RangeTo; ++Code) {
            const TCharClass* C = FCurrentFont->GetChar(Code);
            if (!C)
                continue;
            Grid.LoadFromChar(*C);
            // A blank character holds no margin open.
            if (Grid.IsEmpty())
                continue;
            AnyInk = true;
            MinFirstCol = std::min(MinFirstCol, Grid.FirstUsedCol());
            MaxLastCol = std::max(MaxLastCol, Grid.LastUsedCol());
            MinFirstRow = std::min(MinFirstRow, Grid.FirstUsedRow());
            MaxLastRow = std::max(MaxLastRow, Grid.LastUsedRow());
        }
    }
    // A font without ink has no glyph to fit: nothing is removed.
    if (!AnyInk)
        return;
    Left = std::max(0, MinFirstCol);
    Right = std::max(0, W - 1 - MaxLastCol);
    Top = std::max(0, MinFirstRow);
    Bottom = std::max(0, H - 1 - MaxLastRow);
}

void TfrmMain::RemoveBlankMargins(const TOptimizeChoice& Choice)
{
    // Edits are answered before the scan, so that the counts see them.
    if (!QueryStoreBeforePass())
        return;
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    ComputeOptimizations(Left, Right, Top, Bottom);
    if (Choice.ColsLeft)
        RunBatchPass(TBatchPass::RemoveColsLeft, Left);
    if (Choice.ColsRight)
        RunBatchPass(TBatchPass::RemoveColsRight, Right);
    if (Choice.RowsTop)
        RunBatchPass(TBatchPass::RemoveRowsTop, Top);
    if (Choice.RowsBottom)
        RunBatchPass(TBatchPass::RemoveRowsBottom, Bottom);
}

void TfrmMain::actOptimizeExecute()
{
    TfrmOptimizeFont Dialog(this);
    if (MessageService().ExecModal(&Dialog) != QDialog::Accepted)
        return;
    TBusyGuard Busy(*this);
    const TOptimizeChoice Choice = Dialog.Boxes.Choice();
    if (Choice.Any())
        RemoveBlankMargins(Choice);
}
