#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <functional>
#include <string_view>

namespace cli {

// Decodes well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF, no
// sequence cut off at the end) into text in one pass. On the first byte that does not belong
// to such a sequence it stops and returns that byte's offset; on success it returns npos.
std::size_t DecodeUtf8(std::string_view bytes, QString& text);

// Encodes text as UTF-8 in pieces of at most about chunkSize bytes, handing each to sink, so
// that a large text never needs a second large buffer. A lone surrogate becomes U+FFFD.
// Stops and returns false as soon as sink does.
bool EncodeUtf8(QStringView text, const std::function<bool(const char*, std::size_t)>& sink,
                std::size_t chunkSize = 1 << 16);

}  // namespace cli
