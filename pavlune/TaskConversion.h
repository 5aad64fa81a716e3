#pragma once

#include <QString>

#include <cstdint>

namespace pavlune {

// The text converted as an entry's task type and target say. The target counts only for the
// two width conversions; a task type outside the known ones gives the text back unchanged.
// Throws platform::Exception when URL unescaping meets a malformed escape.
QString ConvertByTask(std::int32_t taskType, std::int32_t target, const QString& text);

}  // namespace pavlune
