#include "resources/text_table.h"

#include <string_view>
#include <unordered_map>

namespace orvane {

extern const char* const kTextTableTsv;  // resources/texts.tsv, compiled in

namespace {

constexpr int Base(Language language) {
  return static_cast<int>(language);
}

// Parsed once from the compiled-in table: "N<TAB>Name<TAB>English<TAB>Chinese" per line.
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
      const auto tab3 = tab2 == std::string_view::npos ? tab2 : line.find('\t', tab2 + 1);
      if (tab3 == std::string_view::npos) continue;
      int n = 0;
      for (char c : line.substr(0, tab1)) n = n * 10 + (c - '0');
      t.emplace(Base(Language::English) + n, std::string(line.substr(tab2 + 1, tab3 - tab2 - 1)));
      t.emplace(Base(Language::TraditionalChinese) + n, std::string(line.substr(tab3 + 1)));
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

std::string LoadText(TextId id, Language language) {
  return LoadResString(Base(language) + static_cast<int>(id));
}

std::string FillText(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' &&
        std::size_t(text[i + 1] - '1') < values.size()) {
      out += values.begin()[text[i + 1] - '1'];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

unsigned LegacyCodePage(Language language) {
  return language == Language::TraditionalChinese ? 950 : 1252;
}

}  // namespace orvane
