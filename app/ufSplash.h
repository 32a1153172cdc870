#pragma once
// The borderless picture window shown while the program starts.
#include <QWidget>

class QLabel;

// Where the program's picture and its web address come from.
inline const QString MakerNotice = QStringLiteral("(c) 2026 The Dotwright Project");
inline const QString MakerUrl = QStringLiteral("https://dotwright.example");
inline const QString MakerEmail = QStringLiteral("info@dotwright.example");

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* Parent = nullptr);

    // Shows the splash, paints it, and keeps it up for HoldMs while messages are processed.
    void Hold(int HoldMs);

private:
    QLabel* Image1 = nullptr;
    QLabel* imgStandaloneApp = nullptr;
};

// A picture of the resource at Place, transparent where the picture is.
QLabel* AddPicture(QWidget* Parent, const char* Name, const QString& Path, const QRect& Place);
// Shows the program's picture, then sizes Window to Image1 and centres it on its screen.
void FitToPicture(QWidget& Window, const QLabel& Image1, QLabel& imgStandaloneApp);
// Adds a label of Text in Tahoma at (X, Y) to Parent.
QLabel* AddPictureLabel(QWidget* Parent, const char* Name, const QString& Text, int X, int Y,
                        const QColor& Color);
