#include "Executable/Com/Controller/CConverter.h"

#include "Executable/Com/Controller/CKvacFileSampleIteratorFactory.h"
#include "Executable/Com/Controller/CSampleIteratorLofiDecorator.h"
#include "Executable/Com/Controller/TempoEstimate.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <sstream>

namespace VQ7 {

namespace {

bool IsRegularFile(std::string const& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The files a conversion writes. Until they are open only those it made are
// its own; once they are open every one is, for it has truncated them. A
// failure removes what is its own, never a file it could not open, and
// nothing but plain files.
class COutputFiles {
public:
  explicit COutputFiles(std::vector<std::string> const& paths) : mPaths(paths), mOpened(false) {
    for (std::string const& path : paths) {
      struct stat info;
      mExisted.push_back(::lstat(path.c_str(), &info) == 0);
    }
  }
  void Opened() { mOpened = true; }
  void Remove() const {
    for (size_t i = 0; i < mPaths.size(); ++i)
      if ((mOpened || !mExisted[i]) && IsRegularFile(mPaths[i])) ::unlink(mPaths[i].c_str());
  }

private:
  std::vector<std::string> mPaths;
  std::vector<bool> mExisted;
  bool mOpened;
};

// Samples copied between two progress reports and cancel checks: the
// progress moves in steps too small to see, and a cancel is noticed within a
// fraction of a millisecond, yet the copy loop stays free of calls through
// the progress interface.
long const nProgressStep = 4096;

// Copies up to count samples; returns how many. Kept apart from the
// progress calls and counted down: the compiler makes a tighter loop of it
// (measured), which matters at one pass per sample.
template <class Input, class Output>
__attribute__((noinline)) long CopyRun(Input& input, Output& output, long count) {
  if (count <= 0) return 0;
  long left = count;
  while (input.HasNext() && output.HasNext()) {
    output.Set(input.Get());
    output.Next();
    input.Next();
    if (--left == 0) break;
  }
  return count - left;
}

// Copies at most `total` samples (whole frames only: a stream with a
// trailing part frame never writes beyond it). False when the user
// cancelled.
template <class Input, class Output>
bool CopySamples(Input& input, Output& output, long total, UL::IProgress& progress) {
  long copied = 0;
  while (copied < total) {
    if (progress.IsCanceled()) return false;
    long const step = std::min(total - copied, nProgressStep);
    long const done = CopyRun(input, output, step);
    copied += done;
    progress.SetPosition(copied);
    if (done < step) break;  // one side ended or failed early
  }
  return true;
}

}  // namespace

CConverter::CConverter() : mProgress(UL::IProgress::NullProgress()) {}

CConverter::CConverter(UL::IProgress& progress) : mProgress(progress) {}

std::vector<std::string> CConverter::Import(std::string const& source,
                                            std::string const& destinationBase) {
  std::vector<std::string> const none;
  boost::shared_ptr<SL::IInputSampleIterator> input =
      SL::CFileSampleIteratorFactory().Create(source);
  SL::CFileInputSampleIterator<SL::nInteger16>* const typedInput =
      dynamic_cast<SL::CFileInputSampleIterator<SL::nInteger16>*>(input.get());
  if (typedInput == nullptr) return none;

  SL::CSampleAttribute const attribute = input->GetAttribute();
  int const channels = attribute.mChannelCount;
  std::vector<std::string> names;
  if (channels == 1) {
    names.push_back(destinationBase);
  } else {
    for (int channel = 0; channel < channels; ++channel) {
      std::ostringstream name;
      name << destinationBase << channel;
      names.push_back(name.str());
    }
  }
  if (names.empty()) return none;

  COutputFiles written(names);
  boost::shared_ptr<SL::CKvacFileOutputSampleIterator> output =
      CKvacFileSampleIteratorFactory().CreateOutput(names);
  if (!output) {
    written.Remove();
    return none;
  }
  written.Opened();

  long const total = static_cast<long>(channels) * attribute.mFrameCount;
  mProgress.SetRange(total);
  mProgress.SetPosition(0);
  if (!CopySamples(*typedInput, *output, total, mProgress))
    return names;  // cancelled: the caller removes the unfinished files

  bool const done = input->IsValid() && output->IsValid() && output->Finalize();
  output.reset();  // closes the files
  if (done) return names;
  written.Remove();
  return none;
}

bool CConverter::Export(std::vector<std::string> const& files, std::string const& destination,
                        SL::CWaveFileFormat const& format, long length, bool lofi) {
  boost::shared_ptr<SL::IInputSampleIterator> input =
      CKvacFileSampleIteratorFactory().CreateInput(files, lofi, length);
  if (!input) return false;
  if (lofi) input.reset(new CSampleIteratorLofiDecorator(input));
  SL::ITypedInputSampleIterator<SL::nInteger16>& typedInput =
      dynamic_cast<SL::ITypedInputSampleIterator<SL::nInteger16>&>(*input);

  COutputFiles written(std::vector<std::string>(1, destination));
  boost::shared_ptr<SL::IOutputSampleIterator> output =
      SL::CFileSampleIteratorFactory().Create(input->GetAttribute(), destination, format);
  if (output) written.Opened();
  SL::CFileOutputSampleIterator<SL::nInteger16>* const typedOutput =
      dynamic_cast<SL::CFileOutputSampleIterator<SL::nInteger16>*>(output.get());
  if (typedOutput == nullptr) {
    output.reset();
    written.Remove();
    return false;
  }

  SL::CSampleAttribute const& attribute = input->GetAttribute();
  long const total = attribute.mFrameCount * attribute.mChannelCount;
  mProgress.SetRange(total);
  mProgress.SetPosition(0);
  // Without the decorator the input's own class is known: its per-sample
  // calls are then made directly.
  SL::CKvacFileInputSampleIterator* const deviceInput =
      lofi ? nullptr : dynamic_cast<SL::CKvacFileInputSampleIterator*>(input.get());
  bool const copied = deviceInput ? CopySamples(*deviceInput, *typedOutput, total, mProgress)
                                  : CopySamples(typedInput, *typedOutput, total, mProgress);
  if (!copied) return true;  // cancelled

  bool done = input->IsValid() && output->IsValid();
  if (done) {
    done = typedOutput->mFinalizer(
        typedOutput->mAttribute, typedOutput->mStream,
        GT::CRange<long>(typedOutput->mRange.begin, typedOutput->mPosition));
    // The last sample bytes may still sit in the stream's buffer: a full
    // disk shows only now.
    done = done && typedOutput->mStream->flush().good();
  }
  output.reset();
  if (!done) written.Remove();
  return done;
}

long CConverter::ComputeBpm(long frames) {
  if (frames <= 0) return Tempo::PRM_CalcCenterBPM(0, 0);
  uint32_t const clipped = frames > static_cast<long>(std::numeric_limits<uint32_t>::max())
                               ? std::numeric_limits<uint32_t>::max()
                               : static_cast<uint32_t>(frames);
  return static_cast<long>(Tempo::PRM_CalcCenterBPM(clipped, 0));
}

}  // namespace VQ7
