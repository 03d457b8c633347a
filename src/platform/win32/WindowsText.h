#pragma once
// Text conversion and command-line quoting shared by the Windows implementations.

#include <string>
#include <string_view>

namespace fenmar::platform::detail {

// `text`, in code page `codePage` (CP_ACP, CP_UTF8), as UTF-16.
std::wstring Widen(std::string_view text, unsigned codePage);

// One argument as the C runtime's parser of the started program gives it back: as it is when
// it holds no blank and no quote, else in quotes, with backslashes doubled where they precede
// a quote (one escaped within the text, or the closing one).
std::string QuoteArgument(const std::string& arg);

}  // namespace fenmar::platform::detail
