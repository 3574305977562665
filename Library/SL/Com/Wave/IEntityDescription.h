#pragma once

namespace SL {

// Rules a program adds to the normalisation of one entity type.
template <class T>
class IEntityDescription {
public:
  virtual ~IEntityDescription() {}
  virtual void Normalize(T& entity) = 0;
  virtual bool HasNormalized(T const& entity) = 0;
};

}  // namespace SL
