#include "Executable/Com/PadMatrix/CPadFactory.h"

#include "Executable/Com/PadMatrix/CPad.h"

namespace VQ7 {

boost::shared_ptr<APad> CPadFactory::Create(long id) {
  return boost::shared_ptr<APad>(new CPad(id));
}

}  // namespace VQ7
