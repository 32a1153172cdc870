// The grid's hot paths: the blend run for every painted cell of a sorted
// column, sorting the rows by one column, painting and scrolling a list of
// 224 characters of 32 x 32 pixels next to a plain fill of the same area, and
// how adding, deleting and selecting rows grow with the number of rows.
#include "NextGrid.h"
#include "NxCells.h"
#include "NxColumnClasses.h"
#include "NxSharedCommon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

class TBenchGrid : public TNxGridLink {
public:
    int ClientWidth() const override { return 600; }
};

void BM_BlendColor(benchmark::State& State)
{
    TColor C = 0x123456;
    for (auto _ : State) {
        for (int A = 0; A < 256; ++A)
            C = TGraphicsProvider::BlendColor(C, 0xFEDCBA, A) ^ 0x010101;
        benchmark::DoNotOptimize(C);
    }
    State.SetItemsProcessed(State.iterations() * 256);
}
BENCHMARK(BM_BlendColor);

void BM_SortRows(benchmark::State& State)
{
    const int Rows = static_cast<int>(State.range(0));
    const auto Type = static_cast<TSortType>(State.range(1));
    TBenchGrid Grid;
    TNxColumns Columns(&Grid);
    TCells Cells(&Grid, &Columns);
    Columns.OnColumnsChanged = [&](int Op, int, int, int I) { Cells.ColumnNotify(Op, I, -1); };
    Columns.Add(new TNxTextColumn);
    Columns.Add(new TNxImageColumn);
    Cells.AddRows(Rows);
    for (auto _ : State) {
        State.PauseTiming();
        for (int R = 0; R < Rows; ++R) {
            const unsigned V = static_cast<unsigned>(R) * 2654435761u;
            Cells.GetCell(0, R)->SetAsString(QString("%1.%2.%3.%4").arg(V >> 24).arg((V >> 16) & 255).arg((V >> 8) & 255).arg(V & 255));
        }
        State.ResumeTiming();
        Cells.Sort(0, Type, false);
    }
    State.SetItemsProcessed(State.iterations() * Rows);
}
BENCHMARK(BM_SortRows)->Args({10000, stAlphabetic})->Args({10000, stIP})->Args({10000, stCaseInsensitive});

// The list of a 224-character 32 x 32 font: rows 168 pixels high (32 * 5 + 8),
// a "Char", a "Code" and a thumbnail column with 4 x 4 dots every 5 pixels.
class TBenchList {
public:
    static constexpr int Rows = 224, Dots = 32, RowHeight = Dots * 5 + 8;
    static constexpr int Width = 40 + 40 + RowHeight, Height = 600;
    TNextGrid Grid;

    TBenchList()
    {
        Grid.SetBorderStyle(bsNone);
        Grid.SetOptions(goDisableColumnMoving | goHeader | goSelectFullRow);
        Grid.SetAppearanceOptions(aoBoldTextSelection | aoHighlightSlideCells);
        Grid.SetGridLinesStyle(lsHorizontalOnly);
        auto* Char = new TNxTextColumn;
        Char->Header().SetCaption("Char");
        auto* Code = new TNxTextColumn;
        Code->Header().SetCaption("Code");
        Code->SetTextBefore(" ");
        auto* LCD = new TNxImageColumn;
        LCD->Header().SetCaption("GLCD");
        LCD->SetDrawingOptions(doBackgroundOnly);
        Grid.Columns().Add(Char);
        Grid.Columns().Add(Code);
        Grid.Columns().Add(LCD);
        Char->SetWidth(40);
        Char->SetFont(QFont("Arial", 12));
        Code->SetWidth(40);
        LCD->SetWidth(RowHeight);
        Grid.SetRowSize(RowHeight);
        Grid.resize(Width + 20, Height);
        Grid.show();
        for (int I = 0; I < Rows; ++I) {
            Grid.AddRow(1);
            Grid.Cell(0, Grid.LastAddedRow)->SetAsString(QString(QChar(32 + I)));
            Grid.Cell(1, Grid.LastAddedRow)->SetAsInteger(32 + I);
        }
        Grid.OnCustomDrawCell = [this](TNxCustomGridControl* G, int, int Row, const TRect& R, TCellState) {
            DrawThumbnail(*G->Canvas(), R.Left + 3, R.Top + 3, Row);
        };
        Grid.SetSelectedRow(0);
    }
    void DrawThumbnail(QPainter& Canvas, int X, int Y, int Row);

private:
    QImage FThumb;
};

// The thumbnail of row Row's character: each pixel a 4 x 4 dot in its own colour
// (ink black, paper white), one every 5 pixels, composed in one image and drawn
// once; dot by dot through the painter it took five times the whole repaint.
void TBenchList::DrawThumbnail(QPainter& Canvas, int X, int Y, int Row)
{
    const int Side = Dots * 5 - 1;
    if (FThumb.isNull())
        FThumb = QImage(Side, Side, QImage::Format_RGB32);
    const QRgb Ink = qRgb(0, 0, 0), Paper = qRgb(255, 255, 255);
    for (int DY = 0; DY < Dots; ++DY) {
        // One line of dots, copied to the dot's other three lines; the gap line is paper.
        auto* First = reinterpret_cast<QRgb*>(FThumb.scanLine(DY * 5));
        for (int DX = 0; DX < Dots; ++DX) {
            const QRgb C = ((DX * 7 + DY * 3 + Row) % 5) < 2 ? Ink : Paper;
            QRgb* P = First + DX * 5;
            P[0] = P[1] = P[2] = P[3] = C;
            if (DX < Dots - 1)
                P[4] = Paper;
        }
        for (int Line = 1; Line < 4; ++Line)
            std::memcpy(FThumb.scanLine(DY * 5 + Line), First, Side * sizeof(QRgb));
        if (DY < Dots - 1)
            std::fill_n(reinterpret_cast<QRgb*>(FThumb.scanLine(DY * 5 + 4)), Side, Paper);
    }
    Canvas.drawImage(X, Y, FThumb);
}

// Nanoseconds of one fill of a W x H image, averaged over many.
double FillNanoseconds(int W, int H)
{
    QImage Img(W, H, QImage::Format_RGB32);
    const int N = 2000;
    const auto Start = std::chrono::steady_clock::now();
    for (int I = 0; I < N; ++I) {
        Img.fill(QColor(I & 255, 0, 0));
        benchmark::DoNotOptimize(Img.constBits());
    }
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - Start).count() / N;
}

void BM_ListPlainFill(benchmark::State& State)
{
    TBenchList L;
    QImage Img(L.Grid.ClientWidth(), L.Grid.ClientHeight(), QImage::Format_RGB32);
    int I = 0;
    for (auto _ : State) {
        Img.fill(QColor(++I & 255, 0, 0));
        benchmark::DoNotOptimize(Img.constBits());
    }
}
BENCHMARK(BM_ListPlainFill);

// One viewport repainted; "xFill" is its time over a plain fill of the same area.
void BM_ListViewportRepaint(benchmark::State& State)
{
    TBenchList L;
    QImage Img(L.Grid.ClientWidth(), L.Grid.ClientHeight(), QImage::Format_RGB32);
    const double Fill = FillNanoseconds(Img.width(), Img.height());
    const auto Start = std::chrono::steady_clock::now();
    for (auto _ : State) {
        QPainter P(&Img);
        L.Grid.PaintTo(P, Img.rect());
    }
    const double Each = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - Start).count()
        / static_cast<double>(State.iterations());
    State.counters["xFill"] = Each / Fill;
}
BENCHMARK(BM_ListViewportRepaint);

// From the first row to the last one line at a time, each uncovered strip painted.
void BM_ListScrollEndToEnd(benchmark::State& State)
{
    TBenchList L;
    QApplication::processEvents();
    int Steps = 0;
    for (auto _ : State) {
        L.Grid.VertScrollBar().SetPosition(0);
        QApplication::processEvents();
        while (L.Grid.VertScrollBar().Position() < L.Grid.VertScrollBar().Max()) {
            L.Grid.WMVScroll(scLineDown);
            QApplication::processEvents();
            ++Steps;
        }
    }
    State.counters["Lines"] = benchmark::Counter(Steps, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ListScrollEndToEnd)->Unit(benchmark::kMillisecond);

// A shown list of Rows rows of one text column, full-row and multi-row selection.
struct TGrowthGrid {
    TNextGrid Grid;
    explicit TGrowthGrid(int Rows)
    {
        Grid.SetOptions(goHeader | goSelectFullRow | goMultiSelect);
        Grid.Columns().Add(new TNxTextColumn);
        Grid.resize(200, 400);
        Grid.show();
        Grid.AddRowsQuietly(Rows);
    }
};

// Seconds per row of AddRow inside BeginUpdate (with a cell written, as the
// character list does), the best of Repeats runs.
double AddRowPerRow(int Rows, int Repeats)
{
    double Best = 1e9;
    for (int I = 0; I < Repeats; ++I) {
        TGrowthGrid G(0);
        const auto Start = std::chrono::steady_clock::now();
        G.Grid.BeginUpdate();
        for (int R = 0; R < Rows; ++R) {
            G.Grid.AddRow(1);
            G.Grid.Cell(0, G.Grid.LastAddedRow)->SetAsInteger(R);
        }
        G.Grid.EndUpdate();
        Best = std::min(Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count() / Rows);
    }
    return Best;
}

// Seconds per row of a Shift range over all rows and the ClearSelection after it.
double RangePerRow(int Rows, int Repeats)
{
    double Best = 1e9;
    for (int I = 0; I < Repeats; ++I) {
        TGrowthGrid G(Rows);
        G.Grid.SetSelectedRow(0);
        const auto Start = std::chrono::steady_clock::now();
        G.Grid.SelectCell(0, Rows - 1, ssShift);
        G.Grid.ClearSelection();
        Best = std::min(Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count() / Rows);
    }
    return Best;
}

// The best of Repeats runs of Run(Grid) on a fresh grid of Rows rows made by
// Prepare, in seconds per unit of work (Run returns the units it did).
template <typename TPrepare, typename TRun>
double BestPerUnit(int Rows, int Repeats, TPrepare&& Prepare, TRun&& Run)
{
    double Best = 1e9;
    for (int I = 0; I < Repeats; ++I) {
        TGrowthGrid G(Rows);
        Prepare(G.Grid);
        const auto Start = std::chrono::steady_clock::now();
        const int Units = Run(G.Grid);
        Best = std::min(Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count() / Units);
    }
    return Best;
}

void NoPreparation(TNextGrid&) {}

// 500 rows added one call at a time to a shown grid of Rows rows, outside any update.
double AddRowShownPerCall(int Rows, int Repeats)
{
    return BestPerUnit(Rows, Repeats, NoPreparation, [](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.AddRow(1);
        return 500;
    });
}

// Children added as last ones under row 0 of a one-row grid, until it has Rows of them.
double AddChildRowPerCall(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, NoPreparation, [Rows](TNextGrid& G) {
        for (int I = 0; I < Rows; ++I)
            G.AddChildRow(0, true);
        return Rows;
    });
}

// 500 single rows deleted from the end (Last) or from row 0 of Rows rows.
double DeleteRowPerCall(int Rows, int Repeats, bool Last)
{
    return BestPerUnit(Rows, Repeats, NoPreparation, [Last](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.DeleteRow(Last ? G.RowCount() - 1 : 0);
        return 500;
    });
}

// A parent in the middle of Rows rows with Rows / 10 children, deleted with them
// in one DeleteRow: seconds per row deleted.
double DeleteParentPerRow(int Rows, int Repeats)
{
    const int Parent = Rows / 2, Children = Rows / 10;
    return BestPerUnit(Parent + 1, Repeats, [Parent, Children, Rows](TNextGrid& G) {
        for (int I = 0; I < Children; ++I)
            G.AddChildRow(Parent, true);
        G.AddRowsQuietly(Rows - G.RowCount());
    }, [Parent, Children](TNextGrid& G) {
        G.DeleteRow(Parent);
        return Children + 1;
    });
}

// Shift+Down pressed 200 times, as the user does it, from row 0 of Rows rows,
// or (Folded) from 300 rows before the end, below a collapsed row, where the
// positions of the shown rows are no row numbers.
double ShiftDownPerKey(int Rows, int Repeats, bool Folded)
{
    return BestPerUnit(Rows, Repeats, [Folded, Rows](TNextGrid& G) {
        if (Folded) {
            for (int I = 0; I < 10; ++I)
                G.AddChildRow(0, true);
            G.SetExpanded(0, false);
        }
        G.SetSelectedRow(Folded ? Rows - 300 : 0);
        G.ScrollToRow(G.SelectedRow());
    }, [](TNextGrid& G) {
        for (int I = 0; I < 200; ++I) {
            QKeyEvent Key(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
            QCoreApplication::sendEvent(&G, &Key);
        }
        return 200;
    });
}

// A grid whose row 0 holds every other row as its child, folded (Folded) or open.
void FoldOverTheRest(TNextGrid& G, int Rows, bool Folded = true)
{
    for (int I = 1; I < Rows; ++I)
        G.AddChildRow(0, true);
    G.SetExpanded(0, !Folded);
}

// 500 cells written outside an update, from the last row up, in a shown grid
// scrolled to the top: each write repaints its cell, whose top is looked up.
double CellWritePerCall(int Rows, int Repeats)
{
    return BestPerUnit(Rows, Repeats, NoPreparation, [Rows](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.Cell(0, Rows - 1 - I)->SetAsInteger(I);
        return 500;
    });
}

// 500 children added last under row 0, which is folded over the other Rows - 1.
double AddChildFoldedPerCall(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, [Rows](TNextGrid& G) { FoldOverTheRest(G, Rows); }, [](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.AddChildRow(0, true);
        return 500;
    });
}

// A chain of Rows rows, each the child of the one before, made 500 rows longer.
double AddChildChainPerCall(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, [Rows](TNextGrid& G) {
        for (int I = 1; I < Rows; ++I)
            G.AddChildRow(I - 1, true);
    }, [Rows](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.AddChildRow(Rows - 1 + I, true);
        return 500;
    });
}

// The last row deleted 500 times from 10 shown rows and a folded eleventh that
// holds the rest.
double DeleteLastFoldedPerCall(int Rows, int Repeats)
{
    return BestPerUnit(11, Repeats, [Rows](TNextGrid& G) {
        for (int I = 11; I < Rows; ++I)
            G.AddChildRow(10, true);
        G.SetExpanded(10, false);
    }, [](TNextGrid& G) {
        for (int I = 0; I < 500; ++I)
            G.DeleteRow(G.RowCount() - 1);
        return 500;
    });
}

void PressKey(TNextGrid& G, int Key)
{
    QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier);
    QCoreApplication::sendEvent(&G, &Press);
}

// End, then Home, 100 times over Rows shown rows: per pair.
double EndHomePerPair(int Rows, int Repeats)
{
    return BestPerUnit(Rows, Repeats, [](TNextGrid& G) { G.UpdateVertScrollBar(); }, [](TNextGrid& G) {
        for (int I = 0; I < 100; ++I) {
            PressKey(G, Qt::Key_End);
            PressKey(G, Qt::Key_Home);
        }
        return 100;
    });
}

// The last row, with a child of its own, folded and opened 100 times each below
// row 0 folded over the rest.
double FoldBelowFoldedPerCall(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, [Rows](TNextGrid& G) {
        FoldOverTheRest(G, Rows - 2);
        G.AddRow(1);
        G.AddChildRow(Rows - 2, true);
    }, [Rows](TNextGrid& G) {
        for (int I = 0; I < 100; ++I) {
            G.SetExpanded(Rows - 2, false);
            G.SetExpanded(Rows - 2, true);
        }
        return 200;
    });
}

// Down pressed 200 times on row 0, folded over the rest: no shown row follows.
double DownOverFoldedPerKey(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, [Rows](TNextGrid& G) { FoldOverTheRest(G, Rows); G.SetSelectedRow(0); }, [](TNextGrid& G) {
        for (int I = 0; I < 200; ++I)
            PressKey(G, Qt::Key_Down);
        return 200;
    });
}

// The whole client area painted 50 times with row 0 folded over the rest.
double PaintFoldedPerPaint(int Rows, int Repeats)
{
    return BestPerUnit(1, Repeats, [Rows](TNextGrid& G) { FoldOverTheRest(G, Rows); }, [](TNextGrid& G) {
        QImage Img(G.ClientWidth(), G.ClientHeight(), QImage::Format_RGB32);
        for (int I = 0; I < 50; ++I) {
            QPainter P(&Img);
            G.PaintTo(P, Img.rect());
        }
        return 50;
    });
}

// Each cost must not grow with the number of rows: the time per row (or per
// call) at 100,000 rows within 1.5 times that at 1,000 (every "...Growth" at
// most 1.5), and AddRow inside an update under 500 ns per row
// ("AddRowNsPerRow100k"); the cell writes, tree rows, keys and paints below
// folded rows within 3 times. Deleting row 0 shifts every row after it; its
// times are shown, not held to a ratio.
void BM_GrowthRatios(benchmark::State& State)
{
    for (auto _ : State) {
        auto Ratio = [&State](const char* Name, const char* Large, double (*Measure)(int, int)) {
            const double Small = Measure(1000, 20), Big = Measure(100000, 7);
            State.counters[Name] = Big / Small;
            State.counters[Large] = Big * 1e9;
        };
        Ratio("AddRowGrowth", "AddRowNsPerRow100k", AddRowPerRow);
        Ratio("AddRowShownGrowth", "AddRowShownNsPerCall100k", AddRowShownPerCall);
        Ratio("AddChildRowGrowth", "AddChildRowNsPerCall100k", AddChildRowPerCall);
        Ratio("DeleteLastGrowth", "DeleteLastNsPerCall100k", [](int R, int N) { return DeleteRowPerCall(R, N, true); });
        Ratio("DeleteParentGrowth", "DeleteParentNsPerRow100k", DeleteParentPerRow);
        Ratio("ShiftDownGrowth", "ShiftDownNsPerKey100k", [](int R, int N) { return ShiftDownPerKey(R, N, false); });
        Ratio("ShiftDownFoldedGrowth", "ShiftDownFoldedNsPerKey100k", [](int R, int N) { return ShiftDownPerKey(R, N, true); });
        Ratio("RangeGrowth", "RangeNsPerRow100k", RangePerRow);
        Ratio("CellWriteGrowth", "CellWriteNsPerCall100k", CellWritePerCall);
        Ratio("AddChildFoldedGrowth", "AddChildFoldedNsPerCall100k", AddChildFoldedPerCall);
        Ratio("AddChildChainGrowth", "AddChildChainNsPerCall100k", AddChildChainPerCall);
        Ratio("DeleteLastFoldedGrowth", "DeleteLastFoldedNsPerCall100k", DeleteLastFoldedPerCall);
        Ratio("EndHomeGrowth", "EndHomeNsPerPair100k", EndHomePerPair);
        Ratio("FoldBelowFoldedGrowth", "FoldBelowFoldedNsPerCall100k", FoldBelowFoldedPerCall);
        Ratio("DownOverFoldedGrowth", "DownOverFoldedNsPerKey100k", DownOverFoldedPerKey);
        Ratio("PaintFoldedGrowth", "PaintFoldedNsPerPaint100k", PaintFoldedPerPaint);
        State.counters["DeleteFirstNsPerCall1k"] = DeleteRowPerCall(1000, 20, false) * 1e9;
        State.counters["DeleteFirstNsPerCall10k"] = DeleteRowPerCall(10000, 5, false) * 1e9;
        State.counters["DeleteFirstNsPerCall100k"] = DeleteRowPerCall(100000, 3, false) * 1e9;
    }
}
BENCHMARK(BM_GrowthRatios)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // No display is needed: the grid paints into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
