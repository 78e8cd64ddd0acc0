#pragma once

// Helpers shared by the desktop tests: a temporary folder that removes itself,
// whole-file reads, a recursive snapshot of a tree, and running lnkinfo.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orvane::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);

// Every entry under root (relative path -> file contents, or "<dir>" /
// "<link>" + target), to prove a call left a tree exactly as it was.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& root);

// File names directly in a folder, sorted.
std::vector<std::string> Names(const std::filesystem::path& folder);

// The lnkinfo report of a file as "field -> value" (e.g. "Description"), empty
// when lnkinfo failed. LnkinfoPath() is empty when lnkinfo is not installed.
std::string LnkinfoPath();
std::map<std::string, std::string> Lnkinfo(const std::filesystem::path& file);

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);  // value nullptr: unset
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

}  // namespace orvane::test
