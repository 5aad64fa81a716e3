#include "platform/Exception.h"

namespace platform {

Exception::Exception(const QString& message) : message_(message), utf8_(message.toUtf8()) {}

}  // namespace platform
