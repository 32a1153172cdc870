#include "NxEdit.h"

#include "NxCells.h"

#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

void TNxMargins::Changed()
{
    if (FControl)
        FControl->UpdateEditRect();
}

QCursor GridCursor(int Number)
{
    switch (Number) {
    case 3000: return QCursor(Qt::SplitHCursor);
    case 3001: return QCursor(Qt::ForbiddenCursor);
    case 3003: return QCursor(Qt::SplitVCursor);
    case 100:
    case 3006: {
        // An arrow that points up and to the right, its hot spot at the tip.
        static const QCursor Reversed = [] {
            QPixmap P(16, 16);
            P.fill(Qt::transparent);
            QPainter G(&P);
            const QPolygon Arrow({{15, 0}, {15, 11}, {12, 8}, {9, 14}, {7, 13}, {10, 7}, {5, 7}});
            G.setPen(Qt::white);
            G.setBrush(Qt::black);
            G.drawPolygon(Arrow);
            G.end();
            return QCursor(P, 15, 0);
        }();
        return Reversed;
    }
    default: return QCursor(Qt::ArrowCursor);
    }
}

TNxCustomEdit::TNxCustomEdit(QWidget* Parent)
    : QLineEdit(Parent)
    , FInnerMargins(this)
{
    setFocusPolicy(Qt::StrongFocus);
    SetBorderStyle(bsSingle);
    ApplyColors();
    resize(121, 20);
    UpdateEditRect();
    connect(this, &QLineEdit::textChanged, this, [this] {
        const auto Change = OnChange;
        if (!Change)
            return;
        ++FBusy;
        Change(this);
        --FBusy;
    });
}

void TNxCustomEdit::Free(TNxCustomEdit* Editor, bool Later)
{
    if (!Editor)
        return;
    if (Editor->FBusy > 0 || Later) {
        Editor->FDying = true;
        Editor->hide();
        Editor->deleteLater();
    } else {
        delete Editor;
    }
}

void TNxCustomEdit::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    UpdateEditRect();
}

void TNxCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    setFrame(Value == bsSingle);
    UpdateEditRect();
}

void TNxCustomEdit::SetColor(TColor Value)
{
    FColor = Value;
    ApplyColors();
}

void TNxCustomEdit::SetFontColor(TColor Value)
{
    FFontColor = Value;
    ApplyColors();
}

void TNxCustomEdit::ApplyColors()
{
    QPalette P = palette();
    P.setColor(QPalette::Base, ToQColor(FColor, P));
    P.setColor(QPalette::Text, ToQColor(FFontColor, P));
    setPalette(P);
}

void TNxCustomEdit::SetGlyph(const QImage& Value)
{
    FGlyph = Value;
    if (!FGlyph.isNull() && !FGlyph.hasAlphaChannel()) {
        const QRgb Key = FGlyph.pixel(0, FGlyph.height() - 1);
        FGlyph = FGlyph.convertToFormat(QImage::Format_ARGB32);
        for (int Y = 0; Y < FGlyph.height(); ++Y)
            for (int X = 0; X < FGlyph.width(); ++X)
                if ((FGlyph.pixel(X, Y) & 0xFFFFFF) == (Key & 0xFFFFFF))
                    FGlyph.setPixel(X, Y, 0);
    }
    UpdateEditRect();
    update();
}

void TNxCustomEdit::SetPreviewBorder(bool Value)
{
    FPreviewBorder = Value;
    const TRect R = GetPreviewRect();
    update(R.ToQRect().adjusted(-1, -1, 1, 1).translated(BorderWidth(), BorderWidth()));
}

void TNxCustomEdit::SetShowPreview(bool Value)
{
    FShowPreview = Value;
    UpdateEditRect();
    update();
}

void TNxCustomEdit::SetVerticalAlignment(TVerticalAlignment Value)
{
    FVerticalAlignment = Value;
    UpdateEditRect();
}

void TNxCustomEdit::SetPasswordChar(QChar Value)
{
    FPasswordChar = Value;
    setEchoMode(Value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
    UpdateEditRect();
}

int TNxCustomEdit::ClientWidth() const
{
    return width() - 2 * BorderWidth();
}

int TNxCustomEdit::ClientHeight() const
{
    return height() - 2 * BorderWidth();
}

TRect TNxCustomEdit::GetEditingRect() const
{
    TRect R;
    R.Left = FInnerMargins.Left();
    R.Right = ClientWidth() - (FInnerMargins.Right() + 1);
    const int TextHeight = QFontMetrics(font()).height();
    switch (FVerticalAlignment) {
    case vaTop:
        R.Top = FInnerMargins.Top();
        R.Bottom = R.Top + TextHeight;
        break;
    case vaMiddle:
        R.Top = (ClientHeight() - 1) / 2 - TextHeight / 2;
        R.Bottom = R.Top + TextHeight;
        break;
    case vaBottom:
        R.Bottom = ClientHeight() - FInnerMargins.Bottom();
        R.Top = R.Bottom - TextHeight;
        break;
    }
    if (FShowPreview)
        R.Left += 27;
    R.Left += GlyphSpace();
    return R;
}

TRect TNxCustomEdit::GetPreviewRect() const
{
    TRect R{0, 0, ClientWidth(), ClientHeight()};
    R.Left += 1 + GlyphSpace();
    R.Top += 1;
    R.Bottom -= 1;
    R.Right = R.Left + 20;
    if (FPreviewBorder)
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    return R;
}

void TNxCustomEdit::UpdateEditRect()
{
    Qt::Alignment A = FAlignment == taRightJustify ? Qt::AlignRight
        : FAlignment == taCenter                   ? Qt::AlignHCenter
                                                   : Qt::AlignLeft;
    // A hidden text keeps one plain line: no formatting rectangle.
    if (!FPasswordChar.isNull()) {
        setAlignment(A | Qt::AlignVCenter);
        setTextMargins(0, 0, 0, 0);
        return;
    }
    const TRect R = GetEditingRect();
    A |= FVerticalAlignment == vaTop ? Qt::AlignTop : FVerticalAlignment == vaBottom ? Qt::AlignBottom : Qt::AlignVCenter;
    setAlignment(A);
    const int Top = FVerticalAlignment == vaTop ? FInnerMargins.Top() : 0;
    const int Bottom = FVerticalAlignment == vaBottom ? FInnerMargins.Bottom() : 0;
    setTextMargins(R.Left, Top, std::max(ClientWidth() - R.Right, 0), Bottom);
}

bool TNxCustomEdit::GetAsBoolean() const
{
    return NxCellConvert::StrToBool(text());
}

double TNxCustomEdit::GetAsDateTime() const
{
    return NxCellConvert::StrToDateTime(text());
}

double TNxCustomEdit::GetAsFloat() const
{
    return NxCellConvert::StrToFloat(text());
}

int TNxCustomEdit::GetAsInteger() const
{
    return NxCellConvert::StrToInt(text());
}

void TNxCustomEdit::SetAsBoolean(bool Value)
{
    setText(Value ? QStringLiteral("True") : QStringLiteral("False"));
}

void TNxCustomEdit::SetAsDateTime(double Value)
{
    setText(NxCellConvert::DateTimeToStr(Value));
}

void TNxCustomEdit::SetAsFloat(double Value)
{
    setText(NxCellConvert::FloatToStr(Value));
}

void TNxCustomEdit::SetAsInteger(int Value)
{
    setText(QString::number(Value));
}

void TNxCustomEdit::DoGlyphClick()
{
    if (OnGlyphClick)
        OnGlyphClick(this);
}

bool TNxCustomEdit::event(QEvent* Event)
{
    // The deferred deletion itself ends the editor: nothing is counted after it.
    if (Event->type() == QEvent::DeferredDelete)
        return QLineEdit::event(Event);
    ++FBusy;
    const bool Result = TabEvent(Event) || QLineEdit::event(Event);
    --FBusy;
    return Result;
}

bool TNxCustomEdit::TabEvent(QEvent* Event)
{
    if (Event->type() != QEvent::KeyPress)
        return false;
    auto* K = static_cast<QKeyEvent*>(Event);
    if (K->key() != Qt::Key_Tab && K->key() != Qt::Key_Backtab)
        return false;
    // Tab stays in the editor only when it wants tabs; otherwise focus moves on,
    // but the grid that routes the editor's keys hears of it first to end its edit.
    if (FWantTabs) {
        keyPressEvent(K);
    } else {
        const auto KeyDown = OnKeyDown;
        if (!KeyDown || !KeyDown(this, K))
            return false;
    }
    // Accepted, or the parent would move the focus on after all.
    K->accept();
    return true;
}

void TNxCustomEdit::keyPressEvent(QKeyEvent* Event)
{
    // Copies: a handler may close the editor and clear the handlers while it runs.
    const auto KeyDown = OnKeyDown;
    if (KeyDown && KeyDown(this, Event)) {
        Event->accept();
        return;
    }
    QLineEdit::keyPressEvent(Event);
    const QString T = Event->text();
    const auto KeyPress = OnKeyPress;
    if (KeyPress && T.size() == 1 && T[0].isPrint())
        KeyPress(this, T[0]);
}

void TNxCustomEdit::mousePressEvent(QMouseEvent* Event)
{
    QLineEdit::mousePressEvent(Event);
    const QPoint P = Event->position().toPoint() - QPoint(BorderWidth(), BorderWidth());
    if (!FGlyph.isNull() && P.x() >= 0 && P.x() < FGlyph.width() && P.y() >= 0 && P.y() < height())
        DoGlyphClick();
}

void TNxCustomEdit::paintEvent(QPaintEvent* Event)
{
    QLineEdit::paintEvent(Event);
    if (!CanPaintText()) {
        QPainter P(this);
        PaintEmpty(P);
    }
}

void TNxCustomEdit::resizeEvent(QResizeEvent* Event)
{
    QLineEdit::resizeEvent(Event);
    UpdateEditRect();
}

void TNxCustomEdit::changeEvent(QEvent* Event)
{
    QLineEdit::changeEvent(Event);
    if (Event->type() == QEvent::FontChange)
        UpdateEditRect();
    else if (Event->type() == QEvent::EnabledChange)
        for (QWidget* W : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            W->update();
}

void TNxCustomEdit::focusInEvent(QFocusEvent* Event)
{
    QLineEdit::focusInEvent(Event);
    if (const auto Enter = OnEnter)
        Enter(this);
}

void TNxCustomEdit::focusOutEvent(QFocusEvent* Event)
{
    QLineEdit::focusOutEvent(Event);
    const auto Exit = OnExit;
    if (Exit)
        Exit(this);
}

TNxEdit::TNxEdit(QWidget* Parent)
    : TNxCustomEdit(Parent)
{
    setMouseTracking(true);
}

void TNxEdit::DrawPreview(QPainter& Canvas, const TRect& R)
{
    if (OnCustomPreviewDraw)
        OnCustomPreviewDraw(this, Canvas, R);
}

void TNxEdit::keyPressEvent(QKeyEvent* Event)
{
    TNxCustomEdit::keyPressEvent(Event);
    // Enter ends nothing in a single-line editor; it must not reach the parent as a second press.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)
        Event->accept();
}

void TNxEdit::mousePressEvent(QMouseEvent* Event)
{
    TNxCustomEdit::mousePressEvent(Event);
    if (Event->position().x() - BorderWidth() <= 2)
        selectAll();
}

void TNxEdit::mouseMoveEvent(QMouseEvent* Event)
{
    TNxCustomEdit::mouseMoveEvent(Event);
    if (Event->position().x() - BorderWidth() <= 2)
        setCursor(GridCursor(100));
    else
        setCursor(Qt::IBeamCursor);
}

void TNxEdit::paintEvent(QPaintEvent* Event)
{
    TNxCustomEdit::paintEvent(Event);
    QPainter P(this);
    P.translate(BorderWidth(), BorderWidth());
    int G = 0;
    if (!Glyph().isNull()) {
        P.drawImage(2, ClientHeight() / 2 - Glyph().height() / 2, Glyph());
        G = GlyphSpace();
    }
    if (ShowPreview()) {
        const TRect Box{1 + G, 1, 1 + G + 20, ClientHeight() - 1};
        if (PreviewBorder()) {
            P.setPen(ToQColor(clGray));
            P.setBrush(Qt::NoBrush);
            P.drawRect(Box.Left, Box.Top, Box.Width() - 1, Box.Height() - 1);
        }
        DrawPreview(P, {Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1});
    }
}
