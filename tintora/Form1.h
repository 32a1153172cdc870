#pragma once
// The tester's one window: three colour levels and two outputs of a device on
// COM 1 or COM 2, with the device's reports polled back into the check boxes.
#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "SerialLink.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

// The leading number of a text, 0 when there is none: blanks, a sign, digits,
// a fraction and an exponent ("  12.5e1x" reads 125).
double Val(const QString& Text);

// A round output lamp: a filled circle with a black outline.
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* Parent = nullptr);
    QColor FillColor() const { return FFillColor; }
    void SetFillColor(const QColor& Value);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QColor FFillColor = Qt::black;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Shows one modal warning with an OK button: (text, title).
    using TWarningSeam = std::function<void(const QString&, const QString&)>;

    explicit TForm1(TSerialLink& Link, QWidget* Parent = nullptr);

    // Replaces the message box, for tests.
    void SetWarningSeam(TWarningSeam Seam) { FShowWarning = std::move(Seam); }

    // Opens the port, sends the first red level and starts the poll.
    void Form_Load();

    // True once the program was ended by "Exit" or by the port fall-back;
    // from then on nothing more is sent or read.
    bool Ended() const { return FEnded; }

    std::int32_t CurrentColor() const { return FCurrentColor; }
    int FailedPort() const { return FFailedPort; }

signals:
    // The program is to end at once, without the window's closing handling.
    void ProgramEnded();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    struct TChannel {
        QLabel* Label = nullptr;
        QScrollBar* HScroll = nullptr;
        QLineEdit* Text = nullptr;
        char ChannelByte = 0;
        int DragStart = 0; // level when the thumb was taken
    };
    struct TOutput {
        QCheckBox* Check = nullptr;
        TShape* Shape = nullptr;
        char OnByte = 0;
        char OffByte = 0;
    };

    void CreateControls();
    void OptionClick(int CommPort);
    void HScrollChange(int Channel, int Value);
    void CheckClick(int Output, bool Checked);
    void Timer1_Timer();
    void Command1_Click();
    void UpdateColorPreview();
    void ShowPortState();
    void Send(const QByteArray& Bytes);
    void EndProgram();
    QRadioButton* OptionFor(int CommPort) const;

    TSerialLink& FLink;
    TWarningSeam FShowWarning;
    bool FEnded = false;

    std::int32_t FCurrentColor = 0;
    // The port (1 or 2) found in use by the fall-back under way; 0 otherwise.
    std::uint8_t FFailedPort = 0;

    QGroupBox* Frame1 = nullptr;
    QPushButton* Command1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<TChannel, 3> FChannels;
    std::array<TOutput, 2> FOutputs;
};
