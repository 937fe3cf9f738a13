#pragma once
// The scan behind JsonQuote: how long a run of bytes can be copied as it is.
#include <cstddef>
#include <vector>

// How many bytes from `text` on need no escaping in a JSON string, i.e. are neither a control byte
// (below 0x20), the quote nor the backslash. `size` when none does.
std::size_t JsonPlainRunLength(const char* text, std::size_t size);

// Every scan this machine can run (the portable one, and SSE2 and AVX2 where the processor has
// them), so tests can hold each to the same answers. JsonPlainRunLength uses the fastest.
using JsonRunScan = std::size_t (*)(const char* text, std::size_t size);
std::vector<JsonRunScan> JsonPlainRunScans();
