#include "platform/files.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/system_text.h"

namespace tarvolin::platform {

namespace {

// Virus scanners and indexers open a new file for a moment, and a reader
// without delete sharing keeps the old one from being replaced; both pass.
bool briefly_busy(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

long process_id() { return static_cast<long>(GetCurrentProcessId()); }

bool write_flushed(const std::string& path, const std::string& text, bool& opened,
                   std::string& why) {
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  opened = file != INVALID_HANDLE_VALUE;
  if (!opened) return why = error_text(GetLastError()), false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    DWORD part = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 30));
    DWORD wrote = 0;
    ok = WriteFile(file, text.data() + done, part, &wrote, nullptr) && wrote > 0;
    done += wrote;
  }
  ok = ok && FlushFileBuffers(file);
  DWORD error = ok ? 0 : GetLastError();
  ok = CloseHandle(file) && ok;
  if (!ok) why = error_text(error ? error : GetLastError());
  return ok;
}

bool rename_over(const std::string& from, const std::string& to, std::string& why) {
  std::wstring source = widen(from), target = widen(to);
  for (int tries = 0;; ++tries) {
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    DWORD error = GetLastError();
    if (!briefly_busy(error) || tries == 20) return why = error_text(error), false;
    Sleep(50);
  }
}

void remove_file(const std::string& path) { DeleteFileW(widen(path).c_str()); }

}  // namespace tarvolin::platform
