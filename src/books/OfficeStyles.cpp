#include "books/OfficeStyles.h"

namespace {

constexpr int kMaxStyleChain = 16;

}  // namespace

template <typename Get>
std::optional<bool> OfficeStyles::Find(std::string_view key, Get get) const {
    std::string current(key);
    for (int i = 0; i < kMaxStyleChain && !current.empty(); ++i) {
        const auto found = styles_.find(current);
        if (found == styles_.end()) break;
        if (const std::optional<bool> value = get(found->second)) return value;
        current = found->second.parent;
    }
    return std::nullopt;
}

bool OfficeStyles::Heading(std::string_view key) const {
    return Find(key,
                [](const Style& s) { return s.heading ? std::optional<bool>(true) : std::nullopt; })
        .value_or(false);
}

std::optional<bool> OfficeStyles::Bold(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.bold; });
}

std::optional<bool> OfficeStyles::Italic(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.italic; });
}
