#include "platform/windows/child_start.h"

#include <atomic>
#include <vector>

#include "platform/windows/command_line.h"
#include "platform/windows/system_text.h"

namespace tarvolin::platform {

namespace {

// Every engine joins one job that ends them all when this process ends,
// however it ends: an engine left searching would hold a core for good.
HANDLE engines_job() {
  static HANDLE job = [] {
    HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (made != nullptr &&
        !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(made);
      made = nullptr;
    }
    return made;
  }();
  return job;
}

struct Handles {
  HANDLE child_in = INVALID_HANDLE_VALUE, to_child = INVALID_HANDLE_VALUE;
  HANDLE child_out = INVALID_HANDLE_VALUE, from_child = INVALID_HANDLE_VALUE;
  HANDLE child_error = INVALID_HANDLE_VALUE;
  ~Handles() {
    for (HANDLE h : {child_in, to_child, child_out, from_child, child_error})
      if (h != INVALID_HANDLE_VALUE && h != nullptr) CloseHandle(h);
  }
};

// Anonymous pipes cannot be read overlapped, so the output is a named pipe
// of a name used once. The child's ends are inheritable; the handle list
// given to CreateProcess keeps them from any other child started meanwhile.
bool make_pipes(Handles& h, std::string& why) {
  static std::atomic<unsigned> made{0};
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  if (!CreatePipe(&h.child_in, &h.to_child, &inherit, 0) ||
      !SetHandleInformation(h.to_child, HANDLE_FLAG_INHERIT, 0))
    return why = error_text(GetLastError()), false;
  std::wstring name = L"\\\\.\\pipe\\tarvolin-solve-" + std::to_wstring(GetCurrentProcessId()) +
                      L"-" + std::to_wstring(made++);
  h.from_child = CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096, 4096, 0, nullptr);
  if (h.from_child == INVALID_HANDLE_VALUE) return why = error_text(GetLastError()), false;
  h.child_out = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h.child_out == INVALID_HANDLE_VALUE) return why = error_text(GetLastError()), false;
  // The engine writes its errors where ours go; with none of ours, nowhere.
  if (!DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_ERROR_HANDLE), GetCurrentProcess(),
                       &h.child_error, 0, TRUE, DUPLICATE_SAME_ACCESS))
    h.child_error = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h.child_error == INVALID_HANDLE_VALUE) return why = error_text(GetLastError()), false;
  return true;
}

// CreateProcess with the handles of h alone inherited; started suspended so
// that it joins the job before it runs.
bool create(std::wstring line, Handles& h, PROCESS_INFORMATION& started, DWORD& error) {
  HANDLE inherited[3] = {h.child_in, h.child_out, h.child_error};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> storage(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size))
    return error = GetLastError(), false;
  bool ok = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                      sizeof inherited, nullptr, nullptr);
  STARTUPINFOEXW info{};
  info.StartupInfo.cb = sizeof info;
  info.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  info.StartupInfo.hStdInput = h.child_in;
  info.StartupInfo.hStdOutput = h.child_out;
  info.StartupInfo.hStdError = h.child_error;
  info.lpAttributeList = attributes;
  // Its own process group: Ctrl-C stops this run, which then ends the
  // engines, rather than each engine on its own in the middle of a search.
  ok = ok &&
       CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                      EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP,
                      nullptr, nullptr, &info.StartupInfo, &started);
  if (!ok) error = GetLastError();
  DeleteProcThreadAttributeList(attributes);
  return ok;
}

bool ends_in_exe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".exe";
}

}  // namespace

bool start_child(const std::vector<std::string>& argv, StartedChild& child, std::string& why) {
  Handles h;
  if (!make_pipes(h, why)) return false;
  PROCESS_INFORMATION started{};
  DWORD error = 0;
  bool ok = create(command_line(argv), h, started, error);
  // CreateProcess adds ".exe" only to a name without any dot ("engine-1.2").
  if (!ok && error == ERROR_FILE_NOT_FOUND && !ends_in_exe(argv[0])) {
    std::vector<std::string> with_exe = argv;
    with_exe[0] += ".exe";
    ok = create(command_line(with_exe), h, started, error);
  }
  if (!ok) return why = error_text(error, argv[0]), false;
  if (HANDLE job = engines_job(); job != nullptr) AssignProcessToJobObject(job, started.hProcess);
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  child = {started.hProcess, h.to_child, h.from_child};
  h.to_child = h.from_child = INVALID_HANDLE_VALUE;
  return true;
}

}  // namespace tarvolin::platform
