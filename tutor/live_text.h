#pragma once
// The growing text of a reply that streams in: the worker hands each new state of the assistant's
// text (UTF-8, as far as it has arrived) to such a function. `cutOff` is set once, with the last
// text, when the stream failed part way.
#include <functional>
#include <string_view>

using LiveTextFn = std::function<void(std::string_view textSoFar, bool cutOff)>;
