#include "GT/Com/Enum/CEnumerationDescription.h"

namespace GT {

int CEnumerationDescription::GetLowerBound() const {
  return mTable->GetCount() > 0 ? mTable->GetPair(0).first : 0;
}

int CEnumerationDescription::GetUpperBound() const {
  int const n = mTable->GetCount();
  return n > 0 ? mTable->GetPair(n - 1).first : 0;
}

std::unique_ptr<IIterator<int, boost::mpl::empty_base> > CEnumerationDescription::Instances()
    const {
  return std::unique_ptr<IIterator<int, boost::mpl::empty_base> >(new CIterator(*mTable));
}

}  // namespace GT
