#pragma once

#include <cstddef>

namespace cli {

// Prepares the heap for a run that holds a few buffers of about `bytes` in all: they come from
// one heap region that is reused as buffers are freed, backed by transparent huge pages where
// the kernel offers them. Otherwise each large buffer is mapped afresh and faulted in 4 KiB at
// a time, which on some machines costs more than the whole conversion.
void PrepareLargeHeap(std::size_t bytes);

}  // namespace cli
