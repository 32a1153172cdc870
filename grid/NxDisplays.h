#pragma once
// Painters of the grid's fixed parts (headers, footers, indicator, input line) in
// five styles, and the content displays of text and image columns.
#include "NxColumns.h"
#include "NxGridLink.h"

#include <QPolygon>

class QPainter;

enum THeaderStyle { hsAuto, hsFlatBorders, hsOldStyle, hsOutlook, hsVista };

// Style flag bits.
constexpr int sfInvertPressed = 2, sfOwnSortMark = 4;

// A footer caption that reads as a number in the locale, written through a
// float-format mask ("#,##0.00;(#,##0.00);Zero"); any other caption, or an
// empty mask, gives the caption back.
QString ApplyFormatMask(const QString& Caption, const QString& Mask);

class TStyleDisplay {
public:
    explicit TStyleDisplay(TNxGridLink* Grid);
    virtual ~TStyleDisplay() = default;

    bool RightToLeft = false;
    QPainter* Canvas = nullptr;
    bool ShowSortMark = true;
    bool PaintHeaderBackground = true;
    bool Themed = false;
    TNxGridLink* Grid() const { return FGrid; }

    // Another style display's settings are never taken over.
    virtual void Assign(const TStyleDisplay& Source) { Q_UNUSED(Source); }
    virtual int SortMarkIndent(const TNxCustomColumn& Column) const;
    virtual int StyleFlags() const { return 0; }
    virtual void AdjustTextRect(TRect& R) const { Q_UNUSED(R); }
    virtual void DrawSortMark(int X, int Y, bool Ascending);
    virtual void DrawHeaderContent(TNxCustomColumn& Column, const TRect& R);
    virtual void DrawFixedArea(const TRect& R);
    virtual void DrawFixedBackground(const TRect& R);
    virtual void DrawFooterCell(TNxCustomColumn& Column, const TRect& R, bool Pressed);
    virtual void DrawHeaderCell(TNxCustomColumn& Column, const TRect& R);
    virtual void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R);
    virtual void DrawIndicatorCell(const TRect& R, int Index);
    virtual void DrawIndicatorMarks(const TRect& R, bool Current, bool Selected);
    virtual void DrawInputCell(TNxCustomColumn& Column, const TRect& R, bool Pressed, bool Focused, bool Selected);
    virtual void DrawEmptyHeaderArea(const TRect& R);

protected:
    QColor Col(TColor C) const;
    // Axis-aligned line from (X1, Y1) up to but not including (X2, Y2).
    void Line(int X1, int Y1, int X2, int Y2, TColor C);
    void Pixel(int X, int Y, TColor C);
    void Fill(const TRect& R, TColor C);
    void Polyline(const std::initializer_list<QPoint>& Points, TColor C);
    void Invert(const TRect& R);
    TNxGridLink* FGrid;
};

class TDefaultStyleDisplay : public TStyleDisplay {
public:
    using TStyleDisplay::TStyleDisplay;
    int StyleFlags() const override { return Themed ? 1 : sfInvertPressed; }
    void DrawFixedBackground(const TRect& R) override;
    void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R) override;
    void DrawIndicatorCell(const TRect& R, int Index) override;
    void DrawEmptyHeaderArea(const TRect& R) override;
    virtual void DrawColumnHeader(TNxCustomColumn& Column, const TRect& R);
    virtual void DrawThemedColumnHeader(TNxCustomColumn& Column, const TRect& R);
};

class TFlatStyleDisplay : public TStyleDisplay {
public:
    using TStyleDisplay::TStyleDisplay;
    void DrawFixedArea(const TRect& R) override;
    void DrawFixedBackground(const TRect& R) override;
    void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R) override { DrawColumnHeader(Column, R); }
    void DrawIndicatorCell(const TRect& R, int Index) override;
    virtual void DrawColumnHeader(TNxCustomColumn& Column, const TRect& R);
};

class TOldStyleDisplay : public TStyleDisplay {
public:
    using TStyleDisplay::TStyleDisplay;
    int StyleFlags() const override { return sfInvertPressed; }
    void DrawFixedBackground(const TRect& R) override;
    void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R) override;
    void DrawIndicatorCell(const TRect& R, int Index) override;
};

class TOutlookStyleDisplay : public TStyleDisplay {
public:
    using TStyleDisplay::TStyleDisplay;
    int StyleFlags() const override { return sfInvertPressed; }
    void AdjustTextRect(TRect& R) const override { R.Bottom -= 3; }
    void DrawFixedArea(const TRect& R) override;
    void DrawFixedBackground(const TRect& R) override;
    void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R) override { DrawColumnHeader(Column, R); }
    virtual void DrawColumnHeader(TNxCustomColumn& Column, const TRect& R);

private:
    void DrawBand(const TRect& R, TColor Base);
};

class TVistaStyleDisplay : public TStyleDisplay {
public:
    using TStyleDisplay::TStyleDisplay;
    int StyleFlags() const override { return sfOwnSortMark; }
    void AdjustTextRect(TRect& R) const override { R.Left += 2; }
    void DrawHeaderBackground(TNxCustomColumn& Column, const TRect& R) override { DrawColumnHeader(Column, R); }
    void DrawIndicatorCell(const TRect& R, int Index) override;
    virtual void DrawColumnHeader(TNxCustomColumn& Column, const TRect& R);
};

class TTextualColumnDisplay : public TColumnDisplay {
public:
    using TColumnDisplay::TColumnDisplay;
    void PaintContent() override;
};

class TImageColumnDisplay : public TColumnDisplay {
public:
    using TColumnDisplay::TColumnDisplay;
    void PaintContent() override;
};
