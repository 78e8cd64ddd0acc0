#include "shell/core/text_table.h"

#include <string_view>
#include <unordered_map>

#include "shell/core/wizard_state.h"

namespace orvane {

extern const char* const kTextTableTsv;  // resources/texts.tsv, compiled in

namespace {

// Parsed once from the compiled-in table: "N<TAB>English<TAB>Chinese" per line.
const std::unordered_map<int, std::string>& Table() {
  static const std::unordered_map<int, std::string> table = [] {
    std::unordered_map<int, std::string> t;
    std::string_view rest(kTextTableTsv);
    while (!rest.empty()) {
      const auto eol = rest.find('\n');
      std::string_view line = rest.substr(0, eol);
      rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
      if (line.empty() || line.front() == '#') continue;
      const auto tab1 = line.find('\t');
      const auto tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
      if (tab2 == std::string_view::npos) continue;
      int n = 0;
      for (char c : line.substr(0, tab1)) n = n * 10 + (c - '0');
      t.emplace(kEnglishBase + n, std::string(line.substr(tab1 + 1, tab2 - tab1 - 1)));
      t.emplace(kChineseBase + n, std::string(line.substr(tab2 + 1)));
    }
    return t;
  }();
  return table;
}

}  // namespace

std::string LoadResString(int number) {
  const auto& t = Table();
  const auto it = t.find(number);
  return it == t.end() ? std::string() : it->second;
}

std::string LoadText(int n) {
  // Both operands are 16-bit in the table's numbering; the sum wraps like one.
  const auto number = static_cast<std::int16_t>(State().TextBase + static_cast<std::int16_t>(n));
  return LoadResString(number);
}

}  // namespace orvane
