#include <windows.h>

#include <atomic>
#include <string>

#include "desktop/replace_file.h"

namespace orvane {

namespace {

std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string result = "Windows error " + std::to_string(error);
  if (length > 0) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    result.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), size, nullptr,
                        nullptr);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == '.' || result.back() == ' ')) {
      result.pop_back();
    }
  }
  if (text != nullptr) LocalFree(text);
  return result;
}

std::filesystem::path TemporaryName(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  return path.parent_path() /
         (L".orvane-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++) + L".tmp");
}

}  // namespace

std::string ReplaceFileWith(const std::filesystem::path& path,
                            std::span<const std::uint8_t> bytes) {
  std::filesystem::path temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  // CREATE_NEW fails on any existing name, so the data never goes through a
  // file or link that was there before.
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryName(path);
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      return ErrorText(GetLastError());
    }
  }
  if (file == INVALID_HANDLE_VALUE) return ErrorText(ERROR_FILE_EXISTS);

  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const DWORD writeError = GetLastError();
  CloseHandle(file);
  if (!ok || written != bytes.size()) {
    DeleteFileW(temporary.c_str());
    return ErrorText(ok ? ERROR_WRITE_FAULT : writeError);
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD moveError = GetLastError();
    DeleteFileW(temporary.c_str());
    return ErrorText(moveError);
  }
  return {};
}

}  // namespace orvane
