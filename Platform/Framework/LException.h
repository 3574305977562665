#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <exception>
#include <functional>
#include <string>

// The framework's exception: a status or a four-character code, and where it
// was raised.
class LException : public std::exception {
public:
  explicit LException(int32_t code, std::string const& where = std::string());

  int32_t GetErrorCode() const { return mCode; }
  char const* what() const noexcept override { return mText.c_str(); }

  // "'nilP'" for four printable characters, the number otherwise.
  static std::string CodeText(int32_t code);

private:
  int32_t mCode;
  std::string mText;
};

template <typename T>
T* ThrowIfNil_(T* pointer, char const* where = "") {
  if (!pointer) throw LException(err_NilPointer, where);
  return pointer;
}
void ThrowIfNot_(bool condition, char const* where = "");  // 'asrt'
void ThrowIfError_(int32_t status, char const* where = "");

// Runs code called from the toolkit's event loop: an exception never crosses
// into the toolkit; it is reported on standard error and the loop goes on.
void CatchAndReport(char const* where, std::function<void()> const& code);
