#include "platform/threads.h"

#include <float.h>
#include <process.h>
#include <windows.h>

#include <new>

namespace tarvolin::platform {

namespace {

struct Start {
  void (*body)(void*);
  void* argument;
};

unsigned __stdcall run(void* start) {
  const Start s = *static_cast<Start*>(start);
  delete static_cast<Start*>(start);
  // A new thread gets the system's x87 precision of 53 bits, while the C
  // runtime set 64 for the main one; the maths library computes pow() and
  // log() on the x87, so without this a worker's figures would differ in
  // their last bits from the main thread's.
  _fpreset();
  s.body(s.argument);
  return 0;
}

}  // namespace

bool start_thread(Thread& thread, std::size_t stack, void (*body)(void*), void* argument) {
  Start* start = new (std::nothrow) Start{body, argument};
  if (start == nullptr) return false;
  // The size reserves address space only; pages are committed as used.
  const std::uintptr_t handle = _beginthreadex(nullptr, static_cast<unsigned>(stack), run, start,
                                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (handle == 0) {
    delete start;
    return false;
  }
  thread.handle = handle;
  return true;
}

void join_thread(Thread& thread) {
  HANDLE handle = reinterpret_cast<HANDLE>(thread.handle);
  WaitForSingleObject(handle, INFINITE);
  CloseHandle(handle);
  thread.handle = 0;
}

}  // namespace tarvolin::platform
