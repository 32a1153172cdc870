#include "Form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <cmath>
#include <string>

namespace {

// The window is laid out in twips; 15 twips make one pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

int Px(int Twips)
{
    return Twips / TwipsPerPixel;
}

QRect Twips(int Left, int Top, int Width, int Height)
{
    return QRect(Px(Left), Px(Top), Px(Width), Px(Height));
}

const QString SettingsText = QStringLiteral("9600,n,8,1");
const QString WarningTitle = QStringLiteral("Warning!");

// A level box holds 0 to 255.
constexpr double MaxLevel = 255;

// Whole number nearest to Value, ties to even, as the colour steps round.
double RoundHalfEven(double Value)
{
    return std::nearbyint(Value);
}

} // namespace

double Val(const QString& Text)
{
    const std::string S = Text.toStdString();
    std::size_t I = 0;
    while (I < S.size() && (S[I] == ' ' || S[I] == '\t' || S[I] == '\r' || S[I] == '\n'))
        ++I;
    std::string Number;
    bool Negative = false;
    if (I < S.size() && (S[I] == '+' || S[I] == '-'))
        Negative = S[I++] == '-';
    auto TakeDigits = [&] {
        std::size_t Count = 0;
        while (I < S.size() && S[I] >= '0' && S[I] <= '9') {
            Number += S[I++];
            ++Count;
        }
        return Count;
    };
    std::size_t Digits = TakeDigits();
    if (I < S.size() && S[I] == '.') {
        Number += S[I++];
        Digits += TakeDigits();
    }
    if (Digits == 0)
        return 0;
    if (I + 1 < S.size() && (S[I] == 'e' || S[I] == 'E' || S[I] == 'd' || S[I] == 'D')) {
        std::size_t J = I + 1;
        std::string Exponent = "e";
        if (S[J] == '+' || S[J] == '-')
            Exponent += S[J++];
        if (J < S.size() && S[J] >= '0' && S[J] <= '9') {
            while (J < S.size() && S[J] >= '0' && S[J] <= '9')
                Exponent += S[J++];
            Number += Exponent;
        }
    }
    // The C locale reads '.' whatever the system's locale says; a number too
    // large gives infinity, one too small 0.
    const double Value = QLocale::c().toDouble(QString::fromStdString(Number));
    return Negative ? -Value : Value;
}

TShape::TShape(QWidget* Parent)
    : QWidget(Parent)
{
}

void TShape::SetFillColor(const QColor& Value)
{
    if (FFillColor == Value)
        return;
    FFillColor = Value;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    Painter.setPen(QPen(Qt::black, 1));
    Painter.setBrush(FFillColor);
    const int Side = qMin(width(), height()) - 1;
    Painter.drawEllipse(QRectF(0.5, 0.5, Side, Side));
}

TForm1::TForm1(TSerialLink& Link, QWidget* Parent)
    : QWidget(Parent)
    , FLink(Link)
{
    FShowWarning = [this](const QString& Text, const QString& Title) {
        QMessageBox::warning(this, Title, Text, QMessageBox::Ok);
    };
    CreateControls();
}

void TForm1::CreateControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("COM PORT"));
    setFixedSize(Px(4920), Px(3510));
    // The layout is measured for an 8-point face; larger text would be clipped.
    QFont Small = font();
    Small.setPointSize(8);
    setFont(Small);

    Frame1 = new QGroupBox(QStringLiteral("Device Checker"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Twips(120, 120, 2655, 1095));

    static const struct {
        const char* Check;
        const char* Caption;
        const char* Shape;
        int Top;
        char OnByte;
        char OffByte;
    } OutputTable[2] = {
        {"Check1", "Device 1", "Shape1", 360, 0x01, 0x02},
        {"Check2", "Device 2", "Shape2", 720, 0x03, 0x04},
    };
    for (int I = 0; I < 2; ++I) {
        const auto& Row = OutputTable[I];
        TOutput& Output = FOutputs[I];
        Output.Check = new QCheckBox(QString::fromLatin1(Row.Caption), Frame1);
        Output.Check->setObjectName(QString::fromLatin1(Row.Check));
        Output.Check->setGeometry(Twips(120, Row.Top, 1215, 255));
        Output.Shape = new TShape(Frame1);
        Output.Shape->setObjectName(QString::fromLatin1(Row.Shape));
        Output.Shape->setGeometry(Twips(2040, Row.Top, 255, 255));
        Output.OnByte = Row.OnByte;
        Output.OffByte = Row.OffByte;
        connect(Output.Check, &QCheckBox::toggled, this, [this, I](bool Checked) { CheckClick(I, Checked); });
    }

    Command1 = new QPushButton(QStringLiteral("Exit"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips(3840, 240, 735, 375));
    connect(Command1, &QPushButton::clicked, this, &TForm1::Command1_Click);

    Option1 = new QRadioButton(QStringLiteral("COM 1"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(Twips(240, 1440, 855, 255));
    Option2 = new QRadioButton(QStringLiteral("COM 2"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(Twips(1320, 1440, 855, 255));
    for (int CommPort : {1, 2})
        connect(OptionFor(CommPort), &QRadioButton::toggled, this, [this, CommPort](bool Checked) {
            if (Checked)
                OptionClick(CommPort);
        });

    static const struct {
        const char* Label;
        const char* Caption;
        const char* HScroll;
        const char* Text;
        int Top;
        char ChannelByte;
    } ChannelTable[3] = {
        {"Label1", "R", "HScroll1", "Text1", 2160, 0x0A},
        {"Label2", "G", "HScroll2", "Text2", 2580, 0x0B},
        {"Label3", "B", "HScroll3", "Text3", 3000, 0x0C},
    };
    for (int I = 0; I < 3; ++I) {
        const auto& Row = ChannelTable[I];
        TChannel& Channel = FChannels[I];
        Channel.Label = new QLabel(QString::fromLatin1(Row.Caption), this);
        Channel.Label->setObjectName(QString::fromLatin1(Row.Label));
        Channel.Label->setGeometry(Twips(120, Row.Top, 240, 255));
        Channel.HScroll = new QScrollBar(Qt::Horizontal, this);
        Channel.HScroll->setObjectName(QString::fromLatin1(Row.HScroll));
        Channel.HScroll->setGeometry(Twips(360, Row.Top, 2535, 255));
        Channel.HScroll->setRange(0, 255);
        Channel.HScroll->setSingleStep(1);
        Channel.HScroll->setPageStep(1);
        Channel.HScroll->setFocusPolicy(Qt::StrongFocus);
        // A level bar, not a view's scroll bar: the right arrow raises the level.
        Channel.HScroll->setInvertedControls(false);
        Channel.Text = new QLineEdit(QStringLiteral("0"), this);
        Channel.Text->setObjectName(QString::fromLatin1(Row.Text));
        Channel.Text->setGeometry(Twips(3120, Row.Top, 495, 285));
        Channel.ChannelByte = Row.ChannelByte;
        // Every step of a drag goes out as it happens; the release sends the
        // final level once more, as the device is used to.
        connect(Channel.HScroll, &QScrollBar::valueChanged, this, [this, I](int Value) { HScrollChange(I, Value); });
        connect(Channel.HScroll, &QScrollBar::sliderPressed, this,
                [this, I] { FChannels[I].DragStart = FChannels[I].HScroll->value(); });
        connect(Channel.HScroll, &QScrollBar::sliderReleased, this, [this, I] {
            const int Value = FChannels[I].HScroll->value();
            if (Value != FChannels[I].DragStart)
                HScrollChange(I, Value);
        });
    }

    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setGeometry(Twips(3840, 1800, 735, 1095));
    Text5 = new QLineEdit(this);
    Text5->setObjectName(QStringLiteral("Text5"));
    Text5->setGeometry(Twips(3840, 3000, 735, 285));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1_Timer);

    QWidget* const TabOrder[] = {
        FChannels[0].HScroll, FChannels[1].HScroll, FChannels[2].HScroll,
        FChannels[0].Text, FChannels[1].Text, FChannels[2].Text,
        Text5, Text4, Command1,
        FOutputs[0].Check, FOutputs[1].Check, Option1, Option2,
    };
    for (std::size_t I = 1; I < std::size(TabOrder); ++I)
        setTabOrder(TabOrder[I - 1], TabOrder[I]);
    FChannels[0].HScroll->setFocus();
}

void TForm1::Form_Load()
{
    Option1->setChecked(true);
    if (FEnded)
        return;
    FChannels[0].HScroll->setValue(20);
    FChannels[1].HScroll->setValue(0);
    FChannels[2].HScroll->setValue(0);
    Text4->setText(QString());
    Timer1->start(50);
}

QRadioButton* TForm1::OptionFor(int CommPort) const
{
    return CommPort == 1 ? Option1 : Option2;
}

void TForm1::OptionClick(int CommPort)
{
    if (FEnded)
        return;
    const int Other = 3 - CommPort;
    if (FLink.IsOpen())
        FLink.Close();
    switch (FLink.Open(CommPort)) {
    case TSerialLink::TOpenResult::InUse:
        FShowWarning(CommPort == 1 ? QStringLiteral("COM1 already in use!") : QStringLiteral("COM2 already in use!"),
                     WarningTitle);
        if (FFailedPort == Other) {
            EndProgram();
            return;
        }
        FFailedPort = static_cast<std::uint8_t>(CommPort);
        OptionFor(Other)->setChecked(true);
        // The marker joins the two tries of one fall-back only: by the next
        // choice the busy port may be free, so that choice starts afresh.
        FFailedPort = 0;
        break;
    case TSerialLink::TOpenResult::Opened:
    case TSerialLink::TOpenResult::Failed:
        break;
    }
    if (FEnded)
        return;
    (void)FLink.SetSettings(SettingsText);
    ShowPortState();
}

void TForm1::ShowPortState()
{
    // No port open: neither option stays selected, and choosing one tries again.
    if (FLink.IsOpen() || (!Option1->isChecked() && !Option2->isChecked()))
        return;
    for (QRadioButton* Option : {Option1, Option2}) {
        Option->setAutoExclusive(false);
        Option->setChecked(false);
        Option->setAutoExclusive(true);
    }
}

void TForm1::HScrollChange(int Channel, int Value)
{
    if (FEnded)
        return;
    const TChannel& C = FChannels[Channel];
    const QString Level = QString::number(Value);
    C.Text->setText(Level);
    Send(Level.toLatin1() + C.ChannelByte);
    UpdateColorPreview();
}

void TForm1::UpdateColorPreview()
{
    // A level typed beyond 0..255 is held to the range, and its box shows the
    // level taken, so that the swatch and the hex box always show the boxes.
    auto Level = [](QLineEdit* Box) {
        const double Typed = Val(Box->text());
        if (Typed >= 0 && Typed <= MaxLevel)
            return Typed;
        const double Held = Typed > MaxLevel ? MaxLevel : 0;
        Box->setText(QString::number(Held));
        return Held;
    };
    const double Red = Level(FChannels[0].Text);
    const double Green = Level(FChannels[1].Text);
    const double Blue = Level(FChannels[2].Text);
    // Rounded step by step, as the colour is built; within 0..255 per level
    // the sum stays below 2^24.
    double Color = RoundHalfEven(Blue * 65536);
    Color = RoundHalfEven(Green * 256 + Color);
    Color = RoundHalfEven(Color + Red);
    FCurrentColor = static_cast<std::int32_t>(Color);

    const auto Bgr = static_cast<std::uint32_t>(FCurrentColor);
    QPalette Palette = Text4->palette();
    Palette.setColor(QPalette::Base, QColor(Bgr & 0xFF, (Bgr >> 8) & 0xFF, (Bgr >> 16) & 0xFF));
    Text4->setPalette(Palette);
    Text5->setText(QString::number(Bgr, 16).toUpper());
}

void TForm1::CheckClick(int Output, bool Checked)
{
    if (FEnded)
        return;
    const TOutput& O = FOutputs[Output];
    O.Shape->SetFillColor(Checked ? QColor(255, 0, 0) : QColor(Qt::black));
    Send(QByteArray(1, Checked ? O.OnByte : O.OffByte));
}

void TForm1::Timer1_Timer()
{
    if (FEnded)
        return;
    if (!FLink.IsOpen()) {
        ShowPortState();
        return;
    }
    // Each report is one digit; several may arrive between two polls, and
    // each counts in the order it came. Anything else is noise.
    const QByteArray Received = FLink.Input();
    for (char Report : Received) {
        if (Report < '1' || Report > '4')
            continue;
        const int Index = (Report - '1') / 2;
        const bool On = (Report - '1') % 2 == 0;
        FOutputs[Index].Check->setChecked(On);
        if (FEnded)
            return;
    }
}

void TForm1::Command1_Click()
{
    EndProgram();
}

void TForm1::Send(const QByteArray& Bytes)
{
    // With no port open there is nobody to talk to; the window keeps working.
    if (FLink.IsOpen())
        FLink.Output(Bytes);
}

void TForm1::EndProgram()
{
    if (FEnded)
        return;
    FEnded = true;
    Timer1->stop();
    emit ProgramEnded();
}

void TForm1::closeEvent(QCloseEvent* Event)
{
    Timer1->stop();
    FLink.Close();
    Event->accept();
}

void TForm1::paintEvent(QPaintEvent*)
{
    QPainter Painter(this);
    Painter.setPen(QPen(Qt::black, 1));
    Painter.drawLine(Px(120), Px(1800), Px(2760), Px(1800));
    Painter.drawLine(Px(2760), Px(1800), Px(3360), Px(1440));
    Painter.drawLine(Px(3360), Px(1440), Px(4680), Px(1440));
}
