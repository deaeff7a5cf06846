#include "platform/file_lock.h"

#include <windows.h>

#include "platform/windows/system_text.h"

namespace tarvolin::platform {

namespace {

// The lock covers one byte far past the text, so that a second run can still
// read the holder's id, which a lock on the text would keep from it.
constexpr DWORD LOCKED_AT = 0x7fffffff;

OVERLAPPED at(DWORD offset) {
  OVERLAPPED where{};
  where.Offset = offset;
  return where;
}

// The holder's process id, as it wrote it; 0 when the file holds none.
long holder_of(HANDLE file) {
  char text[24] = {};
  DWORD got = 0;
  OVERLAPPED start = at(0);
  if (!ReadFile(file, text, sizeof text - 1, &got, &start)) return 0;
  long pid = 0;
  for (DWORD i = 0; i < got && text[i] >= '0' && text[i] <= '9' && pid < 100000000; ++i)
    pid = pid * 10 + (text[i] - '0');
  return pid;
}

// Whether the name still leads to the file we hold: the holder before us
// removes the file it held when it ends.
bool still_named(HANDLE held, const std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION ours{}, named{};
  HANDLE again = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (again == INVALID_HANDLE_VALUE) return false;
  bool same =
      GetFileInformationByHandle(held, &ours) && GetFileInformationByHandle(again, &named) &&
      ours.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
      ours.nFileIndexHigh == named.nFileIndexHigh && ours.nFileIndexLow == named.nFileIndexLow;
  CloseHandle(again);
  return same;
}

}  // namespace

LockAttempt take_lock(const std::string& path, std::intptr_t& handle) {
  std::wstring name = widen(path);
  LockAttempt attempt;
  // A file being removed by a holder that ends cannot be opened until it is
  // gone, which takes a moment; so does one whose name we opened too late.
  for (int tries = 0; tries < 100; ++tries) {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      attempt = {LockAttempt::cannot_open, 0, error_text(error)};
      if (error != ERROR_ACCESS_DENIED) return attempt;
      Sleep(10);
      continue;
    }
    OVERLAPPED lock = at(LOCKED_AT);
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &lock)) {
      DWORD error = GetLastError();
      if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        attempt = {LockAttempt::in_use, holder_of(file), ""};
      else
        attempt = {LockAttempt::cannot_lock, 0, error_text(error)};
      CloseHandle(file);
      return attempt;
    }
    if (still_named(file, name)) {
      // The process id only serves a second run's message; the lock holds without it.
      std::string pid = std::to_string(GetCurrentProcessId()) + "\n";
      DWORD wrote = 0;
      OVERLAPPED start = at(0);
      SetEndOfFile(file);
      WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &wrote, &start);
      handle = reinterpret_cast<std::intptr_t>(file);
      return {LockAttempt::taken, 0, ""};
    }
    CloseHandle(file);
    attempt = {LockAttempt::cannot_lock, 0, "it keeps being replaced"};
  }
  return attempt;
}

void release_lock(const std::string&, std::intptr_t handle) {
  HANDLE file = reinterpret_cast<HANDLE>(handle);
  // Marked for removal while still locked, so that no run opens the name in
  // between and holds a lock on a file nobody else sees.
  FILE_DISPOSITION_INFO remove{TRUE};
  SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
  CloseHandle(file);
}

}  // namespace tarvolin::platform
