#pragma once
// The Optimize Font dialog: which blank margins that all characters share
// are to be removed. The Import dialog carries the same four boxes.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The sides ticked for removal.
struct TOptimizeChoice {
    bool ColsLeft = true;
    bool ColsRight = true;
    bool RowsTop = true;
    bool RowsBottom = true;
    bool Any() const { return ColsLeft || ColsRight || RowsTop || RowsBottom; }
};

// The label "Remove :" and the four boxes, top rows, bottom rows, left
// columns and right columns one under the other, every box ticked.
struct TBlankMarginBoxes {
    QLabel* lblRemove = nullptr;
    QCheckBox* chkBlankRowsTop = nullptr;
    QCheckBox* chkBlankRowsBottom = nullptr;
    QCheckBox* chkBlankColsLeft = nullptr;
    QCheckBox* chkBlankColsRight = nullptr;

    // The label at LabelPos, the boxes at BoxLeft from FirstTop on, 24 apart.
    void Create(QWidget* Parent, QPoint LabelPos, int BoxLeft, int FirstTop);
    TOptimizeChoice Choice() const;
    // Where the widest box ends, in its parent: the dialogs widen to it, as
    // the texts run longer than the design width in most interface fonts.
    int RightEdge() const;
};

class TfrmOptimizeFont : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptimizeFont(QWidget* Owner = nullptr);

    TBlankMarginBoxes Boxes;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    QWidget* FPanel = nullptr;
};
