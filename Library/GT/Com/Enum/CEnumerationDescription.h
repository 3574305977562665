#pragma once

#include "GT/Com/Text/CStringTable.h"
#include "GT/Com/Enum/IRangedNumberDescription.h"

#include <memory>
#include <string>

namespace GT {

// Describes an enumeration by its name table (not owned): the bounds are the
// ids of the first and last real entries, in table order.
class CEnumerationDescription : public IRangedNumberDescription<int> {
public:
  // The ids of the real entries in table order.
  class CIterator : public IIterator<int, boost::mpl::empty_base> {
  public:
    explicit CIterator(CStringTable const& table) : mTable(&table), mIndex(0) {}
    bool HasNext() override { return mIndex < mTable->GetCount(); }
    int Next() override { return mTable->GetPair(mIndex++).first; }

  private:
    CStringTable const* mTable;
    int mIndex;
  };

  explicit CEnumerationDescription(CStringTable const& table) : mTable(&table) {}

  int GetLowerBound() const override;
  int GetUpperBound() const override;
  int GetResolution() const override { return 1; }
  std::unique_ptr<IIterator<int, boost::mpl::empty_base> > Instances() const override;
  std::string ToString(int id) const override { return mTable->ToString(id); }

private:
  CStringTable const* mTable;
};

}  // namespace GT
