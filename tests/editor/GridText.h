#pragma once
// Grids written as rows of characters, so test tables read like pictures:
// '.' clear (0xFFFFFF), '#' ink (0), 'r' red (0x0000FF), 'A'..'Z' colours 1..26.
#include "PixelBuffer.h"

#include <QStringList>

inline TColor ColorOfGlyph(QChar G)
{
    if (G == '.')
        return clClear;
    if (G == '#')
        return clInk;
    if (G == 'r')
        return 0x0000FF;
    return TColor(G.unicode() - 'A' + 1);
}

inline QChar GlyphOfColor(TColor C)
{
    if (C == clClear)
        return '.';
    if (C == clInk)
        return '#';
    if (C == 0x0000FF)
        return 'r';
    if (C >= 1 && C <= 26)
        return QChar(char('A' + C - 1));
    return '?';
}

inline void FillFromText(TPixelBuffer& B, const QStringList& Rows)
{
    const int H = int(Rows.size()), W = H ? int(Rows[0].size()) : 0;
    std::vector<TColor> Cells(size_t(W) * size_t(H));
    for (int X = 0; X < W; ++X)
        for (int Y = 0; Y < H; ++Y)
            Cells[size_t(X) * size_t(H) + size_t(Y)] = ColorOfGlyph(Rows[Y][X]);
    B.BufferFromBuffer(Cells, W, H);
}

inline QStringList TextOf(const TPixelBuffer& B)
{
    QStringList Rows;
    for (int Y = 0; Y < B.VertCellCount(); ++Y) {
        QString Row;
        for (int X = 0; X < B.HorizCellCount(); ++X)
            Row += GlyphOfColor(B.GetCellValue(X, Y));
        Rows << Row;
    }
    return Rows;
}
