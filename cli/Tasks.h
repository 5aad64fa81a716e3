#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace cli {

enum class Target { All, Alpha, Digit, AlphaNumeric };

using Conversion = std::function<QString(const QString&)>;

struct Task {
    std::string_view name;
    bool takesTarget;          // fullwidth and halfwidth choose their operation by target
    std::string_view summary;  // one line of --help
};

// Every task of kestrino-conv, in the order --help lists them.
const std::vector<Task>& Tasks();

std::optional<Target> ParseTarget(std::string_view name);

// The library operation a task runs; nullopt for an unknown task name.
std::optional<Conversion> ConversionFor(std::string_view task, Target target);

}  // namespace cli
