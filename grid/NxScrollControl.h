#pragma once
// A control with its own horizontal and vertical scroll bars whose positions are
// abstract steps (rows, pixels); the subclass says how many pixels a step moves
// the content, and only the uncovered strip repaints.
#include "NxSharedCommon.h"

#include <QAbstractScrollArea>
#include <functional>
#include <utility>

class QMouseEvent;
class QScrollBar;
class QTimer;
class TNxScrollControl;
class TRollShadow;

// Scroll message codes, as the bars' buttons, track and keys send them.
enum TScrollCode {
    scLineUp = 0,
    scLineDown = 1,
    scPageUp = 2,
    scPageDown = 3,
    scThumbPosition = 4,
    scThumbTrack = 5,
    scTop = 6,
    scBottom = 7,
    scEndScroll = 8,
};

// Kind of the last scroll message.
constexpr int skLine = 1, skPage = 2, skThumb = 3, skTopBottom = 4;

class TNxCustomScrollBar {
public:
    TNxCustomScrollBar(TNxScrollControl* Control, int Reserved);
    virtual ~TNxCustomScrollBar() = default;
    TNxCustomScrollBar(const TNxCustomScrollBar&) = delete;
    TNxCustomScrollBar& operator=(const TNxCustomScrollBar&) = delete;

    // Another bar's settings are never taken over.
    virtual void Assign(const TNxCustomScrollBar& Source) { Q_UNUSED(Source); }

    bool AutoHide() const { return FAutoHide; }
    void SetAutoHide(bool Value);
    bool NoContentScroll = false;
    int Bar() const { return FBar; }
    int Kind() const { return FKind; }
    void SetKind(int Value);
    int LargeChange = 1;
    int SmallChange = 1;
    int PageSize = 0;
    int Max() const { return FMax; }
    // Negative values become 0; a position beyond the new maximum is pulled back to it.
    void SetMax(int Value);
    int Min() const { return FMin; }
    int Position() const { return FPosition; }
    int PrevPosition() const { return FPrevPosition; }
    // Limited to Max, then Min, then 0; moves the content unless locked.
    void SetPosition(int Value);
    void MoveBy(int Delta) { SetPosition(FPosition + Delta); }
    int LastScrollKind = 0;
    TNxScrollControl* Control() const { return FControl; }

    // Send the owner the scroll message of a click, so it takes the user's path.
    void LineUp();
    void LineDown();
    virtual void PageUp();
    virtual void PageDown();

    // While locked, position changes leave the content where it is.
    void BeginUpdate() { ++FLockCount; }
    void EndUpdate() { --FLockCount; }
    int LockCount() const { return FLockCount; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value) { FVisible = Value; }
    virtual void UpdateBar() {}
    bool Updating = false;
    bool InUpdate() const { return FInUpdate; }

protected:
    void SendScroll(int Code);
    TNxScrollControl* FControl;
    bool FAutoHide = true;
    int FBar = -1;
    int FKind = 0;
    int FMax = 100;
    int FMin = 0;
    int FPrevPosition = 0;
    int FPosition = 0;
    int FLockCount = 0;
    bool FVisible = true;
    bool FInUpdate = false;
};

// Writes its state into the control's platform scroll bar.
class TNxScrollBar : public TNxCustomScrollBar {
public:
    using TNxCustomScrollBar::TNxCustomScrollBar;
    void SetVisible(bool Value) override;
    void UpdateBar() override;
    QScrollBar* PlatformBar() const;
};

class TNxScrollControl : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TNxScrollControl(QWidget* Parent = nullptr);
    ~TNxScrollControl() override;

    TNxScrollBar& HorzScrollBar() { return *FHorzScrollBar; }
    TNxScrollBar& VertScrollBar() { SyncVertRange(); return *FVertScrollBar; }
    const TNxScrollBar& HorzScrollBar() const { return *FHorzScrollBar; }
    const TNxScrollBar& VertScrollBar() const { const_cast<TNxScrollControl*>(this)->SyncVertRange(); return *FVertScrollBar; }
    // The vertical bar's range is set again (UpdateVertRange) when the bar is
    // next used: many changes that only lengthen the content set it once.
    void InvalidateVertRange() { FVertRangeStale = true; }

    // Pixels by which the content moves when a position goes from OldPos to NewPos.
    virtual int HorzScrollDelta(int OldPos, int NewPos) { Q_UNUSED(OldPos); Q_UNUSED(NewPos); return 0; }
    virtual int VertScrollDelta(int OldPos, int NewPos) { Q_UNUSED(OldPos); Q_UNUSED(NewPos); return 0; }
    virtual void AfterScroll(int Kind) { Q_UNUSED(Kind); }
    // A bar moved by a handler of the user's while its other changes wait moves
    // after them: true when Change was kept for then.
    virtual bool PositionWaits(std::function<void()> Change) { Q_UNUSED(Change); return false; }
    virtual void BeforeScroll(int Kind) { Q_UNUSED(Kind); }
    // Moves the painted pixels inside the clip rectangle of the scroll's direction.
    virtual void ScrollContent(TNxCustomScrollBar* ScrollBar, int DX, int DY);

    // The scroll messages of the two bars (TrackPos is read only for the thumb codes).
    virtual void WMHScroll(int Code, int TrackPos = 0);
    virtual void WMVScroll(int Code, int TrackPos = 0);

    // The parts of the client area that scroll horizontally and vertically.
    TRect HorzClipRect;
    TRect VertClipRect;

    std::function<void(TNxScrollControl*, int)> OnHorizontalScroll;
    std::function<void(TNxScrollControl*, int)> OnVerticalScroll;

    int ClientWidth() const;
    int ClientHeight() const;
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

    // Middle-button roll scrolling: while the button is held, the view scrolls
    // one line per tick, faster the farther the pointer is from where it was pressed.
    bool RollScrolling = true;
    bool Rolling() const { return FRolling; }
    QPoint RollOrigin() const { return FRollOrigin; }
    // -1 up, 1 down, 0 inside the dead zone round the origin.
    int RollDirection() const { return FRollDirection; }
    int RollInterval() const;
    // One tick: one line in the roll direction; the pointer's distance sets the next interval.
    void RollTimerTick(const QPoint& Pointer);
    TRollShadow* RollShadow() const { return FRollShadow; }

protected:
    // A handler of the user's runs between these two; the first one's token goes to the second.
    virtual int HandlerStarts() { return 0; }
    virtual void HandlerEnds(int Token) { Q_UNUSED(Token); }
    // Held while a handler of the user's runs, also when it raises.
    class THandlerCall {
    public:
        explicit THandlerCall(TNxScrollControl& Control)
            : FControl(Control)
            , FToken(Control.HandlerStarts())
        {
        }
        ~THandlerCall() { FControl.HandlerEnds(FToken); }
        THandlerCall(const THandlerCall&) = delete;
        THandlerCall& operator=(const THandlerCall&) = delete;

    private:
        TNxScrollControl& FControl;
        int FToken;
    };
    // Runs a handler of the user's from a copy (one that assigns its event anew would
    // otherwise destroy itself while it runs), as a handler call: in a grid, what it
    // changes waits for the operation.
    template <class THandler, class... TArgs>
    void Fire(const THandler& Event, TArgs&&... Args)
    {
        if (const THandler Handler = Event) {
            const THandlerCall Call(*this);
            Handler(std::forward<TArgs>(Args)...);
        }
    }
    virtual void UpdateVertRange() {}
    // The marker shown where rolling started, hidden when it ends.
    virtual void ShowRollShadow(bool Show, const QPoint& ScreenPos);
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

    // The bars' positions are this control's own steps, not pixels.
    void scrollContentsBy(int DX, int DY) override { Q_UNUSED(DX); Q_UNUSED(DY); }
    void showEvent(QShowEvent* Event) override;

private:
    void SyncVertRange()
    {
        if (FVertRangeStale) {
            FVertRangeStale = false;
            UpdateVertRange();
        }
    }
    void Scroll(TNxScrollBar& Bar, int Code, int TrackPos);
    void ConnectBar(QScrollBar* Platform, bool Vertical);

    std::unique_ptr<TNxScrollBar> FHorzScrollBar;
    std::unique_ptr<TNxScrollBar> FVertScrollBar;
    bool FVertRangeStale = false;
    bool FInAction = false;
    bool FRolling = false;
    QPoint FRollOrigin;
    int FRollDirection = 0;
    QTimer* FRollTimer;
    TRollShadow* FRollShadow;
};
