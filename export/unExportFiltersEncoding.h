#pragma once
// Shared by the writers of unExportFilters: the column-byte encoding and fast
// byte formatting. Not part of the unit's interface.
#include "PixelBuffer.h"

#include <QString>

namespace ExportEncoding {

// The banner's notice and link lines, behind each language's comment mark.
inline QString BannerNotice() { return QStringLiteral("Dotwright version " DW_VERSION); }
inline QString BannerLink() { return QStringLiteral("https://dotwright.example/"); }

inline QString MissingCharMessage(int Code)
{
    return QStringLiteral("Cannot export: the font has no character of code %1").arg(Code);
}

// Bytes per column: one per band of 8 rows, the last band possibly short.
inline int BytesPerColumn(const TPixelBuffer& Grid) { return (Grid.VertCellCount() + 7) / 8; }

// Calls Emit(byte) for columns 0..Cols-1 (Cols within the grid), each column
// from the top band down; in a band the top row is bit 0, rows past the
// grid's height count as clear.
template <class F>
void ForEachColumnByte(const TPixelBuffer& Grid, int Cols, F&& Emit)
{
    const int H = Grid.VertCellCount();
    const TColor Clear = Grid.BackgroundColor();
    const TColor* Column = Grid.Cells().data();
    for (int X = 0; X < Cols; ++X, Column += H) {
        for (int Band = 0; Band < H; Band += 8) {
            const int Rows = H - Band < 8 ? H - Band : 8;
            int Byte = 0;
            // Without a branch: in a picture of mixed ink a branch per cell
            // was mispredicted often enough to take most of a table's time.
            for (int R = 0; R < Rows; ++R)
                Byte |= int(Column[Band + R] != Clear) << R;
            Emit(Byte);
        }
    }
}

// Appends Prefix and two upper-case hex digits; the same as PrefixedHex for 0..255.
inline void AppendHexByte(QString& S, const QString& Prefix, int Byte)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    S += Prefix;
    S += QLatin1Char(Digits[(Byte >> 4) & 15]);
    S += QLatin1Char(Digits[Byte & 15]);
}

} // namespace ExportEncoding
