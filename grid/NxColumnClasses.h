#pragma once
// The concrete column classes: text columns and image columns.
#include "NxColumns.h"

#include <QPixmap>
#include <vector>

// A list of equally sized images, drawn by number.
class TNxImageList {
public:
    TNxImageList(int Width, int Height) : FWidth(Width), FHeight(Height) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    void Add(const QPixmap& Image) { FImages.push_back(Image); }
    void Draw(QPainter& Canvas, int X, int Y, int Index, bool Enabled) const;

private:
    int FWidth, FHeight;
    std::vector<QPixmap> FImages;
};

class TNxTextColumn : public TNxCustomColumn {
public:
    TNxTextColumn();
    QString TextAfter() const { return FTextAfter; }
    void SetTextAfter(const QString& Value) { FTextAfter = Value; }
    QString TextBefore() const { return FTextBefore; }
    void SetTextBefore(const QString& Value) { FTextBefore = Value; }

    int GetColumnStyle() const override { return 26; }
    int GetTextWidth(const QString& Text) const override;
    // TextBefore + Value + TextAfter, as the cell shows it.
    QString FormatText(const QString& Value) const override { return FTextBefore + Value + FTextAfter; }
    bool IsEditKey(QChar Key) const override { return Key.unicode() > 32; }
    void PrepareEditor(TNxCustomEdit* Editor) override;
    TNxCustomEdit* CreateEditor() const override;
    void Assign(const TNxCustomColumn& Source) override;

private:
    QString FTextAfter;
    QString FTextBefore;
};

class TNxImageColumn : public TNxCustomColumn {
public:
    TNxImageColumn();
    const TNxImageList* Images() const { return FImages; }
    void SetImages(const TNxImageList* Value) { FImages = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    void Assign(const TNxCustomColumn& Source) override;

private:
    const TNxImageList* FImages = nullptr;
    bool FTransparent = true;
};
