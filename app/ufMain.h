#pragma once
// The main window: every command of the program is one of its actions. The
// window turns user input into calls on the editor and the font, and its
// state into enabled actions (UpdateActions).
#include "CharClasses.h"
#include "NextGrid.h"
#include "PixelGrid.h"
#include "unMessageService.h"
#include "unUndoRedoMgr.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDockWidget;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QScreen;
class QScrollArea;
class QSettings;
class QSpinBox;
class QToolBar;
class QToolButton;
class TNxImageColumn;
class TNxTextColumn;

// The program's name and version as the window, the splash and the About box show them.
inline const QString AppTitle = QStringLiteral("Dotwright 1.0.0");

// Dot size of the thumbnails in the character list.
constexpr int ThumbnailDotSize = 4;

// The character list's width before any font sizes it: its columns' start widths fit.
constexpr int CharListStartWidth = 203;

// The passes over all characters, each one operation of the pixel buffer.
enum class TBatchPass {
    RemoveColsLeft, RemoveColsRight, RemoveRowsBottom, RemoveRowsTop,
    InsertColsLeft, InsertColsRight, InsertRowsBottom, InsertRowsTop,
    ShiftHoriz, ShiftVert, Invert, Outline, MirrorHoriz, MirrorVert,
    SnapLeft, SnapRight, SnapTop, SnapBottom,
};
// The busy text of a pass; Count signs a shift's direction.
QString BatchPassText(TBatchPass Pass, int Count);
// The refusal of a change of size that the font's characters cannot take
// (a delete of their last column or row, an insert past the largest size the
// project file holds), else empty.
QString BatchPassRefusal(const TGLCDFont& Font, TBatchPass Pass, int Count);
// Runs Pass over every character of Font through one bare buffer, Step after
// each character. A refused pass changes nothing and returns the refusal.
[[nodiscard]] QString ApplyBatchPass(TGLCDFont& Font, TBatchPass Pass, int Count, bool Roll,
                                     const std::function<void()>& Step = {});

struct TOptimizeChoice;
struct TStoredRect;

// When an action is enabled: R1 not busy and the list has a row; R2 not busy;
// R3 as R1 and a clipboard character that fits the font; R4 the undo history
// holds a snapshot. arCode: set by code, not by the update cycle.
enum class TActionRule { arNone, arR1, arR2, arR3, arR4, arCode };

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* Parent = nullptr);
    // Writes the toolbar layout and the settings.
    ~TfrmMain() override;

    // --- state the commands share ---
    TGLCDFont* CurrentFont() const { return FCurrentFont.get(); }
    TPixelGrid* CharEditor() const { return FCharEditor; }
    bool Busy() const { return FBusy; }
    bool ProjectModified() const { return FProjectModified; }
    bool RollOver() const { return FRollOver; }
    bool ClipboardEmpty() const { return FClipboardEmpty; }
    const TCharClass& ClipChar() const { return *FClipChar; }
    const TUndoRedoMgr& UndoMgr() const { return *FUndoMgr; }

    // Takes ownership of a freshly made project and shows it as New and Open do
    // once they have built it: the editor appears, the grid-size box, the
    // quick-help toggle and Show Grid are enabled, the caption is the bare
    // title, the list is filled and its first character loaded.
    void ShowProject(std::unique_ptr<TGLCDFont> Font, bool Modified);

    // The action of the table of that name; null for an unknown name.
    QAction* Action(const QString& Name) const;
    const QList<QAction*>& Actions() const { return FActionList; }

    // --- export and help commands (ufMainExport.cpp) ---
    void actExportSWFToFileExecute();
    void actExportProtonToFileExecute();
    void actExportMikroEExecute();
    void actExportCustomExecute();
    void actHelpFileExecute();
    // The help file beside the running program.
    void GetHelpFileName(QString& FileName) const;
    // ProgramFile without a trailing ".exe" (any case), followed by ".chm".
    static QString HelpFileNameFor(const QString& ProgramFile);

    // --- frame ---
    // Busy: the rules' actions off, the editor locked, the hourglass up; the
    // window is painted at once unless PaintNow is false (a busy panel that
    // goes up next paints it with its own first paint).
    void SetBusy(bool Value, bool PaintNow = true);
    void BeginBusyMessage(const QString& Text);
    void EndBusyMessage();
    void UpdateStatusBar(const TGLCDFont* Font);
    void ApplyPreviewColorScheme(int Index);
    void LoadCharIntoEditor(const TCharClass* Char);
    // Evaluates every action's enabling rule from one snapshot of the state.
    void UpdateActions();
    // The character list has at least one row.
    bool HasCharRows() const;
    // Answers the save questions before the project is replaced or the program
    // ends; Yes when nothing needs saving, Cancel when either question was
    // cancelled.
    TModalResult QuerySaveChanges();

    // --- project commands (ufMainProject.cpp) ---
    // Save Font: asks about the edited character first, then for the file.
    // False when nothing was written (cancelled, declined or failed).
    [[nodiscard]] bool SaveFontProject();
    // --- passes over all characters (ufMainBatch.cpp) ---
    // One pass with busy panel, progress bar and refresh; false when refused.
    bool RunBatchPass(TBatchPass Pass, int Count);
    // The blank columns and rows that every character shares, in one scan.
    void ComputeOptimizations(int& Left, int& Right, int& Top, int& Bottom);

    // --- settings file ---
    static QString GetSettingsFolder();
    static QString GetSettingsFileName();
    void EnsureSettingsFolder();
    // The bars' and panels' layout and the settings, each way in one pass over
    // the file. A settings file that is no regular file (a pipe would hang the
    // reader) is neither read nor written.
    void LoadSettings();
    // False when the file could not be written; FSettingsRefused then says why.
    [[nodiscard]] bool SaveSettings();
    void LoadToolbarLayout(QSettings& S);
    void SaveToolbarLayout(QSettings& S);

    // --- the editor's cell mouse events ---
    void EditorMouseDown(TPixelGrid* Sender, Qt::MouseButton Button, TShiftState Shift, int ACol,
                         int ARow);
    void PaintEditorCell(TPixelGrid* Sender, TShiftState Shift, int ACol, int ARow);
    void EditorMouseUp(TPixelGrid* Sender, Qt::MouseButton Button, TShiftState Shift, int ACol,
                       int ARow);

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    // A window that grows gives the character list back the width it was
    // squeezed from.
    void resizeEvent(QResizeEvent* Event) override;
    // Notes the list's width once the user has dragged a divider.
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TActionDef;
    static const std::vector<TActionDef>& ActionTable();

    // creation
    void FormCreate();
    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    void CreateDocks();
    // Panels hidden and shown again from the Tools menu come back at their
    // sizes: kept when a panel is hidden, given back when it is shown.
    void KeepPanelSizes(QDockWidget* Hiding);
    void RestorePanelSizes();
    void CreateCharList();
    QWidget* CreateToolsPanel();
    void CreateCentre();
    void CreateStatusBar();
    void CreateBusyPanel();
    void CreateEditors();
    void ClearToolButtonCaptions();
    void ApplyUIFont();

    // runs a command; an error goes to the error box, never out of the slot
    void RunCommand(const std::function<void()>& Command);

    void FillCharList();
    // Row height, thumbnail column and panel width for characters of W x H.
    void SetCharListGeometry(int W, int H);
    void grdFontViewerCustomDrawCell(int ACol, int ARow, const TRect& CellRect);
    void grdFontViewerSelectCell(int ACol, int ARow);
    void edtGridSizeChange(int Value);
    void pnlPreviewResize();
    void cbPreviewColorSchemeChange(int Index);

    // commands built here
    void CharCommand(const std::function<void(TPixelGrid&)>& Operation);
    // A snap that leaves the glyph where it was leaves the modified flag too.
    void SnapCommand(void (TPixelGrid::*Snap)());
    void actSaveModifiedCharExecute();
    void actApplicationExitExecute();
    void actUndoExecute();
    void actCopyCharToClipExecute();
    void actPasteCharFromClipExecute();
    void actClearAllPixelsExecute();
    void actRollOverExecute();
    void actShowGridExecute();
    void actAboutExecute();

    bool ClipCharFitsFont() const;

    // project commands and passes (ufMainProject.cpp, ufMainBatch.cpp)
    void actNewFontProjectExecute();
    void actNewFontImportExecute();
    void actOpenFontProjectExecute();
    // Save Font's file question and write, without the character question.
    [[nodiscard]] bool SaveFontProjectFile();
    void BatchCommand(TBatchPass Pass, int Count);
    void actOptimizeExecute();
    void RemoveBlankMargins(const TOptimizeChoice& Choice);
    // Asks whether the edited character is stored before work that reads the
    // font: Yes stores it, No leaves the font without it and the edits in the
    // editor, Cancel (Escape) stops the work; without CanStop only Yes and No
    // are offered. mrNone when nothing was edited.
    TModalResult QueryStoreCurrentChar(bool CanStop = true);
    // The same before a pass, which reloads the editor: No drops the edits.
    // False when the pass is to stop.
    [[nodiscard]] bool QueryStoreBeforePass();
    // Keeps the window's shortcuts from being taken by the focused control.
    void KeepWindowShortcuts();
    // Fits a rectangle of the settings file into the available area of Screen
    // (null: the window's own) and gives it to the window.
    void FitToScreen(const TStoredRect& R, const QScreen* Screen);
    QString FOpenDir;
    QString FSaveDir;
    QFont FImportFont{QStringLiteral("MS Shell Dlg 2"), 8};

    // state
    std::unique_ptr<TGLCDFont> FCurrentFont;
    TPixelGrid* FCharEditor = nullptr;
    TSingleCharViewer* FLiveViewer = nullptr;
    bool FRollOver = false;
    bool FDrawing = false;
    bool FBusy = false;
    bool FProjectModified = false;
    bool FClipboardEmpty = true;
    Qt::MouseButton FDrawButton = Qt::NoButton;
    int FLastCol = -1;
    int FLastRow = -1;
    std::unique_ptr<TCharClass> FClipChar;
    std::unique_ptr<TUndoRedoMgr> FUndoMgr;
    int FBusyCount = 0;
    bool FWaitCursor = false;
    bool FQuitConfirmed = false;
    bool FPositionRestored = false;
    QString FSettingsRefused;
    bool FShownOnce = false;

    // controls
    QHash<QString, QAction*> FActions;
    QList<QAction*> FActionList;
    QHash<QAction*, TActionRule> FRules;
    QAction* actQuickHelp = nullptr;     // the editor toolbar's toggle
    QAction* actQuickHelpMenu = nullptr; // the Tools menu's toggle
    QToolBar* tbFont = nullptr;
    QToolBar* tbCharacter = nullptr;
    QToolBar* tbPnlEditor = nullptr;
    QDockWidget* pnlFontChars = nullptr;
    QDockWidget* pnlPreview = nullptr;
    QDockWidget* pnlTools = nullptr;
    QHash<QDockWidget*, QSize> FPanelSizes; // before the first of them was hidden
    int FCharListWidth = 0; // the list's width as the font or the user chose it; 0: none chosen
    bool FDraggingDivider = false;
    QWidget* pnlPreviewBody = nullptr;
    TNextGrid* grdFontViewer = nullptr;
    TNxTextColumn* nxColChar = nullptr;
    TNxTextColumn* nxColCode = nullptr;
    TNxImageColumn* nxColLCD = nullptr;
    QComboBox* cbPreviewColorScheme = nullptr;
    QWidget* pnlMain = nullptr;
    QSpinBox* edtGridSize = nullptr;
    QFrame* pnlQuickHelp = nullptr;
    QScrollArea* scrEditor = nullptr;
    QWidget* pnlEditor = nullptr;
    QFrame* pnlBusy = nullptr;
    QLabel* lblBusyTitle = nullptr;
    QLabel* lblBusyText = nullptr;
    QProgressBar* progressStatus = nullptr;
    QLabel* lblStatusFontName2 = nullptr;
    QLabel* lblStatusFontSize2 = nullptr;
    QLabel* lblStatusFontRange2 = nullptr;
    QLabel* lblStatusFontCharsCount2 = nullptr;
    QList<QLabel*> FStatusLabels;
    QList<QLabel*> FQuickHelpLabels;
    QList<QToolButton*> FToolButtons;
};

// Holds the window busy for a scope and leaves the busy state on every way out.
class TBusyGuard {
public:
    explicit TBusyGuard(TfrmMain& Window, bool PaintNow = true) : FWindow(Window) { FWindow.SetBusy(true, PaintNow); }
    ~TBusyGuard() { FWindow.SetBusy(false); }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    TfrmMain& FWindow;
};
