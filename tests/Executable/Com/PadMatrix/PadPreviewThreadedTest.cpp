// A double press on a pad as the pad listeners handle it: what reaches the
// virtual output for stereo, lofi and stereo lofi samples on the card.

#include "Executable/Com/PadMatrix/CPadFactory.h"
#include "Executable/Com/PadMatrix/CPadMatrix.h"
#include "Executable/Com/PadMatrix/IPadContainerView.h"
#include "Executable/Com/PadMatrix/CPadExecuteEventListener.h"
#include "Executable/Com/PadMatrix/CPadSelectionEventListener.h"
#include "Executable/Com/Playback/CPlayer.h"

#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"
#include "Support/FakePadPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

namespace {

// Writes pad `pad` of bank 0: its record (length, lofi, stereo) and its
// coded files, `frames` frames per channel at `bits` bits; returns the
// samples, interleaved.
std::vector<int16_t> PutSample(std::string const& folder, int pad, uint32_t length, bool lofi,
                               bool stereo) {
  int const channels = stereo ? 2 : 1;
  std::size_t const frames = lofi ? 2 * length : length;  // lofi files hold twice the length
  int const bits = lofi ? 4 : 8;
  std::vector<int16_t> const signal = VQ7Test::TestSignal(frames, channels);
  std::vector<std::vector<int16_t> > decoded;
  for (int c = 0; c < channels; ++c) {
    std::vector<unsigned char> const coded = VQ7Test::EncodeChannel(signal, channels, c, bits);
    char name[32];
    std::snprintf(name, sizeof name, "/SMP%04X%c.VQD", pad, c == 0 ? 'L' : 'R');
    std::ofstream(folder + name, std::ios::binary)
        .write(reinterpret_cast<char const*>(coded.data()), static_cast<long>(coded.size()));
    decoded.push_back(VQ7Test::DecodeChannel(coded, frames, bits));
  }
  std::fstream info(folder + "/WVCINFO0.VQD", std::ios::in | std::ios::out | std::ios::binary);
  unsigned char const record[6] = {
      static_cast<unsigned char>(length >> 24), static_cast<unsigned char>(length >> 16),
      static_cast<unsigned char>(length >> 8),  static_cast<unsigned char>(length),
      static_cast<unsigned char>(lofi ? 1 : 0), static_cast<unsigned char>(stereo ? 1 : 0)};
  info.seekp(23 * pad + 8);
  info.write(reinterpret_cast<char const*>(record), sizeof record);
  return VQ7Test::Interleave(decoded);
}

// What the device must receive: stereo float, mono given to both channels,
// lofi holding the first frame of every four for four frames.
std::vector<float> Heard(std::vector<int16_t> const& samples, bool lofi, bool stereo) {
  int const channels = stereo ? 2 : 1;
  std::size_t const frames = samples.size() / channels;
  std::vector<float> out;
  for (std::size_t f = 0; f < frames; ++f) {
    std::size_t const from = lofi ? f - f % 4 : f;
    for (int c = 0; c < 2; ++c)
      out.push_back(static_cast<float>(samples[from * channels + c % channels]) / 32767.0f);
  }
  return out;
}

// A null view: the pads redraw nowhere.
struct CNoView : VQ7::IPadContainerView {
  void Invalidate(GT::CRectT<long> const&, bool) override {}
};

TEST(PadPreviewThreaded, StereoAndLofiPadsReachTheOutputAsTheyPlay) {
  struct {
    int pad;
    uint32_t length;
    bool lofi;
    bool stereo;
  } const cases[] = {{1, 3001, false, true}, {2, 2001, true, false}, {15, 1000, true, true}};
  AudioLayer::CVirtualAudio audio;
  VQ7Test::CCardBench bench(boost::make_shared<SL::CCaAudioDeviceFacade>());
  std::vector<std::vector<float> > heard;
  for (auto const& c : cases)
    heard.push_back(
        Heard(PutSample(bench.Folder(), c.pad, c.length, c.lofi, c.stereo), c.lofi, c.stereo));
  ASSERT_TRUE(bench.Open(0, 0));
  VQ7::CPlayer& player = bench.mDomain.Player();
  Support::CFakePadPictures::Install();
  CNoView view;
  VQ7::CPadMatrix matrix(4, 4, GT::CPointT<long>(5, 5), GT::CSizeT<long>(10, 10));
  matrix.Initialize(
      view, GT::CPointT<long>(0, 0), boost::shared_ptr<VQ7::IPadFactory>(new VQ7::CPadFactory),
      boost::make_shared<VQ7::CPadSelectionEventListener>(bench.Controller(), player), nullptr,
      nullptr, boost::make_shared<VQ7::CPadExecuteEventListener>(bench.Controller(), player));
  matrix.SetEnabled(true);
  auto const doublePress = [&](long id) {
    GT::CRectT<long> const r = matrix.GetPad(matrix.RowOf(id), matrix.ColumnOf(id))->GetRectangle();
    matrix.Handle(UL::CMouseEvent(
        boost::any(),
        UL::CMouseInfo(UL::CMouseInfo::DoubleClick, GT::CPointT<long>(r.left, r.top), 0)));
  };
  auto const playOut = [&] {
    for (int wait = 0; wait < 1000 && player.IsPlaying(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return audio.Output().WaitUntilIdle(std::chrono::milliseconds(5000));
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].pad);
    audio.Output().ClearOutput();
    doublePress(cases[i].pad);
    EXPECT_EQ(cases[i].pad, bench.Controller().GetCurrentPadId());
    ASSERT_TRUE(player.IsPlaying());
    ASSERT_TRUE(playOut());
    std::vector<float> played = audio.Output().GetOutput();
    ASSERT_GE(played.size(), heard[i].size());
    EXPECT_TRUE(std::all_of(played.begin() + static_cast<long>(heard[i].size()), played.end(),
                            [](float f) { return f == 0.0f; }));
    played.resize(heard[i].size());
    EXPECT_EQ(heard[i], played);
  }

  // A double press while another pad plays: that one stops, this one plays whole.
  audio.Output().ClearOutput();
  doublePress(1);
  ASSERT_TRUE(player.IsPlaying());
  doublePress(15);
  EXPECT_TRUE(player.IsPlaying());
  ASSERT_TRUE(playOut());
  std::vector<float> const played = audio.Output().GetOutput();
  EXPECT_NE(played.end(),
            std::search(played.begin(), played.end(), heard[2].begin(), heard[2].end()));
  EXPECT_TRUE(bench.Messages().empty());
}

}  // namespace
