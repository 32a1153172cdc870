#pragma once
// The pieces every dialog is built from: the themed panel that fills it, the
// interface font, the icons of its buttons, named spin boxes and labelled
// fields, OK and Cancel, and the buttons under a source view. How the dialogs
// look is decided here once.
#include <QRect>
#include <QString>

class QBoxLayout;
class QDialog;
class QGridLayout;
class QGroupBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

// The themed containers are made here: their header and the font model's
// both name the font style bits, so no dialog includes the two together.
// Puts a themed panel of that objectName over the whole client area of
// Dialog, following its size, and returns it.
QWidget* FillWithThemedPanel(QDialog& Dialog, const char* Name = "pnlBack");
// A themed group box.
QGroupBox* NewThemedGroupBox(const QString& Caption, const char* Name);
// The dialog's font becomes the interface font.
void ApplyUIFont(QWidget& Dialog);
// The icon of the shared image list (":/icons/<Name>.svg"); blank when missing.
QIcon DialogIcon(const QString& Name);
// A label named LabelName with Caption in column Col of Row, buddy of Field, and
// Field in the next column.
QLabel* AddLabelled(QGridLayout& Grid, int Row, int Col, const char* LabelName, const QString& Caption,
                    QWidget* Field);

// W with Name as its objectName.
template <class T> T* Named(T* W, const char* Name)
{
    W->setObjectName(QString::fromLatin1(Name));
    return W;
}
// A spin box of that objectName over Min..Max, holding Value, at Place when
// one is given (a dialog placed by hand) and otherwise left to a layout.
QSpinBox* CreateSpin(QWidget* Parent, const char* Name, int Min, int Max, int Value, const QRect& Place = QRect());
// A name field: the control characters of typed, pasted or given text are
// removed, so that a generated line never breaks inside a name.
QLineEdit* NewNameEdit(const char* Name, const QString& Text = QString());
// A spin box of character codes, 0 to 255.
QSpinBox* NewRangeBox(const char* Name, int Value);
// A button with the icon of that name, for a layout.
QPushButton* NewButton(const char* Name, const QString& Caption, const char* Icon);

// "btnOk" (the default, accepts Dialog) at Left, Top and "btnCancel" (rejects
// it) Step pixels to its right, both 75 x 25.
void CreateOkCancel(QDialog* Dialog, QWidget* Parent, int Left, int Top, int Step, QPushButton*& Ok,
                    QPushButton*& Cancel);

// The buttons under a source view: Copy at the left, Save (the default
// button) and Close at the right; Close rejects the dialog.
struct TSourceButtons {
    QPushButton* btnCopyToClipboard = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;
};
TSourceButtons AddSourceButtons(QDialog& Dialog, QBoxLayout& Layout);

// The refusals the New, Import and export dialogs share, each shown as one
// error box; true when refused. Names are written in Windows-1252 (Where names
// the file: "a font project", "an export file"): any other character would
// come back as "?". A range must hold at least one code.
bool RefuseNonWin1252(const QString& Field, const QString& Text, const QString& Where);
bool RefuseEmptyRange(int From, int To);
