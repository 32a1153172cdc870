#pragma once
// A grid link with fixed answers for the column, cell and painter tests.
#include "DwError.h"
#include "NxGridLink.h"

#include <QFont>
#include <functional>

class TTestGrid : public TNxGridLink {
public:
    int FClientWidth = 600;
    int FIndicator = 0;
    bool FLoading = false;
    bool FDesign = false;
    int FFixedCols = 0;
    int FScroll = 0;
    int FCurrent = -1, FHot = -1, FPressed = -1;
    QPalette FPalette;
    QFont FFont;
    TColor FFontColor = clWindowText;

    QPalette Palette() const override { return FPalette; }
    QFont Font() const override { return FFont; }
    TColor FontColor() const override { return FFontColor; }
    int IndicatorWidth() const override { return FIndicator; }
    int ClientWidth() const override { return FClientWidth; }
    int HorzScrollPos() const override { return FScroll; }
    int FixedCols() const override { return FFixedCols; }
    bool Loading() const override { return FLoading; }
    bool DesignTime() const override { return FDesign; }
    int CurrentColumn() const override { return FCurrent; }
    int HotColumn() const override { return FHot; }
    int PressedColumn() const override { return FPressed; }
    TRect BandRect(TNxColumnArea Area) const override
    {
        switch (Area) {
        case caHeader: return {0, 0, FClientWidth, 18};
        case caFooter: return {0, 100, FClientWidth, 122};
        case caInput: return {0, 18, FClientWidth, 41};
        default: return {0, 0, FClientWidth, 150};
        }
    }
};

// The message of the exception F raises, or "(no error)".
inline QString ErrorOf(const std::function<void()>& F)
{
    try {
        F();
    } catch (const EDotwrightError& E) {
        return E.Message();
    }
    return QStringLiteral("(no error)");
}
