#pragma once

#include <string>

namespace UL {

// Progress of a long operation: a title for the whole operation, a text for
// the current stage, a range of steps and the steps done, and a cancel
// request that the operation polls between its steps. Start/Stop pairs nest.
// Every operation has a do-nothing default, so the class itself serves as
// the null progress.
class IProgress {
public:
  virtual ~IProgress() = default;

  virtual void Start() {}
  // SetCancelable, SetRange, SetText, then Start().
  virtual void Start(long range, std::string const& text, bool cancelable);
  virtual void Stop() {}
  virtual void SetRange(long) {}
  virtual long GetRange() const { return 0; }
  virtual void SetPosition(long) {}
  virtual long GetPosition() const { return 0; }
  // Goes through the virtual operations so overrides take effect.
  virtual void Increase() { SetPosition(GetPosition() + 1); }
  virtual void SetTitle(std::string const&) {}
  virtual std::string GetTitle() const { return std::string(); }
  virtual void SetText(std::string const&) {}
  virtual std::string GetText() const { return std::string(); }
  virtual void SetCancelable(bool) {}
  virtual bool IsCancelable() const { return false; }
  virtual bool IsCanceled() const { return false; }

  // The process-wide progress that does nothing and is never cancelled.
  static IProgress& NullProgress();
};

}  // namespace UL
