#include "ufMain.h"

#include "TBXTheme.h"
#include "udmGlobal.h"
#include "ufAbout.h"
#include "unApplication.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>

struct TfrmMain::TActionDef {
    const char* Name;
    const char* Caption;
    const char* Shortcut;
    const char* Hint;
    TActionRule Rule;
    bool Checkable;
    void (*Execute)(TfrmMain&); // null: the command comes with a later part of the program
};

const std::vector<TfrmMain::TActionDef>& TfrmMain::ActionTable()
{
    using R = TActionRule;
    static const std::vector<TActionDef> Table = {
        {"actNewFontProject", "New Font From Scratch", "", "New font project from scratch", R::arR2, false,
         [](TfrmMain& F) { F.actNewFontProjectExecute(); }},
        {"actNewFontImport", "Import An Existing System Font", "", "New font project from an existing system font", R::arR2, false,
         [](TfrmMain& F) { F.actNewFontImportExecute(); }},
        {"actOpenFontProject", "Open Font", "", "Open a font project", R::arR2, false,
         [](TfrmMain& F) { F.actOpenFontProjectExecute(); }},
        {"actSaveFontProject", "Save Font", "", "Save font project", R::arR1, false,
         [](TfrmMain& F) { (void)F.SaveFontProject(); }},
        {"actSaveModifiedChar", "Save Char", "Ctrl+S", "Save char to font", R::arR1, false,
         [](TfrmMain& F) { F.actSaveModifiedCharExecute(); }},
        {"actApplicationExit", "&Quit", "", "", R::arNone, false,
         [](TfrmMain& F) { F.actApplicationExitExecute(); }},
        {"actUndo", "Undo", "Ctrl+Z", "Undo last edit action", R::arR4, false,
         [](TfrmMain& F) { F.actUndoExecute(); }},
        {"actCopyCharToClip", "Copy", "Ctrl+C", "Copy char to clipboard", R::arR1, false,
         [](TfrmMain& F) { F.actCopyCharToClipExecute(); }},
        {"actPasteCharFromClip", "Paste", "Ctrl+V", "Paste char from clipboard", R::arR3, false,
         [](TfrmMain& F) { F.actPasteCharFromClipExecute(); }},
        {"actClearAllPixels", "Clear All Pixels", "", "Clear all pixels of current char", R::arR1, false,
         [](TfrmMain& F) { F.actClearAllPixelsExecute(); }},
        {"actInvertGrid", "Invert", "Ctrl+I", "Invert", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([](TPixelGrid& G) { G.Invert(); }); }},
        {"actOutlineChar", "Outline Char", "", "Outline char", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([](TPixelGrid& G) { G.Outline(); }); }},
        {"actHorizMirror", "Horizontal Mirror", "Ctrl+H", "Horizontal mirror", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([](TPixelGrid& G) { G.HorizMirror(); }); }},
        {"actVertMirror", "Vertical Mirror", "Ctrl+M", "Vertical mirror", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([](TPixelGrid& G) { G.VertMirror(); }); }},
        {"actScrollUp", "Shift Up", "", "Shift up", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([&F](TPixelGrid& G) { G.ScrollVert(-1, F.FRollOver); }); }},
        {"actScrollDown", "Shift Down", "", "Shift down", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([&F](TPixelGrid& G) { G.ScrollVert(1, F.FRollOver); }); }},
        {"actScrollLeft", "Shift Left", "", "Shift left", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([&F](TPixelGrid& G) { G.ScrollHoriz(-1, F.FRollOver); }); }},
        {"actScrollRight", "Shift Right", "", "Shift right", R::arR1, false,
         [](TfrmMain& F) { F.CharCommand([&F](TPixelGrid& G) { G.ScrollHoriz(1, F.FRollOver); }); }},
        {"actRollOver", "Roll Over", "", "Rollover", R::arR1, true,
         [](TfrmMain& F) { F.actRollOverExecute(); }},
        {"actSnapTop", "Snap Top", "", "Snap char to top border", R::arR1, false,
         [](TfrmMain& F) { F.SnapCommand(&TPixelGrid::SnapTop); }},
        {"actSnapBottom", "Snap Bottom", "", "Snap char to bottom border", R::arR1, false,
         [](TfrmMain& F) { F.SnapCommand(&TPixelGrid::SnapBottom); }},
        {"actSnapLeft", "Snap Left", "", "Snap char to left border", R::arR1, false,
         [](TfrmMain& F) { F.SnapCommand(&TPixelGrid::SnapLeft); }},
        {"actSnapRight", "Snap Right", "", "Snap char to right border", R::arR1, false,
         [](TfrmMain& F) { F.SnapCommand(&TPixelGrid::SnapRight); }},
        {"actShowGrid", "Show Grid", "", "Show/Hide grid", R::arCode, true,
         [](TfrmMain& F) { F.actShowGridExecute(); }},
        {"actInsetColLeft", "Ins Col Left", "", "Insert one column at left", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::InsertColsLeft, 1); }},
        {"actInsertColRight", "Ins Col Right", "", "Insert one column at right", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::InsertColsRight, 1); }},
        {"actInsertRowTop", "Ins Row Top", "", "Insert one row at top", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::InsertRowsTop, 1); }},
        {"actInsertRowBottom", "Ins Row Bottom", "", "Insert one row at bottom", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::InsertRowsBottom, 1); }},
        {"actDeleteFirstCol", "Del First Col", "", "Delete first column", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::RemoveColsLeft, 1); }},
        {"actDeleteLastCol", "Del Last Col", "", "Delete last column", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::RemoveColsRight, 1); }},
        {"actDeleteFirstRow", "Del First Row", "", "Delete first row", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::RemoveRowsTop, 1); }},
        {"actDeleteLastRow", "Del Last Row", "", "Delete last row", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::RemoveRowsBottom, 1); }},
        {"actBatchInvert", "Invert all chars", "", "Invert all font chars", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::Invert, 0); }},
        {"actBatchOutline", "Outline all chars", "", "Outline all font chars", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::Outline, 0); }},
        {"actBatchHMirror", "Horizontal", "", "Horizontal Mirror for all chars", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::MirrorHoriz, 0); }},
        {"actBatchVMirror", "Vertical", "", "Vertical Mirror for all chars", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::MirrorVert, 0); }},
        {"actBatchVertShiftUp", "Shift Up", "", "Shift all chars one row up", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::ShiftVert, -1); }},
        {"actBatchVertShiftDown", "Shift Down", "", "Shift all chars one row down", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::ShiftVert, 1); }},
        {"actBatchHorizShiftLeft", "Shift Left", "", "Shift all chars one column left", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::ShiftHoriz, -1); }},
        {"actBatchHorizShiftRight", "Shift Right", "", "Shift all chars one column right", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::ShiftHoriz, 1); }},
        {"actBatchSnapTop", "Snap Top", "", "Snap all chars to top border", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::SnapTop, 0); }},
        {"actBatchSnapBottom", "Snap Bottom", "", "Snap all chars to bottom border", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::SnapBottom, 0); }},
        {"actBatchSnapLeft", "Snap Left", "", "Snap all chars to left border", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::SnapLeft, 0); }},
        {"actBatchSnapRight", "Snap Right", "", "Snap all chars to right border", R::arR1, false,
         [](TfrmMain& F) { F.BatchCommand(TBatchPass::SnapRight, 0); }},
        {"actOptimize", "Optimize", "", "Optimize font", R::arR1, false,
         [](TfrmMain& F) { F.actOptimizeExecute(); }},
        {"actExportSWFToFile", "Export for Swordfish Basic", "", "Export font for Swordfish Basic(TM)", R::arR1, false,
         [](TfrmMain& F) { F.actExportSWFToFileExecute(); }},
        {"actExportProtonToFile", "Export for Proton Basic", "", "Export font for Proton Basic(TM)", R::arR1, false,
         [](TfrmMain& F) { F.actExportProtonToFileExecute(); }},
        {"actExportMikroE", "Export for MikroElektronika", "", "Export for MikroElektronika compilers", R::arR1, false,
         [](TfrmMain& F) { F.actExportMikroEExecute(); }},
        {"actExportCustom", "Custom Export Strategy", "", "Customized Export Strategy", R::arR1, false,
         [](TfrmMain& F) { F.actExportCustomExecute(); }},
        {"actHelpFile", "Help", "", "Help", R::arNone, false,
         [](TfrmMain& F) { F.actHelpFileExecute(); }},
        {"actAbout", "About...", "", "", R::arNone, false, [](TfrmMain& F) { F.actAboutExecute(); }},
    };
    return Table;
}

TfrmMain::TfrmMain(QWidget* Parent) : QMainWindow(Parent)
{
    setObjectName(QStringLiteral("frmMain"));
    resize(991, 744);
    CreateActions();
    CreateMenus();
    CreateToolbars();
    CreateDocks();
    CreateCentre();
    CreateStatusBar();
    CreateBusyPanel();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The editor's events call back into this window: cut them before the
    // members go.
    if (FCharEditor) {
        FCharEditor->OnCellMouseDown = nullptr;
        FCharEditor->OnCellMouseUp = nullptr;
        FCharEditor->OnCellMouseMove = nullptr;
    }
    if (FWaitCursor)
        QApplication::restoreOverrideCursor();
    FUndoMgr.reset();
    FClipChar.reset();
    if (!SaveSettings()) {
        QString Text = QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(GetSettingsFileName());
        if (!FSettingsRefused.isEmpty())
            Text += QStringLiteral("\r\n") + FSettingsRefused;
        MessageService().MessageDlg(Text, TMsgDlgType::mtError, mbOK);
    }
}

void TfrmMain::FormCreate()
{
    pnlBusy->hide();
    setWindowTitle(AppTitle);
    TBXSetTheme(QStringLiteral("Aluminum"));
    EnsureSettingsFolder();
    LoadSettings();
    QFont F = font();
    F.setFamily(GetUIFontName());
    setFont(F);
    ClearToolButtonCaptions();
    ApplyUIFont();
    FRollOver = true;
    Action(QStringLiteral("actRollOver"))->setChecked(true);
    FProjectModified = false;
    FBusyCount = 0;
    CreateEditors();
    UpdateStatusBar(FCurrentFont.get());
    UpdateActions();
}

QAction* TfrmMain::Action(const QString& Name) const { return FActions.value(Name, nullptr); }

void TfrmMain::RunCommand(const std::function<void()>& Command)
{
    try {
        Command();
    } catch (const std::exception& E) {
        ShowException(E);
    }
    UpdateActions();
}

void TfrmMain::CreateActions()
{
    for (const TActionDef& D : ActionTable()) {
        const QString Name = QString::fromLatin1(D.Name);
        auto* A = new QAction(this);
        A->setObjectName(Name);
        A->setText(QString::fromLatin1(D.Caption));
        A->setIconText(QString::fromLatin1(D.Caption).remove(QLatin1Char('&')));
        // A hint is a tooltip only: a status tip would push the font's values
        // out of the status bar while the pointer rests on a menu item.
        A->setToolTip(QString::fromLatin1(D.Hint));
        if (*D.Shortcut)
            A->setShortcut(QKeySequence(QString::fromLatin1(D.Shortcut)));
        A->setCheckable(D.Checkable);
        A->setIcon(dmGlobal().Icon(Name));
        if (D.Execute) {
            const auto Execute = D.Execute;
            connect(A, &QAction::triggered, this, [this, Execute] { RunCommand([&] { Execute(*this); }); });
        }
        FActions.insert(Name, A);
        FActionList << A;
        FRules.insert(A, D.Rule);
    }
    addActions(FActionList);
    KeepWindowShortcuts();

    actQuickHelp = new QAction(QStringLiteral("Quick Help"), this);
    actQuickHelp->setObjectName(QStringLiteral("actQuickHelp"));
    actQuickHelp->setToolTip(QStringLiteral("Show/Hide quick help panel"));
    actQuickHelp->setIcon(dmGlobal().Icon(QStringLiteral("QuickHelp")));
    actQuickHelp->setCheckable(true);
    actQuickHelp->setChecked(true);
    actQuickHelpMenu = new QAction(QStringLiteral("Quick Help Panel"), this);
    actQuickHelpMenu->setObjectName(QStringLiteral("actQuickHelpPanel"));
    actQuickHelpMenu->setCheckable(true);
    actQuickHelpMenu->setChecked(true);
    for (QAction* A : {actQuickHelp, actQuickHelpMenu})
        connect(A, &QAction::triggered, this, [this](bool On) { pnlQuickHelp->setVisible(On); });
}

bool TfrmMain::HasCharRows() const
{
    return FCurrentFont && grdFontViewer->RowCount() > 0;
}

bool TfrmMain::ClipCharFitsFont() const
{
    return FCurrentFont && FClipChar && FClipChar->Width == FCurrentFont->GetWidth() &&
           FClipChar->Height == FCurrentFont->GetHeight();
}

void TfrmMain::UpdateActions()
{
    const bool Rows = HasCharRows();
    const bool R1 = !FBusy && Rows;
    const bool R2 = !FBusy;
    // A clipboard character of another size would break the font's one size.
    const bool R3 = R1 && !FClipboardEmpty && ClipCharFitsFont();
    const bool R4 = FUndoMgr && FUndoMgr->Count() > 0;
    // The actions of the table and the menus and drop-downs that offer them.
    for (auto It = FRules.cbegin(); It != FRules.cend(); ++It) {
        QAction* A = It.key();
        switch (It.value()) {
        case TActionRule::arR1: A->setEnabled(R1); break;
        case TActionRule::arR2: A->setEnabled(R2); break;
        case TActionRule::arR3: A->setEnabled(R3); break;
        case TActionRule::arR4: A->setEnabled(R4); break;
        case TActionRule::arNone:
        case TActionRule::arCode: break;
        }
    }
}

void TfrmMain::SetBusy(bool Value, bool PaintNow)
{
    FBusy = Value;
    UpdateActions();
    pnlEditor->setEnabled(!Value);
    if (Value && !FWaitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FWaitCursor = true;
    } else if (!Value && FWaitCursor) {
        QApplication::restoreOverrideCursor();
        FWaitCursor = false;
    }
    if (PaintNow)
        QApplication::processEvents();
}

void TfrmMain::BeginBusyMessage(const QString& Text)
{
    ++FBusyCount;
    lblBusyText->setText(Text);
    const QPoint MainPos = pnlMain->mapTo(this, QPoint(0, 0));
    pnlBusy->move((pnlEditor->width() - pnlBusy->width()) / 2 + MainPos.x(), 272);
    if (!pnlBusy->isVisible()) {
        pnlBusy->show();
        pnlBusy->raise();
    }
    QApplication::processEvents();
}

void TfrmMain::EndBusyMessage()
{
    --FBusyCount;
    if (FBusyCount <= 0) {
        FBusyCount = 0;
        pnlBusy->hide();
    }
    // While the window is busy, the end of the busy state paints the panel
    // gone together with the enabled actions, in one round instead of two.
    if (!FBusy)
        QApplication::processEvents();
}

void TfrmMain::actApplicationExitExecute()
{
    if (FBusy)
        return;
    if (QuerySaveChanges() == TModalResult::mrCancel)
        return;
    FQuitConfirmed = true;
    close();
}

void TfrmMain::closeEvent(QCloseEvent* Event)
{
    // Work in progress keeps processing messages; closing now would pull the
    // window from under it.
    if (FBusy) {
        Event->ignore();
        return;
    }
    if (!FQuitConfirmed && QuerySaveChanges() == TModalResult::mrCancel) {
        Event->ignore();
        return;
    }
    FQuitConfirmed = false;
    Event->accept();
}

void TfrmMain::actAboutExecute()
{
    TfrmAbout About(this);
    MessageService().ExecModal(&About);
}

namespace {

// A focused control claims standard keys (the Grid Size box's text takes
// Ctrl+C, Ctrl+Z, Ctrl+H): inside the main window, and its floating docks,
// the keys of the window's enabled actions go to the actions instead.
class TShortcutKeeper : public QObject {
public:
    explicit TShortcutKeeper(QMainWindow* Window) : QObject(Window), FWindow(Window) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != QEvent::ShortcutOverride || !Watched->isWidgetType())
            return false;
        const QWidget* Top = static_cast<QWidget*>(Watched)->window();
        if (Top != FWindow && !(qobject_cast<const QDockWidget*>(Top) && Top->parentWidget() == FWindow))
            return false;
        auto* Key = static_cast<QKeyEvent*>(Event);
        const QKeySequence Pressed(Key->keyCombination());
        for (const QAction* A : FWindow->actions())
            if (A->isEnabled() && !A->shortcut().isEmpty() && A->shortcut() == Pressed) {
                // Not accepted: the shortcut map goes on to the action.
                Key->ignore();
                return true;
            }
        return false;
    }

private:
    QMainWindow* FWindow;
};

} // namespace

void TfrmMain::KeepWindowShortcuts()
{
    for (QAction* A : FActionList)
        A->setShortcutContext(Qt::WindowShortcut);
    qApp->installEventFilter(new TShortcutKeeper(this));
}
