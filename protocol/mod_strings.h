#pragma once

#include <string>
#include <string_view>
#include <vector>

// Escaped field lists: fields separated by a separator character, where an escape character
// directly before a separator makes it part of the field.
namespace modStrings {

// Cuts `text` into its fields. Every character of `separators` is a separator on its own
// (letters match in either case) and NUL is one more. The first character of `escape`, if any,
// escapes a separator directly after it. Empty fields between separators are dropped; a run of
// two or more separators at the end leaves one empty last field. With `trim`, spaces (only
// code 32) are removed from both ends of each field. Always returns at least one field.
std::vector<std::string> SplitEscaped(std::string_view text, std::string_view separators,
                                      std::string_view escape, bool trim);

// Joins `list` with the first character of `separator` (" " when empty). Each element holding
// the separator, in either letter case, has every occurrence replaced by `escape` ("\" when
// empty) followed by the separator, and that escaped form is written back into `list`.
// An empty list gives an empty text.
std::string JoinEscaped(std::vector<std::string>& list, std::string_view separator,
                        std::string_view escape);

} // namespace modStrings
