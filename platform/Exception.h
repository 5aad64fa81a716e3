#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace platform {

// The one error type the library and programs raise: it carries a message for the
// user (Japanese), which the application's error display shows as it stands.
class Exception : public std::exception {
public:
    explicit Exception(const QString& message);

    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

}  // namespace platform
