#include "Platform/Framework/LException.h"

#include <QtCore/qnamespace.h>

#include <cstdio>

LException::LException(int32_t code, std::string const& where) : mCode(code) {
  mText = "framework error " + CodeText(code);
  if (!where.empty()) mText += " in " + where;
}

std::string LException::CodeText(int32_t code) {
  uint32_t const bits = static_cast<uint32_t>(code);
  char chars[4];
  bool printable = true;
  for (int i = 0; i < 4; ++i) {
    chars[i] = static_cast<char>((bits >> (24 - 8 * i)) & 0xFFu);
    printable = printable && chars[i] >= 0x20 && chars[i] < 0x7F;
  }
  if (printable) return "'" + std::string(chars, 4) + "'";
  return std::to_string(code);
}

void ThrowIfNot_(bool condition, char const* where) {
  if (!condition) throw LException(err_Assertion, where);
}

void ThrowIfError_(int32_t status, char const* where) {
  if (status != 0) throw LException(status, where);
}

void CatchAndReport(char const* where, std::function<void()> const& code) {
  try {
    code();
  } catch (std::exception const& e) {
    std::fprintf(stderr, "%s: %s\n", where, e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: unknown exception\n", where);
  }
}

uint16_t ModifiersOf(int qtModifiers) {
  uint16_t bits = 0;
  if (qtModifiers & Qt::ShiftModifier) bits |= nModifierShift;
  if (qtModifiers & Qt::ControlModifier) bits |= nModifierCommand;
  if (qtModifiers & Qt::AltModifier) bits |= nModifierOption;
  if (qtModifiers & Qt::MetaModifier) bits |= nModifierControl;
  return bits;
}
