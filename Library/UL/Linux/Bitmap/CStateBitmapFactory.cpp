#include "UL/Linux/Bitmap/CStateBitmapFactory.h"

#include "UL/Linux/Bitmap/CStateBitmap.h"

namespace UL {

boost::shared_ptr<AStateBitmap> CStateBitmapFactory::Create(std::string const& name,
                                                            long stateCount, bool horizontal,
                                                            bool doubled) {
  return boost::shared_ptr<AStateBitmap>(new CStateBitmap(name, stateCount, horizontal, doubled));
}

}  // namespace UL
