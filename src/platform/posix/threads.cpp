#include "platform/threads.h"

#include <pthread.h>

#include <new>

namespace tarvolin::platform {

namespace {

struct Start {
  void (*body)(void*);
  void* argument;
};

void* run(void* start) {
  const Start s = *static_cast<Start*>(start);
  delete static_cast<Start*>(start);
  s.body(s.argument);
  return nullptr;
}

}  // namespace

static_assert(sizeof(pthread_t) <= sizeof(std::uintptr_t));

bool start_thread(Thread& thread, std::size_t stack, void (*body)(void*), void* argument) {
  Start* start = new (std::nothrow) Start{body, argument};
  if (start == nullptr) return false;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) {
    delete start;
    return false;
  }
  pthread_attr_setstacksize(&attributes, stack);
  pthread_t id;
  const bool started = pthread_create(&id, &attributes, run, start) == 0;
  pthread_attr_destroy(&attributes);
  if (!started) {
    delete start;
    return false;
  }
  thread.handle = static_cast<std::uintptr_t>(id);
  return true;
}

void join_thread(Thread& thread) {
  pthread_join(static_cast<pthread_t>(thread.handle), nullptr);
  thread.handle = 0;
}

}  // namespace tarvolin::platform
