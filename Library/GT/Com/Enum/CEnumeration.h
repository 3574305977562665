#pragma once

#include "GT/Com/Enum/CEnumerationDescription.h"
#include "GT/Com/Text/CStringTable.h"
#include "GT/Com/Enum/IEnumeration.h"

#include <memory>
#include <string>

namespace GT {

// A checked enumeration: an int whose valid values have a non-empty name in
// the table sNames. T derives from CEnumeration<T> and defines sNames in its
// source file, before its static constant members, e.g.
//   template <> GT::CStringTable GT::CEnumeration<SL::CLoopMode>::sNames(...);
// The tables are built during static initialisation; the static constants
// are constant-initialised, so copying them is safe at any time, but checked
// construction from another file's static initialiser is not.
template <typename T>
class CEnumeration : public IEnumeration<int> {
public:
  using CError = IRangedNumber<int>::CError;

  // Throws CError (lower, upper bound) when value has no name.
  explicit CEnumeration(int value) : mValue(value) { Check(); }
  // Throws CError when name is not in the table.
  explicit CEnumeration(std::string const& name) : mValue(sNames.ToId(name)) { Check(); }
  // The lower bound; unchecked.
  CEnumeration() : mValue(Description().GetLowerBound()) {}
  constexpr CEnumeration(CEnumeration const& other) : IEnumeration<int>(), mValue(other.mValue) {}
  CEnumeration& operator=(CEnumeration const& other) {
    mValue = other.mValue;
    return *this;
  }

  std::unique_ptr<IRangedNumber<int> > Create(int value) const override {
    return std::unique_ptr<IRangedNumber<int> >(new T(value));
  }
  std::unique_ptr<IEnumeration<int> > Create(std::string const& name) const override {
    return std::unique_ptr<IEnumeration<int> >(new T(name));
  }

  // Copies other's value when it is the same enumeration and not this object.
  IRangedNumber<int>& Assign(IRangedNumber<int> const& other) override {
    if (&other != this) {
      if (CEnumeration const* same = dynamic_cast<CEnumeration const*>(&other))
        mValue = same->mValue;
    }
    return *this;
  }

  int GetValue() const override { return mValue; }
  IRangedNumberDescription<int> const& GetDescription() const override { return Description(); }
  bool Verify(int value) const override { return !sNames.ToString(value).empty(); }

  friend bool operator==(CEnumeration const& a, CEnumeration const& b) {
    return a.mValue == b.mValue;
  }
  friend bool operator!=(CEnumeration const& a, CEnumeration const& b) {
    return a.mValue != b.mValue;
  }

  static CStringTable sNames;

protected:
  struct CUnchecked {};
  // For the static constants: no table lookup, usable in constant initialisation.
  constexpr CEnumeration(int value, CUnchecked) : IEnumeration<int>(), mValue(value) {}

private:
  static CEnumerationDescription const& Description() {
    static CEnumerationDescription const description(sNames);
    return description;
  }

  void Check() const {
    if (!CEnumeration::Verify(mValue)) {
      CEnumerationDescription const& d = Description();
      throw CError(d.GetLowerBound(), d.GetUpperBound());
    }
  }

  int mValue;
};

}  // namespace GT
