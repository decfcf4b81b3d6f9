#include "books/DocxNumbering.h"

#include <charconv>
#include <vector>

namespace {

std::string_view Val(const pugi::xml_node& node) {
    return AttributeByLocalName(node, "val").value();
}

std::optional<long long> Number(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

NumberStyle StyleOf(std::string_view format) {
    if (format == "decimalZero") return NumberStyle::DecimalZero;
    if (format == "lowerLetter") return NumberStyle::LowerLetter;
    if (format == "upperLetter") return NumberStyle::UpperLetter;
    if (format == "lowerRoman") return NumberStyle::LowerRoman;
    if (format == "upperRoman") return NumberStyle::UpperRoman;
    if (format == "none" || format == "bullet") return NumberStyle::None;
    // Word writes the formats it has no way to show in digits too.
    return NumberStyle::Decimal;
}

template <typename Level>
void ReadLevel(const pugi::xml_node& node, Level& level) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = LocalName(child);
        if (name == "start") {
            level.start = ClampedStart(Number(Val(child)).value_or(1));
        } else if (name == "numFmt") {
            level.style = StyleOf(Val(child));
            level.bullet = Val(child) == "bullet";
        } else if (name == "lvlText") {
            level.text = Val(child);
        } else if (name == "lvlRestart") {
            if (const auto value = Number(Val(child)))
                level.restartAfter = static_cast<int>(*value);
        } else if (name == "isLgl") {
            level.legal = Val(child) != "0" && Val(child) != "false";
        } else if (name == "pStyle") {
            level.paragraphStyle = Val(child);
        }
    }
}

int LevelIndex(const pugi::xml_node& node) {
    return static_cast<int>(Number(AttributeByLocalName(node, "ilvl").value()).value_or(-1));
}

}  // namespace

void DocxNumbering::Load(const pugi::xml_node& numbering) {
    for (pugi::xml_node node : numbering.children()) {
        if (node.type() != pugi::node_element) continue;
        const std::string_view name = LocalName(node);
        if (name == "abstractNum") {
            Definition definition;
            for (pugi::xml_node child : node.children()) {
                if (child.type() != pugi::node_element) continue;
                if (LocalName(child) == "numStyleLink") definition.styleLink = Val(child);
                const int level = LevelIndex(child);
                if (LocalName(child) == "lvl" && level >= 0 && level < kLevels)
                    ReadLevel(child, definition.levels[static_cast<std::size_t>(level)]);
            }
            definitions_[AttributeByLocalName(node, "abstractNumId").value()] =
                std::move(definition);
        } else if (name == "num") {
            List list;
            list.definition = Val(ChildByLocalName(node, "abstractNumId"));
            for (pugi::xml_node child : node.children()) {
                const int level = LevelIndex(child);
                if (LocalName(child) != "lvlOverride" || level < 0 || level >= kLevels) continue;
                if (const pugi::xml_node start = ChildByLocalName(child, "startOverride")) {
                    list.startOverrides[level] = ClampedStart(Number(Val(start)).value_or(1));
                }
                if (const pugi::xml_node lvl = ChildByLocalName(child, "lvl")) {
                    ReadLevel(lvl, list.levelOverrides[level]);
                }
            }
            lists_[AttributeByLocalName(node, "numId").value()] = std::move(list);
        }
    }
}

// The definition's levels; one that links to a style takes the levels of the
// style's list.
const DocxNumbering::Levels* DocxNumbering::LevelsOf(const List& list,
                                                     const StyleList& styleList) const {
    auto definition = definitions_.find(list.definition);
    if (definition == definitions_.end()) return nullptr;
    if (!definition->second.styleLink.empty()) {
        const std::optional<std::string> linked = styleList(definition->second.styleLink);
        const auto linkedList = linked ? lists_.find(*linked) : lists_.end();
        if (linkedList != lists_.end()) {
            const auto target = definitions_.find(linkedList->second.definition);
            if (target != definitions_.end()) definition = target;
        }
    }
    return &definition->second.levels;
}

DocxNumbering::Level DocxNumbering::LevelOf(const List& list, const Levels& levels,
                                            int level) const {
    const auto overridden = list.levelOverrides.find(level);
    Level out = overridden != list.levelOverrides.end() ? overridden->second
                                                        : levels[static_cast<std::size_t>(level)];
    if (const auto start = list.startOverrides.find(level); start != list.startOverrides.end())
        out.start = start->second;
    return out;
}

std::optional<int> DocxNumbering::LevelOfStyle(std::string_view listId, std::string_view styleId,
                                               const StyleList& styleList) const {
    const auto list = lists_.find(listId);
    const Levels* levels = list != lists_.end() ? LevelsOf(list->second, styleList) : nullptr;
    for (int level = 0; levels && !styleId.empty() && level < kLevels; ++level) {
        if (LevelOf(list->second, *levels, level).paragraphStyle == styleId) return level;
    }
    return std::nullopt;
}

std::string DocxNumbering::Label(std::string_view listId, int level, const StyleList& styleList) {
    const auto found = lists_.find(listId);
    if (found == lists_.end() || level < 0 || level >= kLevels) return {};
    List& list = found->second;
    const Levels* levels = LevelsOf(list, styleList);
    if (levels == nullptr) return {};
    const Level current = LevelOf(list, *levels, level);
    list.counters.Count(level, current.start);
    for (int deeper = level + 1; deeper < kLevels; ++deeper) {
        const std::optional<int> after = LevelOf(list, *levels, deeper).restartAfter;
        if (!after || (*after != 0 && level < *after)) list.counters.Restart(deeper);
    }
    if (current.bullet) return ListBullet(current.text);
    std::vector<std::string> numbers;
    for (int shown = 0; shown <= level; ++shown) {
        const Level each = LevelOf(list, *levels, shown);
        const NumberStyle style = current.legal ? NumberStyle::Decimal : each.style;
        numbers.push_back(FormatListNumber(list.counters.Current(shown, each.start), style));
    }
    return ExpandLevelText(current.text, numbers);
}
