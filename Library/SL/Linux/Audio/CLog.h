#pragma once

namespace CoreAudio {

// Where the wrappers send a failing platform status: to the facade's error
// handler, unless the calling thread has suspended reporting.
class CLog {
public:
  // Per thread: a device enumeration on one thread silences no other.
  static thread_local bool sIsSuspended;

  static void Error(long status);
};

// Suspends reporting on this thread for a scope, however it is left.
class CLogSuspension {
public:
  CLogSuspension() : mWas(CLog::sIsSuspended) { CLog::sIsSuspended = true; }
  ~CLogSuspension() { CLog::sIsSuspended = mWas; }
  CLogSuspension(CLogSuspension const&) = delete;
  CLogSuspension& operator=(CLogSuspension const&) = delete;

private:
  bool mWas;
};

}  // namespace CoreAudio
