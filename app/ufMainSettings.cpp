// The settings file: window place and state, preview scheme, quick help, the
// editor's cell size and grid lines, and the toolbar and dock layout.
#include "ufMain.h"

#include "unHelpers.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <algorithm>
#include <optional>

// A rectangle of the settings file. The numbers may be anything an int holds,
// so every sum is taken in 64 bits.
struct TStoredRect {
    qint64 Left, Top, Width, Height;
};

namespace {

const QString SettingsSection = QStringLiteral("ToolBarItems");
const QString LayoutPrefix = QStringLiteral("TBX_");
// Bumped when the docks or toolbars change so that an old layout is not applied.
constexpr int LayoutVersion = 1;

constexpr int DefaultGridSize = 15;
constexpr int MinGridSize = 5;

// A number from the file, or Default when the key is missing or not a number
// (or there is no file to read: S null).
int ReadInteger(const QSettings* S, const QString& Key, int Default)
{
    bool Ok = false;
    const int V = S ? S->value(Key).toString().trimmed().toInt(&Ok) : 0;
    return Ok ? V : Default;
}

bool ReadBool(const QSettings* S, const QString& Key, bool Default)
{
    return ReadInteger(S, Key, Default ? 1 : 0) != 0;
}

QString AreaName(Qt::DockWidgetArea Area)
{
    switch (Area) {
    case Qt::LeftDockWidgetArea: return QStringLiteral("Left");
    case Qt::RightDockWidgetArea: return QStringLiteral("Right");
    case Qt::TopDockWidgetArea: return QStringLiteral("Top");
    case Qt::BottomDockWidgetArea: return QStringLiteral("Bottom");
    default: return QString();
    }
}

QString AreaName(Qt::ToolBarArea Area)
{
    switch (Area) {
    case Qt::LeftToolBarArea: return QStringLiteral("Left");
    case Qt::RightToolBarArea: return QStringLiteral("Right");
    case Qt::TopToolBarArea: return QStringLiteral("Top");
    case Qt::BottomToolBarArea: return QStringLiteral("Bottom");
    default: return QString();
    }
}

// The overlap of R with Area in square pixels.
qint64 Overlap(const TStoredRect& R, const QRect& Area)
{
    const qint64 W = std::min<qint64>(R.Left + R.Width, qint64(Area.x()) + Area.width()) -
                     std::max<qint64>(R.Left, Area.x());
    const qint64 H = std::min<qint64>(R.Top + R.Height, qint64(Area.y()) + Area.height()) -
                     std::max<qint64>(R.Top, Area.y());
    return W > 0 && H > 0 ? W * H : 0;
}

// The available area of the screen that holds most of R; null when R is on none.
const QScreen* ScreenOf(const TStoredRect& R)
{
    const QScreen* Best = nullptr;
    qint64 BestOverlap = 0;
    for (const QScreen* S : QGuiApplication::screens()) {
        const qint64 O = Overlap(R, S->availableGeometry());
        if (O > BestOverlap) {
            Best = S;
            BestOverlap = O;
        }
    }
    return Best;
}

// The client rectangle of a window of Minimum size at least, whose frame
// (Frame around the client area) lies inside Area and is no larger than it
// (unless Minimum is). Placed: R's place is kept as far as the area allows;
// otherwise the window is centred.
QRect FitToArea(const TStoredRect& R, bool Placed, const QRect& Area, const QMargins& Frame, const QSize& Minimum)
{
    auto Fit = [](qint64 Pos, qint64 Size, qint64 Min, int AreaPos, int AreaSize, int Before, int After,
                  bool Keep, int& OutPos, int& OutSize) {
        const qint64 Room = std::max<qint64>(1, qint64(AreaSize) - Before - After);
        Size = std::max<qint64>(std::min(Size, Room), Min);
        const qint64 Lowest = qint64(AreaPos) + Before;
        const qint64 Highest = std::max(Lowest, qint64(AreaPos) + AreaSize - After - Size);
        Pos = Keep ? std::clamp(Pos, Lowest, Highest) : Lowest + (Highest - Lowest) / 2;
        OutPos = int(Pos);
        OutSize = int(Size);
    };
    int X, Y, W, H;
    Fit(R.Left, R.Width, Minimum.width(), Area.x(), Area.width(), Frame.left(), Frame.right(), Placed, X, W);
    Fit(R.Top, R.Height, Minimum.height(), Area.y(), Area.height(), Frame.top(), Frame.bottom(), Placed, Y, H);
    return QRect(X, Y, W, H);
}

// Writes S to its file; false only when the write failed. A file that Qt
// could not fully parse (a byte-order mark, a line without "=") gives
// FormatError although it is written, and that status then hides a failed
// write: the file is read back to tell.
bool SyncWritten(QSettings& S)
{
    S.sync();
    if (S.status() != QSettings::FormatError)
        return S.status() == QSettings::NoError;
    const QSettings Written(S.fileName(), QSettings::IniFormat);
    const QStringList Keys = S.allKeys();
    return std::all_of(Keys.cbegin(), Keys.cend(), [&](const QString& Key) {
        return Written.value(Key).toString() == S.value(Key).toString();
    });
}

// Qt's INI format on a private copy of the settings file. The file itself is
// read and written by the program's own reader and writer: they follow links
// as the kernel's rule for shared folders does, keep a name as the bytes it
// is (Qt would decode it), and say why a write failed.
class TSettingsCopy {
public:
    // Settings() is null when the file cannot be read; Why then says why.
    TSettingsCopy(const QString& File, QString& Why) : FFile(File), FWhy(Why)
    {
        FWhy.clear();
        const std::optional<QByteArray> Bytes = ReadWholeFile(File, &FWhy);
        if (Bytes && !FDir.isValid())
            FWhy = FDir.errorString();
        else if (Bytes && WriteWholeFile(FDir.filePath(QStringLiteral("Dotwright.ini")), *Bytes, &FWhy))
            FSettings.emplace(FDir.filePath(QStringLiteral("Dotwright.ini")), QSettings::IniFormat);
    }
    QSettings* Settings() { return FSettings ? &*FSettings : nullptr; }
    // Writes the settings back to the file; false when that failed.
    bool Write()
    {
        if (!FSettings)
            return false;
        QFile Copy(FSettings->fileName());
        if (!SyncWritten(*FSettings) || !Copy.open(QIODevice::ReadOnly)) {
            // Qt gives no reason; a write of the program's own beside the copy finds it.
            QString Why;
            FWhy = QStringLiteral("Cannot write a temporary copy of the settings");
            if (!WriteWholeFile(FDir.filePath(QStringLiteral("probe")), " ", &Why))
                FWhy += QStringLiteral(": ") + Why;
            return false;
        }
        return WriteWholeFile(FFile, Copy.readAll(), &FWhy);
    }

private:
    QString FFile;
    QString& FWhy;
    QTemporaryDir FDir;
    std::optional<QSettings> FSettings;
};

} // namespace

QString TfrmMain::GetSettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Dotwright");
}

QString TfrmMain::GetSettingsFileName() { return GetSettingsFolder() + QStringLiteral("/Dotwright.ini"); }

void TfrmMain::EnsureSettingsFolder()
{
    const QString Folder = GetSettingsFolder();
    if (QDir(Folder).exists())
        return;
    if (!QDir().mkpath(Folder))
        MessageService().MessageDlg(QStringLiteral("Error creating Data Folder to store INI file\r\n") +
                                        QStringLiteral("Cannot create the folder ") +
                                        QDir::toNativeSeparators(Folder),
                                    TMsgDlgType::mtError, mbOK);
}

void TfrmMain::LoadSettings()
{
    // A settings path that is no file gives the defaults, as a missing file does.
    TSettingsCopy Copy(GetSettingsFileName(), FSettingsRefused);
    QSettings* S = Copy.Settings();
    if (S) {
        LoadToolbarLayout(*S);
        S->beginGroup(SettingsSection);
    }
    const QRect Current = geometry();
    // The file keeps the client area; a size below 1 is no size.
    auto Size = [&](const QString& Key, int Default) {
        const int V = ReadInteger(S, Key, Default);
        return V > 0 ? V : Default;
    };
    const TStoredRect Stored{ReadInteger(S, QStringLiteral("MainWinPos_Left"), Current.x()),
                             ReadInteger(S, QStringLiteral("MainWinPos_Top"), Current.y()),
                             Size(QStringLiteral("MainWinPos_Width"), Current.width()),
                             Size(QStringLiteral("MainWinPos_Height"), Current.height())};
    // Without a stored place, or with one off every screen, the window is
    // centred; either way it starts inside the screen, no larger than it.
    const QScreen* Screen = ScreenOf(Stored);
    FPositionRestored = S && S->contains(QStringLiteral("MainWinPos_Left")) && Screen;
    FitToScreen(Stored, Screen);
    // A window that would start minimised is easily lost: only maximised is kept.
    if (ReadInteger(S, QStringLiteral("MainWinPos_WSTATE"), 0) == 2)
        setWindowState(Qt::WindowMaximized);
    else
        setWindowState(Qt::WindowNoState);

    int Scheme = ReadInteger(S, QStringLiteral("PreviewPnl_ColorScheme"), 0);
    if (Scheme < 0 || Scheme > 4)
        Scheme = 0;
    cbPreviewColorScheme->setCurrentIndex(Scheme);
    ApplyPreviewColorScheme(cbPreviewColorScheme->currentIndex());

    const bool QuickHelp = ReadBool(S, QStringLiteral("QuickHelpPnl_Visible"), true);
    pnlQuickHelp->setVisible(QuickHelp);
    actQuickHelp->setChecked(QuickHelp);

    int GridSize = ReadInteger(S, QStringLiteral("EditorGrid_Size"), DefaultGridSize);
    if (GridSize < MinGridSize)
        GridSize = DefaultGridSize;
    edtGridSize->setValue(GridSize);

    Action(QStringLiteral("actShowGrid"))->setChecked(ReadBool(S, QStringLiteral("EditorGrid_Visible"), true));
}

bool TfrmMain::SaveSettings()
{
    TSettingsCopy Copy(GetSettingsFileName(), FSettingsRefused);
    if (!Copy.Settings())
        return false;
    QSettings& S = *Copy.Settings();
    SaveToolbarLayout(S);
    S.beginGroup(SettingsSection);
    // The normal bounds, so that a maximised window comes back to them.
    const QRect G = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    S.setValue(QStringLiteral("MainWinPos_Left"), G.x());
    S.setValue(QStringLiteral("MainWinPos_Top"), G.y());
    S.setValue(QStringLiteral("MainWinPos_Width"), G.width());
    S.setValue(QStringLiteral("MainWinPos_Height"), G.height());
    const int State = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    S.setValue(QStringLiteral("MainWinPos_WSTATE"), State);
    S.setValue(QStringLiteral("PreviewPnl_ColorScheme"), cbPreviewColorScheme->currentIndex());
    S.setValue(QStringLiteral("QuickHelpPnl_Visible"), pnlQuickHelp->isHidden() ? 0 : 1);
    S.setValue(QStringLiteral("EditorGrid_Visible"), Action(QStringLiteral("actShowGrid"))->isChecked() ? 1 : 0);
    S.setValue(QStringLiteral("EditorGrid_Size"), edtGridSize->value());
    S.endGroup();
    return Copy.Write();
}

// Qt gives a panel shown again whatever room its neighbour leaves it. The
// sizes are those of the panels before the first of them was hidden (a
// hidden panel's neighbour has grown into its room), read while the dock is
// being hidden and the layout has not moved yet.
void TfrmMain::KeepPanelSizes(QDockWidget* Hiding)
{
    for (QDockWidget* Panel : {pnlPreview, pnlTools})
        if ((Panel == Hiding || Panel->isVisible()) && !Panel->isFloating() && !FPanelSizes.contains(Panel))
            FPanelSizes.insert(Panel, Panel->size());
}

void TfrmMain::RestorePanelSizes()
{
    QList<QDockWidget*> Panels;
    QList<int> Widths, Heights;
    for (auto It = FPanelSizes.cbegin(); It != FPanelSizes.cend(); ++It)
        if (!It.key()->isHidden() && !It.key()->isFloating()) {
            Panels << It.key();
            Widths << It.value().width();
            Heights << It.value().height();
        }
    resizeDocks(Panels, Heights, Qt::Vertical);
    resizeDocks(Panels, Widths, Qt::Horizontal);
    if (!pnlPreview->isHidden() && !pnlTools->isHidden())
        FPanelSizes.clear();
}

void TfrmMain::SaveToolbarLayout(QSettings& S)
{
    for (QToolBar* T : {tbFont, tbCharacter}) {
        S.beginGroup(LayoutPrefix + T->objectName());
        S.setValue(QStringLiteral("Visible"), T->isHidden() ? 0 : 1);
        S.setValue(QStringLiteral("DockedTo"), T->isFloating() ? QString() : AreaName(toolBarArea(T)));
        S.setValue(QStringLiteral("Floating"), T->isFloating() ? 1 : 0);
        S.endGroup();
    }
    for (QDockWidget* D : {pnlFontChars, pnlPreview, pnlTools}) {
        S.beginGroup(LayoutPrefix + D->objectName());
        S.setValue(QStringLiteral("Visible"), D->isHidden() ? 0 : 1);
        S.setValue(QStringLiteral("DockedTo"), D->isFloating() ? QString() : AreaName(dockWidgetArea(D)));
        S.setValue(QStringLiteral("Floating"), D->isFloating() ? 1 : 0);
        // Qt's block has no size for a panel to come back at in a later session.
        if (FPanelSizes.contains(D)) {
            S.setValue(QStringLiteral("DockedWidth"), FPanelSizes.value(D).width());
            S.setValue(QStringLiteral("DockedHeight"), FPanelSizes.value(D).height());
        } else {
            S.remove(QStringLiteral("DockedWidth"));
            S.remove(QStringLiteral("DockedHeight"));
        }
        S.endGroup();
    }
    // Qt keeps the exact places of all of them in one block.
    S.beginGroup(LayoutPrefix + objectName());
    S.setValue(QStringLiteral("State"), QString::fromLatin1(saveState(LayoutVersion).toBase64()));
    S.endGroup();
}

void TfrmMain::LoadToolbarLayout(QSettings& S)
{
    S.beginGroup(LayoutPrefix + objectName());
    const QByteArray State = QByteArray::fromBase64(S.value(QStringLiteral("State")).toString().toLatin1());
    S.endGroup();
    if (!State.isEmpty() && restoreState(State, LayoutVersion)) {
        // The list kept the last font's width; no font is open yet, and the
        // columns are back at their start widths.
        resizeDocks({pnlFontChars}, {CharListStartWidth}, Qt::Horizontal);
        for (QDockWidget* D : {pnlPreview, pnlTools}) {
            S.beginGroup(LayoutPrefix + D->objectName());
            const QSize Kept(ReadInteger(&S, QStringLiteral("DockedWidth"), 0),
                             ReadInteger(&S, QStringLiteral("DockedHeight"), 0));
            S.endGroup();
            // A size no screen holds would crowd out the list and the editor.
            if (!Kept.isEmpty() && Kept == Kept.boundedTo(screen()->availableVirtualSize()))
                FPanelSizes.insert(D, Kept);
        }
        return;
    }
    // Without Qt's block, at least the visibility of each bar and panel.
    for (QWidget* W : std::initializer_list<QWidget*>{tbFont, tbCharacter, pnlPreview, pnlTools}) {
        S.beginGroup(LayoutPrefix + W->objectName());
        W->setVisible(ReadBool(&S, QStringLiteral("Visible"), true));
        S.endGroup();
    }
}

void TfrmMain::FitToScreen(const TStoredRect& R, const QScreen* Screen)
{
    if (!Screen)
        Screen = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!Screen)
        return;
    const QRect Frame = frameGeometry(), Client = geometry();
    const QMargins Margins(Client.left() - Frame.left(), Client.top() - Frame.top(),
                           Frame.right() - Client.right(), Frame.bottom() - Client.bottom());
    setGeometry(FitToArea(R, FPositionRestored, Screen->availableGeometry(), Margins, minimumSizeHint()));
}

void TfrmMain::showEvent(QShowEvent* Event)
{
    QMainWindow::showEvent(Event);
    if (!FShownOnce && !Event->spontaneous()) {
        FShownOnce = true;
        // Again with the frame now known, so that the caption is on the screen.
        if (!isMaximized()) {
            const QRect G = geometry();
            FitToScreen({G.x(), G.y(), G.width(), G.height()}, nullptr);
        }
    }
    pnlPreviewResize();
}
