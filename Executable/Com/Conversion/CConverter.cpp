#include "Executable/Com/Conversion/CConverter.h"

#include "Executable/Com/Conversion/CKvacFileSampleIteratorFactory.h"
#include "Executable/Com/Conversion/CSampleIteratorLofiDecorator.h"
#include "Executable/Com/Conversion/TempoEstimate.h"
#include "GT/Com/FileSystem/FileReplacement.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CFileSampleIteratorFactory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ios>
#include <limits>
#include <new>
#include <sstream>
#include <stdexcept>

namespace VQ7 {

namespace {

// The files a conversion writes. Each is written under a temporary name
// beside its own and put in place only when the whole conversion succeeded,
// so that a failure or a cancel leaves what was there before; what is left
// unfinished is removed with the object.
class COutputFiles {
public:
  explicit COutputFiles(std::vector<std::string> const& paths) : mPaths(paths) {}
  ~COutputFiles() { Discard(); }
  COutputFiles(COutputFiles const&) = delete;
  COutputFiles& operator=(COutputFiles const&) = delete;

  // Every temporary is made before anything is written; false, with none
  // left, when one cannot be.
  bool Create() {
    for (std::string const& path : mPaths) {
      mTemporaries.push_back(GT::CreateFileBeside(path));
      if (mTemporaries.back().empty()) {
        mTemporaries.pop_back();
        Discard();
        return false;
      }
    }
    return true;
  }
  std::vector<std::string> const& Temporaries() const { return mTemporaries; }

  // The files must be closed. Every one reaches the disk before any is put
  // in place.
  bool Commit() {
    for (std::string const& temporary : mTemporaries)
      if (!GT::SyncFile(temporary)) return false;
    for (std::size_t i = 0; i < mTemporaries.size(); ++i) {
      if (!GT::ReplaceFileWith(mPaths[i], mTemporaries[i])) {
        mTemporaries.erase(mTemporaries.begin(),
                           mTemporaries.begin() + static_cast<std::ptrdiff_t>(i));
        return false;
      }
    }
    mTemporaries.clear();
    return true;
  }

  void Discard() {
    for (std::string const& temporary : mTemporaries) std::remove(temporary.c_str());
    mTemporaries.clear();
  }

private:
  std::vector<std::string> mPaths;
  std::vector<std::string> mTemporaries;
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
// trailing part frame never writes beyond it) and counts them. False when
// the user cancelled.
template <class Input, class Output>
bool CopySamples(Input& input, Output& output, long total, UL::IProgress& progress, long& copied) {
  copied = 0;
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

// Running out of memory, however absurd the file, fails the conversion, and
// so does a stream that throws on a read error; the outputs' temporaries go
// with the unwinding.
std::vector<std::string> CConverter::Import(std::string const& source,
                                            std::string const& destinationBase) {
  SL::CSampleAttribute written;
  return Import(source, destinationBase, written);
}

std::vector<std::string> CConverter::Import(std::string const& source,
                                            std::string const& destinationBase,
                                            SL::CSampleAttribute& found) {
  try {
    return ImportFile(source, destinationBase, found);
  } catch (std::bad_alloc const&) {
  } catch (std::length_error const&) {
  } catch (std::ios_base::failure const&) {
  }
  return std::vector<std::string>();
}

bool CConverter::Export(std::vector<std::string> const& files, std::string const& destination,
                        SL::CWaveFileFormat const& format, long length, bool lofi) {
  try {
    return ExportFiles(files, destination, format, length, lofi);
  } catch (std::bad_alloc const&) {
  } catch (std::length_error const&) {
  } catch (std::ios_base::failure const&) {
  }
  return false;
}

std::vector<std::string> CConverter::ImportFile(std::string const& source,
                                                std::string const& destinationBase,
                                                SL::CSampleAttribute& found) {
  std::vector<std::string> const none;
  boost::shared_ptr<SL::IInputSampleIterator> input =
      SL::CFileSampleIteratorFactory().Create(source);
  SL::CFileInputSampleIterator<SL::nInteger16>* const typedInput =
      dynamic_cast<SL::CFileInputSampleIterator<SL::nInteger16>*>(input.get());
  if (typedInput == nullptr) return none;

  SL::CSampleAttribute const attribute = input->GetAttribute();
  int const channels = attribute.mChannelCount;
  // The device keeps mono and stereo samples only; a header claiming more
  // channels must not cost a file and a stream for each.
  if (channels < 1 || channels > 2) return none;
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

  COutputFiles written(names);
  if (!written.Create()) return none;
  boost::shared_ptr<SL::CKvacFileOutputSampleIterator> output =
      CKvacFileSampleIteratorFactory().CreateOutput(written.Temporaries());
  if (!output) return none;

  long const total = static_cast<long>(channels) * attribute.mFrameCount;
  mProgress.SetRange(total);
  mProgress.SetPosition(0);
  long copied = 0;
  if (!CopySamples(*typedInput, *output, total, mProgress, copied))
    return names;  // cancelled: nothing is put in place
  found = attribute;
  found.mFrameCount = copied / channels;

  bool const done = input->IsValid() && output->IsValid() && output->Finalize();
  output.reset();  // closes the files
  return done && written.Commit() ? names : none;
}

bool CConverter::ExportFiles(std::vector<std::string> const& files, std::string const& destination,
                             SL::CWaveFileFormat const& format, long length, bool lofi) {
  boost::shared_ptr<SL::IInputSampleIterator> input =
      CKvacFileSampleIteratorFactory().CreateInput(files, lofi, length);
  if (!input) return false;
  if (lofi) input.reset(new CSampleIteratorLofiDecorator(input));
  SL::ITypedInputSampleIterator<SL::nInteger16>& typedInput =
      dynamic_cast<SL::ITypedInputSampleIterator<SL::nInteger16>&>(*input);

  COutputFiles written(std::vector<std::string>(1, destination));
  if (!written.Create()) return false;
  boost::shared_ptr<SL::IOutputSampleIterator> output = SL::CFileSampleIteratorFactory().Create(
      input->GetAttribute(), written.Temporaries()[0], format);
  SL::CFileOutputSampleIterator<SL::nInteger16>* const typedOutput =
      dynamic_cast<SL::CFileOutputSampleIterator<SL::nInteger16>*>(output.get());
  if (typedOutput == nullptr) return false;

  SL::CSampleAttribute const& attribute = input->GetAttribute();
  long const total = attribute.mFrameCount * attribute.mChannelCount;
  mProgress.SetRange(total);
  mProgress.SetPosition(0);
  // Without the decorator the input's own class is known: its per-sample
  // calls are then made directly.
  SL::CKvacFileInputSampleIterator* const deviceInput =
      lofi ? nullptr : dynamic_cast<SL::CKvacFileInputSampleIterator*>(input.get());
  long copied = 0;
  bool const finished = deviceInput
                            ? CopySamples(*deviceInput, *typedOutput, total, mProgress, copied)
                            : CopySamples(typedInput, *typedOutput, total, mProgress, copied);
  if (!finished) return true;  // cancelled: the destination stays as it was

  bool done = input->IsValid() && output->IsValid();
  if (done) {
    done = typedOutput->mFinalizer(
        typedOutput->mAttribute, typedOutput->mStream,
        GT::CRange<long>(typedOutput->mRange.begin, typedOutput->mPosition));
    // The last sample bytes may still sit in the stream's buffer: a full
    // disk shows only now.
    done = done && typedOutput->mStream->flush().good();
  }
  output.reset();  // closes the file
  return done && written.Commit();
}

long CConverter::ComputeBpm(long frames) {
  if (frames <= 0) return Tempo::PRM_CalcCenterBPM(0, 0);
  uint32_t const clipped = frames > static_cast<long>(std::numeric_limits<uint32_t>::max())
                               ? std::numeric_limits<uint32_t>::max()
                               : static_cast<uint32_t>(frames);
  return static_cast<long>(Tempo::PRM_CalcCenterBPM(clipped, 0));
}

}  // namespace VQ7
