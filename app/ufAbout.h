#pragma once
// The About box: the program's picture, its version and the maker's links.
#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* Parent = nullptr);

    void lblEmailClick();
    void lblUrlClick();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QLabel* lblEmail = nullptr;
    QLabel* lblUrl = nullptr;
    QPushButton* btnOk = nullptr;
};
