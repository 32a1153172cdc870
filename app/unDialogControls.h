#pragma once
// The pieces the New, Import and Optimize dialogs are built from alike: the
// themed panel that fills the dialog, named spin boxes, and the OK and Cancel
// buttons that close it.
#include <QRect>

class QDialog;
class QPushButton;
class QSpinBox;
class QWidget;
class TmbTBXPanel;

// The themed panel "pnlMain" over the whole of Dialog.
TmbTBXPanel* CreateDialogPanel(QDialog* Dialog, const QRect& Place);

// A spin box of that objectName over Min..Max, holding Value.
QSpinBox* CreateSpin(QWidget* Parent, const char* Name, int Min, int Max, int Value, const QRect& Place);

// "btnOk" (the default, accepts Dialog) at Left, Top and "btnCancel" (rejects
// it) Step pixels to its right, both 75 x 25.
void CreateOkCancel(QDialog* Dialog, QWidget* Parent, int Left, int Top, int Step, QPushButton*& Ok,
                    QPushButton*& Cancel);
