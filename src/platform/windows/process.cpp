#include "platform/process.h"

#include <windows.h>

#include "platform/windows/child_start.h"
#include "platform/windows/system_text.h"

namespace tarvolin::platform {

// The engine's output is read overlapped, so that a read can wait with a
// deadline and be cancelled; a read left waiting keeps its buffer here until
// it completes.
struct ChildProcess::State {
  HANDLE process = nullptr;
  HANDLE to_child = INVALID_HANDLE_VALUE, from_child = INVALID_HANDLE_VALUE;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  OVERLAPPED reading{};
  bool pending = false;
  char chunk[4096];
  ~State() {
    if (ready != nullptr) CloseHandle(ready);
  }
};

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() { kill(); }

bool ChildProcess::running() const { return state_->process != nullptr; }

bool ChildProcess::start(const std::vector<std::string>& argv, std::string& why) {
  kill();
  if (argv.empty()) return why = error_text(ERROR_FILE_NOT_FOUND), false;
  if (state_->ready == nullptr) return why = error_text(GetLastError()), false;
  StartedChild child;
  if (!start_child(argv, child, why)) return false;
  state_->process = child.process;
  state_->to_child = child.to_child;
  state_->from_child = child.from_child;
  return true;
}

bool ChildProcess::write(const std::string& data) {
  if (state_->to_child == INVALID_HANDLE_VALUE) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    DWORD wrote = 0;
    if (!WriteFile(state_->to_child, data.data() + done, static_cast<DWORD>(data.size() - done),
                   &wrote, nullptr) ||
        wrote == 0)
      return false;  // the pipe is broken: the child has gone
    done += wrote;
  }
  return true;
}

ChildProcess::Read ChildProcess::read(std::string& into, std::chrono::milliseconds wait) {
  State& s = *state_;
  if (s.from_child == INVALID_HANDLE_VALUE) return Read::end;
  if (!s.pending) {
    s.reading = OVERLAPPED{};
    s.reading.hEvent = s.ready;
    if (!ReadFile(s.from_child, s.chunk, sizeof s.chunk, nullptr, &s.reading) &&
        GetLastError() != ERROR_IO_PENDING)
      return Read::end;  // broken pipe: the child closed its output
    s.pending = true;
  }
  DWORD waited =
      WaitForSingleObject(s.ready, static_cast<DWORD>(wait.count() > 0 ? wait.count() : 0));
  if (waited == WAIT_TIMEOUT) return Read::timeout;
  DWORD got = 0;
  BOOL done = GetOverlappedResult(s.from_child, &s.reading, &got, FALSE);
  if (!done && GetLastError() == ERROR_IO_INCOMPLETE) return Read::timeout;
  s.pending = false;
  if (!done) return Read::end;
  into.append(s.chunk, got);
  return got > 0 ? Read::data : Read::timeout;
}

void ChildProcess::kill() {
  State& s = *state_;
  if (s.to_child != INVALID_HANDLE_VALUE) CloseHandle(s.to_child);
  if (s.from_child != INVALID_HANDLE_VALUE) {
    if (s.pending) {
      DWORD got = 0;
      CancelIoEx(s.from_child, &s.reading);
      GetOverlappedResult(s.from_child, &s.reading, &got, TRUE);
    }
    CloseHandle(s.from_child);
  }
  s.to_child = s.from_child = INVALID_HANDLE_VALUE;
  s.pending = false;
  if (s.process != nullptr) {
    TerminateProcess(s.process, 1);
    WaitForSingleObject(s.process, INFINITE);
    CloseHandle(s.process);
  }
  s.process = nullptr;
}

}  // namespace tarvolin::platform
