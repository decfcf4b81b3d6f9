#include "books/OfficeStyles.h"

namespace {

constexpr int kMaxStyleChain = 16;

}  // namespace

template <typename Get>
auto OfficeStyles::Find(std::string_view key, Get get) const
    -> decltype(get(std::declval<const Style&>())) {
    std::string current(key);
    for (int i = 0; i < kMaxStyleChain && !current.empty(); ++i) {
        const auto found = styles_.find(current);
        if (found == styles_.end()) break;
        if (auto value = get(found->second)) return value;
        current = found->second.parent;
    }
    return std::nullopt;
}

bool OfficeStyles::Heading(std::string_view key) const {
    return Find(key,
                [](const Style& s) { return s.heading ? std::optional<bool>(true) : std::nullopt; })
        .value_or(false);
}

int OfficeStyles::OutlineLevel(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.outlineLevel; }).value_or(0);
}

std::optional<bool> OfficeStyles::Bold(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.bold; });
}

std::optional<bool> OfficeStyles::Italic(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.italic; });
}

std::optional<std::string> OfficeStyles::ListId(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.listId; });
}

std::optional<int> OfficeStyles::ListLevel(std::string_view key) const {
    return Find(key, [](const Style& s) { return s.listLevel; });
}
