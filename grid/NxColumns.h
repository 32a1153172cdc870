#pragma once
// Grid columns and the column collection: per-column settings, the header and
// footer parts, the cell content display, and the pixel layout of the columns.
#include "NxGridLink.h"
#include "NxSharedCommon.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class TNxColumns;
class TNxCustomColumn;
class TNxCustomEdit;

enum TDisplayMode { dmImageOnly, dmTextAndImage, dmTextOnly };
enum TDrawingOptions { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
enum TFormulaKind { fkNone, fkAverage, fkCount, fkDistinct, fkMaximum, fkMinimum, fkSum, fkCustom };
enum THeaderOrientation { hoHorizontal, hoVertical };
enum TSortKind { skAscending, skDescending };
enum TSortType { stAlphabetic, stBoolean, stCaseInsensitive, stCustom, stNumeric, stDate, stIP };
enum TWrapKind { wkNone, wkEllipsis, wkPathEllipsis, wkWordWrap };

enum TColumnOption : std::uint16_t {
    coAutoSize = 1 << 0,
    coCanClick = 1 << 1,
    coCanInput = 1 << 2,
    coCanSort = 1 << 3,
    coDisableMoving = 1 << 4,
    coDontHighlight = 1 << 5,
    coEditing = 1 << 6,
    coEditorAutoSelect = 1 << 7,
    coFixedSize = 1 << 8,
    coImageForIcon = 1 << 9,
    coPublicUsing = 1 << 10,
    coSearchColumn = 1 << 11,
    coShowTextFitHint = 1 << 12,
    coTextForCaption = 1 << 13,
};
using TColumnOptions = std::uint16_t;
constexpr TColumnOptions DefaultColumnOptions = 1038;

// A grid holds at most this many columns.
constexpr int MaxColumns = 1024;

// The cell kind byte of a column.
constexpr int ckIncrement = 0, ckBoolean = 3, ckDateTime = 4, ckFloat = 5, ckInteger = 6, ckString = 7,
              ckVirtual = 9;

// Column notification codes sent to the grid.
enum TColumnNotify {
    cnInputValue = 1,
    cnPosition = 2,
    cnSlideBounds = 3,
    cnSorted = 4,
    cnSortSettings = 5,
    cnChanged = 6,
    cnVisible = 7,
    cnUnsorted = 8,
    cnWidth = 9,
    cnHiding = 10, // before the column is hidden
};

// Column-listener codes.
constexpr int lcAlignment = 0, lcCaption = 1, lcColorOptions = 2, lcDrawingOptions = 3, lcVisibility = 6;

class TColumnPart {
public:
    explicit TColumnPart(TNxCustomColumn* Owner);
    virtual ~TColumnPart() = default;

    TNxCustomColumn* Column() const { return FColumn; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TDisplayMode Value);
    // A glyph without alpha is made transparent in the colour of its bottom-left pixel.
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value) { FHint = Value; }

    std::function<void(TColumnPart*)> OnChange;

    // Caption, Color, DisplayMode and Glyph.
    virtual void Assign(const TColumnPart& Source);

protected:
    void Changed();
    TNxCustomColumn* FColumn;
    QString FCaption;
    TColor FColor = clBtnFace;
    TDisplayMode FDisplayMode = dmTextOnly;
    QImage FGlyph;
    QString FHint;
};

class TColumnHeader : public TColumnPart {
public:
    explicit TColumnHeader(TNxCustomColumn* Owner);
    THeaderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(THeaderOrientation Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);

private:
    THeaderOrientation FOrientation = hoHorizontal;
    TAlignment FAlignment = taLeftJustify;
    bool FMultiLine = false;
};

class TColumnFooter : public TColumnPart {
public:
    explicit TColumnFooter(TNxCustomColumn* Owner);
    TFormulaKind FormulaKind() const { return FFormulaKind; }
    void SetFormulaKind(TFormulaKind Value);
    QString FormatMask() const { return FFormatMask; }
    void SetFormatMask(const QString& Value);
    // A footer takes only FormulaKind from another footer.
    void Assign(const TColumnPart& Source) override;

private:
    TFormulaKind FFormulaKind = fkNone;
    QString FFormatMask;
};

class TNxSlideBounds {
public:
    explicit TNxSlideBounds(TNxCustomColumn* Owner) : FColumn(Owner) {}
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Right() const { return FLeft + FWidth; }
    int Bottom() const { return FTop + FHeight; }
    void SetLeft(int Value);
    void SetTop(int Value);
    void SetWidth(int Value);
    void SetHeight(int Value);
    void Assign(const TNxSlideBounds& Source);

private:
    void Changed();
    TNxCustomColumn* FColumn;
    int FLeft = 8, FTop = 8, FHeight = 16, FWidth = 80;
};

// The value slots the grid fills before a cell of the column is painted.
class TVirtualColElement {
public:
    explicit TVirtualColElement(TNxCustomColumn* Column) : FColumn(Column) {}
    virtual ~TVirtualColElement() = default;

    TNxCustomColumn* Column() const { return FColumn; }
    bool AsBoolean = false;
    double AsDateTime = 0;
    double AsFloat = 0;
    int AsInteger = 0;
    QString AsString;
    bool RightToLeft = false;
    QPainter* Canvas = nullptr;
    TRect CellRect;

protected:
    TNxCustomColumn* FColumn;
};

class TColumnDisplay : public TVirtualColElement {
public:
    using TVirtualColElement::TVirtualColElement;

    // The cell rectangle less 2 pixels at the left and at the right.
    virtual TRect GetContentRect() const;
    // Draws Text in R after the column's alignment, vertical alignment and wrap kind.
    virtual void DrawTextRect(const QString& Text, const TRect& R);
    // A small red triangle at the top right corner of the cell.
    virtual void DrawHintMark();
    virtual void PaintContent() = 0;
    // Fills the cell rectangle with Color, or only frames it.
    void PaintBackground(TColor Color, bool Fill);

    int TextHeight() const { return FTextHeight; }

    // What the grid hands over before each cell is painted.
    QWidget* Handle = nullptr;
    TColor HighlightedTextColor = clHighlightText;
    bool Selected = false;
    bool Current = false;

protected:
    void DrawSingleLine(const QString& Text, const TRect& R);
    int FTextHeight = 0;
};

// An element that edits a value in place; no column class here supplies one.
class TColumnPlay : public TVirtualColElement {
public:
    explicit TColumnPlay(TNxCustomColumn* Column, TColumnDisplay* Display)
        : TVirtualColElement(Column), FDisplay(Display) {}
    int Col = -1;
    int Row = -1;
    std::function<void(TColumnPlay*)> OnChange;
    std::function<void(TColumnPlay*)> OnEndPlay;
    virtual void KeyDown(int Key) = 0;
    virtual void MouseDown(int X, int Y) = 0;
    virtual void MouseMove(int X, int Y) = 0;
    virtual void MouseUp(int X, int Y) = 0;
    virtual void Paint() = 0;
    void Refresh();

protected:
    TColumnDisplay* FDisplay;
};

class TNxCustomColumn {
public:
    TNxCustomColumn();
    virtual ~TNxCustomColumn();
    TNxCustomColumn(const TNxCustomColumn&) = delete;
    TNxCustomColumn& operator=(const TNxCustomColumn&) = delete;

    QString Name() const { return FName; }
    void SetName(const QString& Value);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Cursor() const { return FCursor; }
    void SetCursor(int Value);
    QString DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(const QString& Value) { FDefaultValue = Value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value) { FDefaultWidth = Value; }
    TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
    void SetDrawingOptions(TDrawingOptions Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& Value);
    // The colour the column's text is drawn in; like the font, it clears ParentFont.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    TColumnFooter& Footer() { return *FFooter; }
    const TColumnFooter& Footer() const { return *FFooter; }
    void SetFooter(const TColumnFooter& Value);
    TColumnHeader& Header() { return *FHeader; }
    const TColumnHeader& Header() const { return *FHeader; }
    void SetHeader(const TColumnHeader& Value);
    QWidget* InplaceEdit() const { return FInplaceEdit; }
    void SetInplaceEdit(QWidget* Value) { FInplaceEdit = Value; }
    QString InputCaption() const { return FInputCaption; }
    void SetInputCaption(const QString& Value);
    QString InputValue() const { return FInputValue; }
    // Set while the grid's input line edits this column's input cell.
    bool InputEditing() const { return FInputEditing; }
    void SetInputEditing(bool Value) { FInputEditing = Value; }
    void SetInputValue(const QString& Value);
    TColumnOptions Options() const { return FOptions; }
    void SetOptions(TColumnOptions Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    TNxSlideBounds& SlideBounds() { return *FSlideBounds; }
    void SetSlideBounds(const TNxSlideBounds& Value);
    QString SlideCaption() const { return FSlideCaption; }
    void SetSlideCaption(const QString& Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TSortKind SortKind() const { return FSortKind; }
    void SetSortKind(TSortKind Value);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    // Keeps the requested width, stores at least 8, lays out, sends the difference.
    void StoreWidth(int Value);
    int RequestedWidth() const { return FRequestedWidth; }
    TWrapKind WrapKind() const { return FWrapKind; }
    void SetWrapKind(TWrapKind Value) { FWrapKind = Value; }

    int Kind() const { return FKind; }
    TNxColumns* Columns() const { return FColumns; }
    TColumnDisplay* Display() const { return FDisplay.get(); }
    TColumnPlay* Play() const { return FPlay.get(); }
    // The hidden in-place editor of a column whose class claims one (style bit 1),
    // made on first use and owned by the column; nil for other columns.
    TNxCustomEdit* OwnEditor() const;
    // The own editor if it was made already; never makes one.
    TNxCustomEdit* MadeOwnEditor() const;
    // The editor the grid uses for this column: InplaceEdit when set, else the own editor.
    TNxCustomEdit* Editor() const;
    int Left() const { return FLeft; }
    int VisibleIndex() const { return FVisibleIndex; }

    virtual int GetEditOptions() const;
    // Class traits: bit 0 player takes input, 1 own editor, 2 no sorting, 3 best fit.
    virtual int GetColumnStyle() const { return 0; }
    virtual void SetKind(int Value) { FKind = Value; }
    virtual int GetTextWidth(const QString& Text) const;
    virtual QString FormatText(const QString& Value) const { return Value; }
    virtual bool IsEditKey(QChar Key) const { Q_UNUSED(Key); return false; }
    // Before the grid shows the column's own editor over a cell.
    virtual void PrepareEditor(TNxCustomEdit* Editor);
    // The editor class of the column; nil when it has none.
    virtual TNxCustomEdit* CreateEditor() const { return nullptr; }
    // The get-text and set-text pair that a virtual-kind column answers.
    virtual QString GetVirtualText(int ACol, int ARow) const { Q_UNUSED(ACol); Q_UNUSED(ARow); return {}; }
    virtual void SetVirtualText(int ACol, int ARow, const QString& Value) { Q_UNUSED(ACol); Q_UNUSED(ARow); Q_UNUSED(Value); }

    // Copies the settings of another column (same kind of object).
    virtual void Assign(const TNxCustomColumn& Source);

    int Index() const;
    int ScreenLeft() const;
    TRect PartRect(TNxColumnArea Area) const;
    TRect SlideRect() const;
    // 0 the only visible column, 1 first, 2 middle, 3 last.
    int PlaceAmongVisible() const;
    bool IsOnlyVisible() const;
    bool IsCurrent() const;
    bool IsHotHeader() const;
    bool IsPressedHeader() const;
    TNxCustomColumn* NextEnabledVisible() const;
    TNxCustomColumn* PreviousEnabledVisible() const;

    using TListener = std::function<void(TNxCustomColumn*, int)>;
    void AddListener(TListener Listener) { FListeners.push_back(std::move(Listener)); }

    // Sends a column notification to the grid through the collection.
    void Notify(int Code, int Value = -1);
    void CallListeners(int Code);
    void PartChanged(TColumnPart* Part);
    void InvalidateStrip(TNxColumnArea Area);

protected:
    std::unique_ptr<TColumnDisplay> FDisplay;
    std::unique_ptr<TColumnPlay> FPlay;
    // Expires with the column (see FLife).
    std::weak_ptr<char> Life() const { return FLife; }

private:
    friend class TNxColumns;
    void FontChanged();
    bool Reading() const;

    QString FName;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clWindow;
    int FCursor = 0;
    QString FDefaultValue;
    int FDefaultWidth = 80;
    TDrawingOptions FDrawingOptions = doNormal;
    bool FEnabled = true;
    QFont FFont;
    TColor FFontColor = clWindowText;
    std::unique_ptr<TColumnFooter> FFooter;
    std::unique_ptr<TColumnHeader> FHeader;
    QPointer<QWidget> FInplaceEdit;
    // Owned; a QPointer because a grid that parents it may already have freed it.
    mutable QPointer<TNxCustomEdit> FOwnEditor;
    QString FInputCaption;
    QString FInputValue;
    bool FInputEditing = false;
    TColumnOptions FOptions = DefaultColumnOptions;
    bool FParentFont = true;
    int FPosition = -1;
    std::unique_ptr<TNxSlideBounds> FSlideBounds;
    QString FSlideCaption;
    bool FSorted = false;
    TSortKind FSortKind = skAscending;
    TSortType FSortType = stAlphabetic;
    TVerticalAlignment FVerticalAlignment = vaMiddle;
    bool FVisible = true;
    int FWidth = 80;
    TWrapKind FWrapKind = wkEllipsis;
    int FKind = ckString;
    TNxColumns* FColumns = nullptr;
    int FLeft = 0;
    int FVisibleIndex = -1;
    int FRequestedWidth = 80;
    std::vector<TListener> FListeners;
    bool FFontLock = false;
    // True when Change waits for the end of the grid's operation (a handler asked
    // for it); it is dropped if the column goes meanwhile.
    bool Deferred(std::function<void()> Change);
    // Expires with the column: a setter whose notification ran a handler of the
    // grid's user learns from it whether the handler deleted the column.
    std::shared_ptr<char> FLife = std::make_shared<char>();
};

class TNxColumns {
public:
    explicit TNxColumns(TNxGridLink* Grid = nullptr);
    ~TNxColumns();
    TNxColumns(const TNxColumns&) = delete;
    TNxColumns& operator=(const TNxColumns&) = delete;

    TNxGridLink* Grid() const { return FGrid; }

    // Creation order; an index out of range raises "List index out of bounds (%d)".
    TNxCustomColumn* Item(int Index) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    // Takes ownership; the column goes last in both orders.
    TNxCustomColumn* Add(TNxCustomColumn* Column);
    void Move(int FromPos, int ToPos);
    TNxCustomColumn* ItemByPosition(int Position) const;
    int IndexOf(const TNxCustomColumn* Column) const;
    int VisibleCount() const;
    int TotalWidth() const;
    TNxCustomColumn* FirstVisible() const;
    TNxCustomColumn* LastVisible() const;
    bool IsValidIndex(int Index) const { return Count() >= 1 && Index >= 0 && Index < Count(); }
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedWidth() const { return FFixedWidth; }

    void LayOut(bool Renumber = false);
    // Shares the free width among the auto-size columns from Column (after it when After).
    void AutoSize(TNxCustomColumn* Column = nullptr, bool After = false);

    // Column property changes (column, code, value).
    std::function<void(TNxCustomColumn*, int, int)> OnColumnNotification;
    // Before and after the layout follows an addition (0) or a removal (1): (operation, count, -1, index).
    std::function<void(int, int, int, int)> OnColumnsChanged;
    std::function<void(int, int, int, int)> OnColumnChanged;

private:
    friend class TNxCustomColumn;
    void Remove(TNxCustomColumn* Column);
    bool Reading() const { return FGrid && FGrid->Loading(); }

    TNxGridLink* FGrid;
    std::vector<TNxCustomColumn*> FItems;
    std::vector<TNxCustomColumn*> FDisplayList;
    int FFixedCols = 0;
    int FFixedWidth = 0;
    bool FDestroying = false;
};
