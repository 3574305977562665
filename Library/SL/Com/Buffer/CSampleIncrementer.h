#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

#include "SL/Com/Buffer/ISampleIncrementer.h"

namespace SL {

// Visits a list of channels in every frame, in the list's order (entries may
// repeat or go backwards inside the frame).
template <int B>
class CSampleIncrementer : public ISampleIncrementer<B> {
public:
  // The list must be non-empty with every entry in [0, channels): anything
  // else is a programming error and throws std::invalid_argument.
  CSampleIncrementer(int channels, std::vector<int> const& selected)
      : mInitialStep(0), mSteps(), mCurrentStep(0) {
    if (selected.empty()) {
      throw std::invalid_argument("empty channel selection");
    }
    for (int channel : selected) {
      if (channel < 0 || channel >= channels) {
        throw std::invalid_argument("channel selection out of range");
      }
    }
    mInitialStep = static_cast<long>(selected[0]) * B;
    mSteps.reserve(selected.size());
    for (std::size_t i = 1; i < selected.size(); ++i) {
      mSteps.push_back((selected[i] - selected[i - 1]) * B);
    }
    // With valid entries this wrap step is always positive.
    int const wrap = (channels - selected.back()) * B;
    mSteps.push_back(wrap + static_cast<int>(mInitialStep));
  }
  CSampleIncrementer(CSampleIncrementer const&) = default;
  ~CSampleIncrementer() override = default;

  CSampleIncrementer* Clone() const override { return new CSampleIncrementer(*this); }
  long IncrementInitial() override { return mInitialStep; }
  long Increment() override {
    long const step = mSteps[mCurrentStep];
    if (++mCurrentStep == mSteps.size()) {
      mCurrentStep = 0;
    }
    return step;
  }

private:
  long mInitialStep;
  std::vector<int> mSteps;
  std::size_t mCurrentStep;  // index into mSteps, so copies keep their phase
};

}  // namespace SL
