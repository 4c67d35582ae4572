#include "mod_strings.h"

#include <algorithm>
#include <array>

namespace modStrings {
namespace {

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A 256-entry membership table: one lookup a character keeps the scan linear.
class SeparatorSet {
  public:
    explicit SeparatorSet(std::string_view separators) {
        m_member.fill(false);
        m_member[0] = true; // NUL always ends a field
        for (char c : separators) {
            mark(c);
            mark(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : foldCase(c));
        }
    }
    bool contains(char c) const { return m_member[static_cast<unsigned char>(c)]; }

  private:
    void mark(char c) { m_member[static_cast<unsigned char>(c)] = true; }
    std::array<bool, 256> m_member{};
};

std::string trimSpaces(std::string field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = field.find_last_not_of(' ');
    return field.substr(first, last - first + 1);
}

} // namespace

std::vector<std::string> SplitEscaped(std::string_view text, std::string_view separators,
                                      std::string_view escape, bool trim) {
    if (text.empty() || separators.empty()) {
        return {std::string()};
    }
    const bool escaping = !escape.empty();
    const char escapeChar = escaping ? escape.front() : '\0';
    const SeparatorSet separatorSet(separators);

    // One field at most per separator and one more: reserving that up front spares the
    // reallocations that would otherwise move every field stored so far.
    std::vector<std::string> fields;
    fields.reserve(1 +
                   static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [&](char c) {
                       return separatorSet.contains(c);
                   })));
    auto store = [&](std::string field) {
        fields.push_back(trim ? trimSpaces(std::move(field)) : std::move(field));
    };

    std::string carried;
    bool hasCarried = false;
    std::size_t rest = 0; // start of the part not consumed yet
    const std::size_t end = text.size();

    while (true) {
        std::size_t sep = rest;
        while (sep < end && !separatorSet.contains(text[sep])) {
            ++sep;
        }
        if (sep == end) { // no separator left: the rest is the last field
            carried.append(text.substr(rest));
            store(std::move(carried));
            break;
        }
        const bool lastChar = sep + 1 == end;
        if (sep == rest) { // separator first in the rest
            if (hasCarried) {
                store(std::move(carried));
                carried.clear();
                hasCarried = false;
                if (lastChar) {
                    break;
                }
            }
            rest = sep + 1; // an empty field is dropped
            continue;
        }
        if (escaping && text[sep - 1] == escapeChar) { // escaped: the field goes on
            carried.append(text.substr(rest, sep - 1 - rest));
            carried.push_back(text[sep]);
            hasCarried = true;
            if (lastChar) {
                store(std::move(carried));
                break;
            }
            rest = sep + 1;
            continue;
        }
        carried.append(text.substr(rest, sep - rest));
        store(std::move(carried));
        carried.clear();
        hasCarried = false;
        if (lastChar) {
            break;
        }
        rest = sep + 1;
    }
    return fields;
}

std::string JoinEscaped(std::vector<std::string>& list, std::string_view separator,
                        std::string_view escape) {
    const std::string_view escapeText = escape.empty() ? std::string_view("\\") : escape;
    const char sep = separator.empty() ? ' ' : separator.front();
    const char foldedSep = foldCase(sep);

    std::string result;
    for (std::string& element : list) {
        bool holdsSeparator = false;
        for (char c : element) {
            holdsSeparator = holdsSeparator || foldCase(c) == foldedSep;
        }
        if (holdsSeparator) {
            std::string escaped;
            escaped.reserve(element.size() + escapeText.size() * 2);
            for (char c : element) {
                if (foldCase(c) == foldedSep) {
                    escaped.append(escapeText);
                    escaped.push_back(sep);
                } else {
                    escaped.push_back(c);
                }
            }
            element = std::move(escaped);
        }
        result.append(element);
        result.push_back(sep);
    }
    if (!result.empty()) {
        result.pop_back();
    }
    return result;
}

} // namespace modStrings
