#pragma once
// The single-line editor that the grid places over a cell: inner margins, text
// alignment, a clickable glyph at the left, a small colour-preview box and typed
// access to its text.
#include "NxColumns.h"
#include "NxSharedCommon.h"

#include <QImage>
#include <QLineEdit>
#include <functional>

class TNxCustomEdit;

// Inner margins of the text area; a change lays the text out again.
class TNxMargins {
public:
    explicit TNxMargins(TNxCustomEdit* Control) : FControl(Control) {}
    int Top() const { return FTop; }
    int Bottom() const { return FBottom; }
    int Left() const { return FLeft; }
    int Right() const { return FRight; }
    void SetTop(int Value) { FTop = Value; Changed(); }
    void SetBottom(int Value) { FBottom = Value; Changed(); }
    void SetLeft(int Value) { FLeft = Value; Changed(); }
    void SetRight(int Value) { FRight = Value; Changed(); }
    TNxCustomEdit* Control() const { return FControl; }

private:
    void Changed();
    TNxCustomEdit* FControl;
    int FTop = 0, FBottom = 0, FLeft = 0, FRight = 0;
};

class TNxCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNxCustomEdit(QWidget* Parent = nullptr);
    // Deletes Editor; while it is inside its own handling of an event or a text
    // change (a handler removed the column that owns it), or Later (its grid is
    // in the middle of an operation), only once that returns.
    static void Free(TNxCustomEdit* Editor, bool Later = false);
    // Freed, waiting for its deletion.
    bool Dying() const { return FDying; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    // A glyph without alpha is drawn transparent in the colour of its bottom-left pixel.
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& Value);
    TNxMargins& InnerMargins() { return FInnerMargins; }
    // Starts False although a stored form leaves it out only when False.
    bool PreviewBorder() const { return FPreviewBorder; }
    void SetPreviewBorder(bool Value);
    bool ShowPreview() const { return FShowPreview; }
    void SetShowPreview(bool Value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment Value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    // A non-null character hides the text; the editor is then single-line and ignores its margins.
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    // How a column that prepares the editor wants long text cut.
    TWrapKind WrapKind() const { return FWrapKind; }
    void SetWrapKind(TWrapKind Value) { FWrapKind = Value; }

    // The text converted as a cell converts it; bad text raises the cell's conversion error.
    virtual bool GetAsBoolean() const;
    virtual double GetAsDateTime() const;
    virtual double GetAsFloat() const;
    virtual int GetAsInteger() const;
    virtual QString GetAsString() const { return text(); }
    virtual bool CanPaintText() const { return true; }
    // The text area in client coordinates.
    virtual TRect GetEditingRect() const;
    virtual TRect GetPreviewRect() const;
    virtual void PaintEmpty(QPainter& Canvas) { Q_UNUSED(Canvas); }
    virtual void SetAsBoolean(bool Value);
    virtual void SetAsDateTime(double Value);
    virtual void SetAsFloat(double Value);
    virtual void SetAsInteger(int Value);
    virtual void SetAsString(const QString& Value) { setText(Value); }
    virtual void BeginEdit() {}
    virtual void EndEdit() {}

    // The area inside the border.
    int ClientWidth() const;
    int ClientHeight() const;
    int BorderWidth() const { return FBorderStyle == bsSingle ? 2 : 0; }
    // Sends the text area to the line edit as its margins.
    void UpdateEditRect();

    std::function<void(TNxCustomEdit*)> OnGlyphClick;
    // What the grid routes: a key before the editor handles it (true when taken),
    // a typed character, a text change, and the focus coming and going.
    std::function<bool(TNxCustomEdit*, QKeyEvent*)> OnKeyDown;
    std::function<void(TNxCustomEdit*, QChar)> OnKeyPress;
    std::function<void(TNxCustomEdit*)> OnChange;
    std::function<void(TNxCustomEdit*)> OnEnter;
    std::function<void(TNxCustomEdit*)> OnExit;

protected:
    virtual void DoGlyphClick();
    bool event(QEvent* Event) override;
    // Tab and Backtab; true when taken here.
    bool TabEvent(QEvent* Event);
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    // Where the glyph ends and the preview box starts (glyph width + 4, or 0).
    int GlyphSpace() const { return FGlyph.isNull() ? 0 : FGlyph.width() + 4; }

private:
    void ApplyColors();
    // Depth of the editor's own event and text-change handling.
    int FBusy = 0;
    bool FDying = false;
    TAlignment FAlignment = taLeftJustify;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;
    QImage FGlyph;
    TNxMargins FInnerMargins;
    bool FPreviewBorder = false;
    bool FShowPreview = false;
    TVerticalAlignment FVerticalAlignment = vaMiddle;
    bool FWantTabs = false;
    QChar FPasswordChar;
    TWrapKind FWrapKind = wkNone;
};

class TNxEdit : public TNxCustomEdit {
    Q_OBJECT
public:
    explicit TNxEdit(QWidget* Parent = nullptr);
    // (sender, box inside the preview frame); the box's content is the application's.
    std::function<void(TNxEdit*, QPainter&, const TRect&)> OnCustomPreviewDraw;
    virtual void DrawPreview(QPainter& Canvas, const TRect& R);
    // The caret goes after the last character.
    void BeginEdit() override { end(false); }

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
};

// The cursors the grid and its editor show, by their numbers: 100 the reversed
// arrow, 3000 column edge, 3001 no drop here, 3003 row edge, 3006 indicator.
QCursor GridCursor(int Number);
