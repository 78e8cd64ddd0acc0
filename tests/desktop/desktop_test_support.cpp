#include "tests/desktop/desktop_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace orvane::test {

TempFolder::TempFolder() {
  std::string pattern =
      (std::filesystem::path(testing::TempDir()) / "orvane-desktop-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed for " << pattern;
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string name = std::filesystem::relative(entry.path(), root).string();
    if (entry.is_symlink()) {
      entries[name] = "<link>" + std::filesystem::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      entries[name] = "<dir>";
    } else {
      const auto bytes = ReadBytes(entry.path());
      entries[name] = std::string(bytes.begin(), bytes.end());
    }
  }
  return entries;
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string LnkinfoPath() {
  return ::access("/usr/bin/lnkinfo", X_OK) == 0 ? "/usr/bin/lnkinfo" : "";
}

std::map<std::string, std::string> Lnkinfo(const std::filesystem::path& file) {
  std::map<std::string, std::string> fields;
  // The test folders never contain a single quote, so quoting is enough here.
  const std::string command = LnkinfoPath() + " '" + file.string() + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return fields;
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  if (::pclose(pipe) != 0) return {};
  std::size_t start = 0;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    start = end + 1;
    // "\tName\t\t\t: value"
    const auto colon = line.find(": ");
    if (line.empty() || line[0] != '\t' || colon == std::string::npos) continue;
    std::string name = line.substr(1, colon - 1);
    while (!name.empty() && (name.back() == '\t' || name.back() == ' ')) name.pop_back();
    fields[name] = line.substr(colon + 2);
  }
  return fields;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_ = true;
    old_ = old;
  }
  if (value != nullptr) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
}

ScopedEnv::~ScopedEnv() {
  if (had_) {
    ::setenv(name_.c_str(), old_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace orvane::test
