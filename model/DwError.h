#pragma once
// The program's one exception type: a programming fault, or a failure whose
// message a caller passes on to the user unchanged.
#include <QString>
#include <stdexcept>

class EDotwrightError : public std::runtime_error {
public:
    explicit EDotwrightError(const QString& Message)
        : std::runtime_error(Message.toStdString()), FMessage(Message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};
