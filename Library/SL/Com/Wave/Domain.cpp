#include "SL/Com/Wave/Domain.h"

namespace SL {
namespace {

template <class T>
class CDefaultDescription : public IEntityDescription<T> {
public:
  void Normalize(T&) override {}
  bool HasNormalized(T const&) override { return true; }
};

class CDefaultDomain : public IDomain {
public:
  IEntityDescription<IWave>& WaveDescription() override {
    static CDefaultDescription<IWave> description;
    return description;
  }
  IEntityDescription<IChannel>& ChannelDescription() override {
    static CDefaultDescription<IChannel> description;
    return description;
  }
  IEntityDescription<IEnvelope>& EnvelopeDescription() override {
    static CDefaultDescription<IEnvelope> description;
    return description;
  }
  IEntityDescription<ILoop>& LoopDescription() override {
    static CDefaultDescription<ILoop> description;
    return description;
  }
};

boost::shared_ptr<IDomain> nDomain;

}  // namespace

IDomain& Domain() {
  if (!nDomain) InitializeDomain();
  return *nDomain;
}

void InitializeDomain() { nDomain.reset(new CDefaultDomain); }

void InitializeDomain(boost::shared_ptr<IDomain> domain) { nDomain = domain; }

}  // namespace SL
