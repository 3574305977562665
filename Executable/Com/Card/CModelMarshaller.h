#pragma once

#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Card/CSampleInformationDto.h"

#include <boost/shared_ptr.hpp>

namespace VQ7 {

// Turns the records of a sample-information file into a model and back.
class CModelMarshaller {
public:
  CModelMarshaller() {}

  bool ClassInvariant() const { return true; }

  // Empty unless the file object holds exactly 128 records. No range check
  // of the parameters: a card's values pass as they are.
  boost::shared_ptr<CModel> Unmarshall(CSampleInformationDto const& dto) const;
  // Empty when a value, cut to its field's width, comes out all ones.
  boost::shared_ptr<CSampleInformationDto> Marahsll(CModel const& model) const;
};

}  // namespace VQ7
