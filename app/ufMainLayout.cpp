// The main window's layout: menus, toolbars, docks, the centre panel with the
// editor's toolbar and quick help, the status bar and the busy panel.
#include "ufMain.h"

#include "udmGlobal.h"
#include "NxColumnClasses.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

void TfrmMain::CreateMenus()
{
    QMenuBar* Bar = menuBar();
    Bar->setObjectName(QStringLiteral("tbMenu"));
    auto Act = [this](const char* Name) { return Action(QString::fromLatin1(Name)); };
    auto Add = [&](QMenu* M, std::initializer_list<const char*> Names) {
        for (const char* N : Names) {
            if (*N)
                M->addAction(Act(N));
            else
                M->addSeparator();
        }
    };

    QMenu* File = Bar->addMenu(QStringLiteral("&File"));
    File->setObjectName(QStringLiteral("mnuFile"));
    QMenu* New = File->addMenu(QStringLiteral("&New Font"));
    New->setObjectName(QStringLiteral("mnuNewFont"));
    Add(New, {"actNewFontProject", "actNewFontImport"});
    FRules.insert(New->menuAction(), TActionRule::arR2);
    Add(File, {"actOpenFontProject", "actSaveFontProject", "", "actSaveModifiedChar", ""});
    QMenu* Export = File->addMenu(QStringLiteral("Export"));
    Export->setObjectName(QStringLiteral("mnuExport"));
    Export->setIcon(dmGlobal().Icon(QStringLiteral("ExportMenu")));
    Add(Export, {"actExportSWFToFile", "actExportProtonToFile", "actExportMikroE", "", "actExportCustom"});
    FRules.insert(Export->menuAction(), TActionRule::arR1);
    Add(File, {"", "actApplicationExit"});

    QMenu* Edit = Bar->addMenu(QStringLiteral("&Edit"));
    Edit->setObjectName(QStringLiteral("mnuEdit"));
    Add(Edit, {"actUndo", "", "actCopyCharToClip", "actPasteCharFromClip", "", "actClearAllPixels"});

    // Menus that show their own captions (with mnemonics) for the same actions.
    auto Captioned = [&](QMenu* M, const char* Name, const QString& Caption) {
        // A menu item with its own caption that runs and follows the action.
        QAction* A = Act(Name);
        // The shortcut is shown, not registered: the action's own one fires.
        QString Text = Caption;
        if (!A->shortcut().isEmpty())
            Text += QLatin1Char('\t') + A->shortcut().toString(QKeySequence::NativeText);
        auto* Item = M->addAction(A->icon(), Text);
        Item->setCheckable(A->isCheckable());
        Item->setChecked(A->isChecked());
        Item->setEnabled(A->isEnabled());
        Item->setObjectName(QString::fromLatin1(Name) + QStringLiteral("Item"));
        connect(Item, &QAction::triggered, A, [A] { A->trigger(); });
        connect(A, &QAction::changed, Item, [A, Item] {
            Item->setEnabled(A->isEnabled());
            Item->setChecked(A->isChecked());
        });
    };
    QMenu* Effects = Bar->addMenu(QStringLiteral("Effe&cts"));
    Effects->setObjectName(QStringLiteral("mnuEffects"));
    Captioned(Effects, "actInvertGrid", QStringLiteral("&Invert"));
    Captioned(Effects, "actOutlineChar", QStringLiteral("Out&line Char"));
    Effects->addSeparator();
    Captioned(Effects, "actHorizMirror", QStringLiteral("&Horizontal Mirror"));
    Captioned(Effects, "actVertMirror", QStringLiteral("&Vertical Mirror"));
    Effects->addSeparator();
    QMenu* Shift = Effects->addMenu(QStringLiteral("&Shift"));
    Add(Shift, {"actScrollUp", "actScrollDown", "", "actScrollLeft", "actScrollRight", "", "actRollOver"});
    Effects->addSeparator();
    QMenu* Snap = Effects->addMenu(QStringLiteral("S&nap To Borders"));
    Add(Snap, {"actSnapTop", "actSnapBottom", "", "actSnapLeft", "actSnapRight"});

    QMenu* Batch = Bar->addMenu(QStringLiteral("&Batch"));
    Batch->setObjectName(QStringLiteral("mnuBatch"));
    Add(Batch, {"actBatchInvert", "actBatchOutline", ""});
    Add(Batch->addMenu(QStringLiteral("&Columns")),
        {"actInsetColLeft", "actInsertColRight", "", "actDeleteFirstCol", "actDeleteLastCol"});
    Add(Batch->addMenu(QStringLiteral("&Rows")),
        {"actInsertRowTop", "actInsertRowBottom", "", "actDeleteFirstRow", "actDeleteLastRow"});
    Batch->addSeparator();
    Add(Batch->addMenu(QStringLiteral("&Mirror all chars")), {"actBatchHMirror", "actBatchVMirror"});
    Add(Batch->addMenu(QStringLiteral("&Shift all chars")),
        {"actBatchVertShiftUp", "actBatchVertShiftDown", "", "actBatchHorizShiftLeft",
         "actBatchHorizShiftRight", "", "actRollOver"});
    Add(Batch->addMenu(QStringLiteral("S&nap all chars to Border")),
        {"actBatchSnapTop", "actBatchSnapBottom", "", "actBatchSnapLeft", "actBatchSnapRight"});
    Batch->addSeparator();
    Captioned(Batch, "actOptimize", QStringLiteral("&Optimize"));

    QMenu* Tools = Bar->addMenu(QStringLiteral("&Tools"));
    Tools->setObjectName(QStringLiteral("mnuTools"));
    Tools->addAction(actQuickHelpMenu);
    // filled with the panel and toolbar toggles once they exist
    Bar->addMenu(QStringLiteral("&Help"))->setObjectName(QStringLiteral("mnuHelp"));
}

void TfrmMain::CreateToolbars()
{
    auto Act = [this](const char* Name) { return Action(QString::fromLatin1(Name)); };

    tbFont = new QToolBar(QStringLiteral("Font"), this);
    tbFont->setObjectName(QStringLiteral("tbFont"));
    tbFont->setIconSize(QSize(16, 16));
    // A drop-down button that opens a menu of Actions; it is enabled by the
    // rule of the actions it offers.
    auto DropDown = [&](const char* Name, const QString& Caption, const QString& Hint, const QString& Icon,
                        TActionRule Rule, std::initializer_list<const char*> Actions) {
        auto* M = new QMenu(Caption, this);
        M->setIcon(dmGlobal().Icon(Icon));
        for (const char* A : Actions)
            M->addAction(Act(A));
        M->menuAction()->setToolTip(Hint);
        FRules.insert(M->menuAction(), Rule);
        auto* B = new QToolButton(tbFont);
        B->setObjectName(QString::fromLatin1(Name));
        B->setDefaultAction(M->menuAction());
        B->setPopupMode(QToolButton::InstantPopup);
        tbFont->addWidget(B);
    };
    auto Gap = [](QToolBar* Bar, int Width) {
        auto* W = new QWidget(Bar);
        W->setFixedWidth(Width);
        Bar->addWidget(W);
    };
    DropDown("btnNewFontProject", QStringLiteral("New Font Project"), QStringLiteral("New Font Project"),
             QStringLiteral("NewFontMenu"), TActionRule::arR2, {"actNewFontProject", "actNewFontImport"});
    tbFont->addAction(Act("actOpenFontProject"));
    tbFont->addAction(Act("actSaveFontProject"));
    Gap(tbFont, 15);
    DropDown("btnExport", QStringLiteral("Export"), QStringLiteral("Export font"), QStringLiteral("ExportMenu"),
             TActionRule::arR1, {"actExportSWFToFile", "actExportProtonToFile", "actExportMikroE", "actExportCustom"});
    addToolBar(Qt::TopToolBarArea, tbFont);

    tbCharacter = new QToolBar(QStringLiteral("Character"), this);
    tbCharacter->setObjectName(QStringLiteral("tbCharacter"));
    tbCharacter->setIconSize(QSize(16, 16));
    for (const char* N :
         {"actSaveModifiedChar", "|", "actUndo", "|", "actCopyCharToClip", "actPasteCharFromClip", "|",
          "actClearAllPixels", "actInvertGrid", "actOutlineChar", "|", "actHorizMirror", "actVertMirror",
          "|", "actInsetColLeft", "actInsertColRight", "actInsertRowTop", "actInsertRowBottom", "|",
          "actDeleteFirstCol", "actDeleteLastCol", "actDeleteFirstRow", "actDeleteLastRow", "|",
          "actOptimize", "|", "actScrollUp", "actScrollDown", "actRollOver", "actScrollLeft",
          "actScrollRight"}) {
        if (*N == '|')
            Gap(tbCharacter, 12);
        else
            tbCharacter->addAction(Act(N));
    }
    addToolBar(Qt::TopToolBarArea, tbCharacter);
}

QWidget* TfrmMain::CreateToolsPanel()
{
    auto* Body = new QWidget;
    Body->setObjectName(QStringLiteral("pnlToolsBody"));
    auto* V = new QVBoxLayout(Body);
    V->setContentsMargins(6, 4, 6, 4);
    V->setSpacing(2);
    auto Group = [&](const QString& Caption, const char* LabelName) {
        auto* L = new QLabel(Caption, Body);
        L->setObjectName(QString::fromLatin1(LabelName));
        QFont F = L->font();
        F.setUnderline(true);
        L->setFont(F);
        V->addSpacing(4);
        V->addWidget(L);
    };
    auto Button = [&](const char* Name, const char* ActionName, bool Repeat) {
        auto* B = new QToolButton(Body);
        B->setObjectName(QString::fromLatin1(Name));
        B->setDefaultAction(Action(QString::fromLatin1(ActionName)));
        B->setFixedSize(25, 25);
        B->setIconSize(QSize(16, 16));
        B->setAutoRaise(true);
        B->setAutoRepeat(Repeat);
        FToolButtons << B;
        return B;
    };
    // A cross of buttons: top, left, centre, right, bottom (centre may be empty).
    auto Cross = [&](const char* const (&Names)[5][2]) {
        auto* G = new QGridLayout;
        G->setSpacing(1);
        const int Places[5][2] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 1}};
        for (int I = 0; I < 5; ++I)
            if (Names[I][0])
                G->addWidget(Button(Names[I][0], Names[I][1], I != 2), Places[I][0], Places[I][1]);
        auto* H = new QHBoxLayout;
        H->addLayout(G);
        H->addStretch();
        V->addLayout(H);
    };
    auto Row = [&](std::initializer_list<std::pair<const char*, const char*>> Names) {
        auto* H = new QHBoxLayout;
        H->setSpacing(1);
        for (auto [N, A] : Names)
            H->addWidget(Button(N, A, false));
        H->addStretch();
        V->addLayout(H);
    };

    Group(QStringLiteral("Shift / Move "), "SpTBXLabel1");
    static const char* const ShiftNames[5][2] = {{"btnScrollUp", "actScrollUp"},
                                                 {"btnScrollLeft", "actScrollLeft"},
                                                 {"btnRollOver", "actRollOver"},
                                                 {"btnScrollRight", "actScrollRight"},
                                                 {"btnScrollDown", "actScrollDown"}};
    Cross(ShiftNames);
    Group(QStringLiteral("Snap To Borders"), "SpTBXLabel5");
    static const char* const SnapNames[5][2] = {{"btnSnapTop", "actSnapTop"},
                                                {"btnSnapLeft", "actSnapLeft"},
                                                {nullptr, nullptr},
                                                {"btnSnapRight", "actSnapRight"},
                                                {"btnSnapBottom", "actSnapBottom"}};
    Cross(SnapNames);
    Group(QStringLiteral("Effects"), "SpTBXLabel2");
    Row({{"btnInvert", "actInvertGrid"}, {"btnOutline", "actOutlineChar"},
         {"btnHorizMirror", "actHorizMirror"}, {"btnVertMirror", "actVertMirror"}});
    Group(QStringLiteral("Columns"), "SpTBXLabel3");
    Row({{"btnAddColLeft", "actInsetColLeft"}, {"btnAddColRight", "actInsertColRight"},
         {"btnDelColLeft", "actDeleteFirstCol"}, {"btnDelColRight", "actDeleteLastCol"}});
    Group(QStringLiteral("Rows"), "SpTBXLabel4");
    Row({{"btnAddRowTop", "actInsertRowTop"}, {"btnAddRowBottom", "actInsertRowBottom"},
         {"btnDelRowTop", "actDeleteFirstRow"}, {"btnDelRowBottom", "actDeleteLastRow"}});
    V->addStretch();
    return Body;
}

void TfrmMain::CreateCharList()
{
    grdFontViewer = new TNextGrid(pnlFontChars);
    grdFontViewer->setObjectName(QStringLiteral("grdFontViewer"));
    grdFontViewer->SetOptions(goDisableColumnMoving | goHeader | goSelectFullRow);
    grdFontViewer->SetAppearanceOptions(aoBoldTextSelection);
    grdFontViewer->SetGridLinesStyle(lsHorizontalOnly);
    grdFontViewer->SetRowSize(45);
    auto Column = [this](auto* C, const char* Name, const char* Caption, int Width) {
        C->SetName(QString::fromLatin1(Name));
        C->Header().SetCaption(QString::fromLatin1(Caption));
        C->SetWidth(Width);
        grdFontViewer->Columns().Add(C);
        return C;
    };
    nxColChar = Column(new TNxTextColumn, "nxColChar", "Char", 40);
    nxColChar->SetAlignment(taCenter);
    nxColChar->SetFont(QFont(QStringLiteral("MS Shell Dlg 2"), 12));
    nxColCode = Column(new TNxTextColumn, "nxColCode", "Code", 40);
    nxColCode->SetTextBefore(QStringLiteral(" "));
    nxColLCD = Column(new TNxImageColumn, "nxColLCD", "GLCD", 120);
    nxColLCD->SetDrawingOptions(doBackgroundOnly);
    grdFontViewer->OnCustomDrawCell = [this](TNxCustomGridControl*, int ACol, int ARow, const TRect& R,
                                             TCellState) { grdFontViewerCustomDrawCell(ACol, ARow, R); };
    grdFontViewer->OnSelectCell = [this](TNxCustomGridControl*, int ACol, int ARow) {
        RunCommand([&] { grdFontViewerSelectCell(ACol, ARow); });
    };
}

void TfrmMain::CreateDocks()
{
    setDockOptions(QMainWindow::AnimatedDocks);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

    pnlFontChars = new QDockWidget(QStringLiteral("Font Char Set"), this);
    pnlFontChars->setObjectName(QStringLiteral("pnlFontChars"));
    pnlFontChars->setFeatures(QDockWidget::NoDockWidgetFeatures);
    pnlFontChars->setAllowedAreas(Qt::LeftDockWidgetArea);
    CreateCharList();
    pnlFontChars->setWidget(grdFontViewer);
    addDockWidget(Qt::LeftDockWidgetArea, pnlFontChars);
    resizeDocks({pnlFontChars}, {CharListStartWidth}, Qt::Horizontal);

    pnlPreview = new QDockWidget(QStringLiteral("Preview"), this);
    pnlPreview->setObjectName(QStringLiteral("pnlPreview"));
    pnlPreview->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                            QDockWidget::DockWidgetFloatable);
    pnlPreviewBody = new QWidget(pnlPreview);
    pnlPreviewBody->setObjectName(QStringLiteral("pnlPreviewBody"));
    // Tall enough for the colour box: a preview larger than the panel is cut
    // at its edge, and the panels below keep their place.
    pnlPreviewBody->setMinimumSize(136, 38);
    cbPreviewColorScheme = new QComboBox(pnlPreviewBody);
    cbPreviewColorScheme->setObjectName(QStringLiteral("cbPreviewColorScheme"));
    cbPreviewColorScheme->addItems({QStringLiteral("Blue"), QStringLiteral("Green"),
                                    QStringLiteral("Pink"), QStringLiteral("Red"),
                                    QStringLiteral("Yellow")});
    cbPreviewColorScheme->setGeometry(8, 8, 120, 22);
    pnlPreviewBody->installEventFilter(this);
    pnlPreview->setWidget(pnlPreviewBody);
    addDockWidget(Qt::RightDockWidgetArea, pnlPreview);

    pnlTools = new QDockWidget(QStringLiteral("Tools"), this);
    pnlTools->setObjectName(QStringLiteral("pnlTools"));
    pnlTools->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                          QDockWidget::DockWidgetFloatable);
    pnlTools->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    // In a short window the buttons scroll instead of pushing the panel over
    // the preview and the status bar.
    auto* ToolsScroll = new QScrollArea(pnlTools);
    ToolsScroll->setObjectName(QStringLiteral("scrTools"));
    ToolsScroll->setFrameShape(QFrame::NoFrame);
    ToolsScroll->setWidgetResizable(true);
    ToolsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ToolsScroll->setWidget(CreateToolsPanel());
    pnlTools->setWidget(ToolsScroll);
    addDockWidget(Qt::RightDockWidgetArea, pnlTools);
    splitDockWidget(pnlPreview, pnlTools, Qt::Vertical);
    resizeDocks({pnlPreview, pnlTools}, {148, 527}, Qt::Vertical);
    resizeDocks({pnlPreview}, {136}, Qt::Horizontal);

    QMenu* Tools = menuBar()->findChild<QMenu*>(QStringLiteral("mnuTools"));
    QAction* Preview = pnlPreview->toggleViewAction();
    Preview->setText(QStringLiteral("Preview Panel"));
    Preview->setObjectName(QStringLiteral("actPreviewPanel"));
    QAction* ToolsToggle = pnlTools->toggleViewAction();
    ToolsToggle->setText(QStringLiteral("Tools Panel"));
    ToolsToggle->setObjectName(QStringLiteral("actToolsPanel"));
    QAction* FontBar = tbFont->toggleViewAction();
    FontBar->setText(QStringLiteral("Font Project Toolbar"));
    FontBar->setObjectName(QStringLiteral("actFontToolbar"));
    QAction* CharBar = tbCharacter->toggleViewAction();
    CharBar->setText(QStringLiteral("Char Editing Toolbar"));
    CharBar->setObjectName(QStringLiteral("actCharToolbar"));
    for (QDockWidget* Panel : {pnlPreview, pnlTools}) {
        connect(Panel, &QDockWidget::visibilityChanged, this, [this, Panel](bool Visible) {
            if (!Visible && Panel->isHidden())
                KeepPanelSizes(Panel);
        });
        // After the dock's own handler has shown it.
        connect(Panel->toggleViewAction(), &QAction::triggered, this, [this](bool Shown) {
            if (Shown)
                RestorePanelSizes();
        });
    }
    Tools->addActions({Preview, ToolsToggle});
    Tools->addSeparator();
    Tools->addActions({FontBar, CharBar});

    QMenu* Help = menuBar()->findChild<QMenu*>(QStringLiteral("mnuHelp"));
    Help->addAction(Action(QStringLiteral("actHelpFile")));
    Help->addSeparator();
    Help->addAction(Action(QStringLiteral("actAbout")));
}

void TfrmMain::CreateCentre()
{
    pnlMain = new QWidget(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    auto* V = new QVBoxLayout(pnlMain);
    V->setContentsMargins(0, 0, 0, 0);
    V->setSpacing(0);

    // The editor's own toolbar lives inside the centre panel, so no other
    // toolbar can be docked there.
    tbPnlEditor = new QToolBar(QStringLiteral("Editor"), pnlMain);
    tbPnlEditor->setObjectName(QStringLiteral("tbPnlEditor"));
    tbPnlEditor->setMovable(false);
    tbPnlEditor->setFloatable(false);
    tbPnlEditor->setFixedHeight(26);
    tbPnlEditor->setIconSize(QSize(16, 16));
    tbPnlEditor->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* GridLabel = new QLabel(QStringLiteral("Grid Size"), tbPnlEditor);
    GridLabel->setObjectName(QStringLiteral("lblGridSize"));
    GridLabel->setContentsMargins(4, 0, 4, 0);
    tbPnlEditor->addWidget(GridLabel);
    edtGridSize = new QSpinBox(tbPnlEditor);
    edtGridSize->setObjectName(QStringLiteral("edtGridSize"));
    // A cap far above any useful cell size keeps the editor within what a widget can be.
    edtGridSize->setRange(5, 999);
    edtGridSize->setValue(10);
    if (auto* Text = edtGridSize->findChild<QLineEdit*>())
        Text->setReadOnly(true);
    connect(edtGridSize, &QSpinBox::valueChanged, this, [this](int V) { edtGridSizeChange(V); });
    tbPnlEditor->addWidget(edtGridSize);
    auto Gap = [this](int Width) {
        auto* W = new QWidget(tbPnlEditor);
        W->setFixedWidth(Width);
        tbPnlEditor->addWidget(W);
    };
    Gap(15);
    tbPnlEditor->addAction(Action(QStringLiteral("actShowGrid")));
    Gap(6);
    tbPnlEditor->addAction(actQuickHelp);
    V->addWidget(tbPnlEditor);

    pnlQuickHelp = new QFrame(pnlMain);
    pnlQuickHelp->setObjectName(QStringLiteral("pnlQuickHelp"));
    pnlQuickHelp->setFrameShape(QFrame::StyledPanel);
    pnlQuickHelp->setFixedHeight(38);
    auto* G = new QGridLayout(pnlQuickHelp);
    G->setContentsMargins(8, 2, 8, 2);
    G->setVerticalSpacing(0);
    static const char* const Help[6][2] = {
        {"Left Click", ": Set Pixel"},         {"Ctrl+Left Click", ": Set Full Column"},
        {"Shift+Left Click", ": Set Full Row"}, {"Right Click", ": Clear Pixel"},
        {"Ctrl+Right Click", ": Clear Full Column"}, {"Shift+Right Click", ": Clear Full Row"}};
    for (int I = 0; I < 6; ++I) {
        auto* Key = new QLabel(QString::fromLatin1(Help[I][0]), pnlQuickHelp);
        Key->setObjectName(QStringLiteral("lblHlp%1").arg(I + 1));
        QFont F = Key->font();
        F.setBold(true);
        Key->setFont(F);
        auto* Text = new QLabel(QString::fromLatin1(Help[I][1]), pnlQuickHelp);
        Text->setObjectName(QStringLiteral("lblHlpText%1").arg(I + 1));
        G->addWidget(Key, I / 3, (I % 3) * 2);
        G->addWidget(Text, I / 3, (I % 3) * 2 + 1);
        FQuickHelpLabels << Key << Text;
    }
    G->setColumnStretch(5, 1);
    // Cut at the right in a narrow window rather than holding the window wide.
    pnlQuickHelp->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    V->addWidget(pnlQuickHelp);
    connect(actQuickHelp, &QAction::toggled, actQuickHelpMenu, &QAction::setChecked);
    connect(actQuickHelpMenu, &QAction::toggled, actQuickHelp, &QAction::setChecked);

    scrEditor = new QScrollArea(pnlMain);
    scrEditor->setObjectName(QStringLiteral("scrEditor"));
    scrEditor->setFrameShape(QFrame::NoFrame);
    scrEditor->setWidgetResizable(true);
    // A click on the editor would otherwise hand the keyboard to the scroll
    // area around it and take it from the character list.
    scrEditor->setFocusPolicy(Qt::NoFocus);
    pnlEditor = new QWidget;
    pnlEditor->setObjectName(QStringLiteral("pnlEditor"));
    scrEditor->setWidget(pnlEditor);
    V->addWidget(scrEditor, 1);
    setCentralWidget(pnlMain);
}

void TfrmMain::CreateStatusBar()
{
    QStatusBar* Bar = statusBar();
    Bar->setObjectName(QStringLiteral("tbStatus"));
    Bar->setSizeGripEnabled(true);
    auto Pair = [&](const char* Name1, const QString& Caption, const char* Name2) {
        auto* L1 = new QLabel(Caption, Bar);
        L1->setObjectName(QString::fromLatin1(Name1));
        auto* L2 = new QLabel(Bar);
        L2->setObjectName(QString::fromLatin1(Name2));
        // The font's name is the user's text, shown as typed, never as markup.
        L2->setTextFormat(Qt::PlainText);
        QFont F = L2->font();
        F.setBold(true);
        L2->setFont(F);
        L2->setStyleSheet(QStringLiteral("color: #800000;"));
        Bar->addWidget(L1);
        Bar->addWidget(L2);
        FStatusLabels << L1 << L2;
        return L2;
    };
    auto Separator = [&] {
        auto* S = new QFrame(Bar);
        S->setFrameShape(QFrame::VLine);
        S->setFrameShadow(QFrame::Sunken);
        Bar->addWidget(S);
    };
    lblStatusFontName2 = Pair("lblStatusFontName1", QStringLiteral("Font Name:"), "lblStatusFontName2");
    Separator();
    lblStatusFontSize2 = Pair("lblStatusFontSize1", QStringLiteral("Font Size:"), "lblStatusFontSize2");
    Separator();
    lblStatusFontRange2 = Pair("lblStatusFontRange", QStringLiteral("Font Range:"), "lblStatusFontRange2");
    Separator();
    lblStatusFontCharsCount2 =
        Pair("lblStatusFontCharsCount", QStringLiteral("Chars Count:"), "lblStatusFontCharsCount2");
    progressStatus = new QProgressBar(Bar);
    progressStatus->setObjectName(QStringLiteral("progressStatus"));
    progressStatus->setFixedSize(150, 17);
    progressStatus->setFormat(QStringLiteral("%p%"));
    progressStatus->setAlignment(Qt::AlignCenter);
    QFont F = progressStatus->font();
    F.setBold(true);
    progressStatus->setFont(F);
    progressStatus->setValue(progressStatus->minimum());
    progressStatus->hide();
    Bar->addPermanentWidget(progressStatus);
}

void TfrmMain::CreateBusyPanel()
{
    pnlBusy = new QFrame(this);
    pnlBusy->setObjectName(QStringLiteral("pnlBusy"));
    pnlBusy->setFrameShape(QFrame::Box);
    pnlBusy->setAutoFillBackground(true);
    pnlBusy->setGeometry(0, 272, 281, 65);
    auto* Picture = new QLabel(pnlBusy);
    Picture->setObjectName(QStringLiteral("Image1"));
    Picture->setGeometry(8, 16, 24, 24);
    Picture->setPixmap(dmGlobal().Icon(QStringLiteral("Busy")).pixmap(24, 24));
    lblBusyTitle = new QLabel(QStringLiteral("Processing. Please wait !"), pnlBusy);
    lblBusyTitle->setObjectName(QStringLiteral("lblBusyTitle"));
    QFont F = lblBusyTitle->font();
    F.setBold(true);
    lblBusyTitle->setFont(F);
    lblBusyTitle->setGeometry(48, 8, 225, 16);
    lblBusyText = new QLabel(pnlBusy);
    lblBusyText->setObjectName(QStringLiteral("lblBusyText"));
    lblBusyText->setTextFormat(Qt::PlainText);
    lblBusyText->setWordWrap(true);
    lblBusyText->setGeometry(48, 24, 225, 34);
}

void TfrmMain::ClearToolButtonCaptions()
{
    // Images alone on the tools panel; menus and toolbars keep the captions.
    for (QToolButton* B : FToolButtons)
        B->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TfrmMain::ApplyUIFont()
{
    const QString Family = GetUIFontName();
    QList<QWidget*> Targets;
    for (QLabel* L : FStatusLabels)
        Targets << L;
    for (QLabel* L : FQuickHelpLabels)
        Targets << L;
    Targets << lblBusyText << lblBusyTitle;
    // The two cross captions and the tools panel's caption bar.
    Targets << pnlTools << findChild<QLabel*>(QStringLiteral("SpTBXLabel1"))
            << findChild<QLabel*>(QStringLiteral("SpTBXLabel5"));
    for (QWidget* W : Targets) {
        if (!W)
            continue;
        QFont F = W->font();
        F.setFamily(Family);
        W->setFont(F);
    }
}

void TfrmMain::resizeEvent(QResizeEvent* Event)
{
    QMainWindow::resizeEvent(Event);
    // A smaller window takes its room from the docks too; growing, it would
    // give it all to the editor, leaving the list without its thumbnails, and
    // to the preview, leaving the tools cut off.
    if (Event->size().width() > Event->oldSize().width() && pnlFontChars->isVisible() &&
        pnlFontChars->width() < FCharListWidth)
        resizeDocks({pnlFontChars}, {FCharListWidth}, Qt::Horizontal);
    const bool Split = pnlPreview->isVisible() && pnlTools->isVisible() && !pnlPreview->isFloating() &&
                       !pnlTools->isFloating() && dockWidgetArea(pnlPreview) == dockWidgetArea(pnlTools);
    if (Event->size().height() > Event->oldSize().height() && Split) {
        // The tools get all their buttons back from what the preview holds
        // beyond its picture.
        const auto* Tools = static_cast<const QScrollArea*>(pnlTools->widget());
        const int Missing = Tools->widget()->minimumSizeHint().height() - Tools->viewport()->height();
        const int Spare = pnlPreviewBody->height() -
                          std::max(pnlPreviewBody->minimumHeight(), FLiveViewer->geometry().bottom() + 8);
        if (const int Moved = std::min(Missing, Spare); Moved > 0)
            resizeDocks({pnlPreview, pnlTools}, {pnlPreview->height() - Moved, pnlTools->height() + Moved},
                        Qt::Vertical);
    }
}

bool TfrmMain::event(QEvent* Event)
{
    // The dividers between the docks and the centre belong to the window itself.
    if (Event->type() == QEvent::MouseButtonPress)
        FDraggingDivider = isSeparator(static_cast<QMouseEvent*>(Event)->position().toPoint());
    const bool Handled = QMainWindow::event(Event);
    if (Event->type() == QEvent::MouseButtonRelease && FDraggingDivider) {
        FDraggingDivider = false;
        if (FCharListWidth > 0)
            FCharListWidth = pnlFontChars->width();
    }
    return Handled;
}
