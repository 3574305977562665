// The preview player on the virtual output device.

#include "Executable/Com/Playback/CPlayer.h"

#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"
#include "Support/CardFixture.h"
#include "Support/DeviceCoding.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <thread>

TEST(CPlayerThreaded, PadsAndFilesPlayOnTheDefaultOutputAndRefusalsAreReported) {
  AudioLayer::CVirtualAudio audio;
  VQ7Test::CCardBench bench(boost::make_shared<SL::CCaAudioDeviceFacade>());
  VQ7::CPlayer& player = bench.mDomain.Player();
  std::string const sox = "-r 44100 -n -c 1 -b ";
  std::string const mono = bench.MakeWave("m.wav", sox + "16 synth 4000s sine 80");
  ASSERT_TRUE(bench.Open(0, 0) && bench.Controller().Import(mono));
  std::string const file = bench.Folder() + "/SMP0000L.VQD";

  player.PlayKvacWave({file}, false, 4000);
  ASSERT_TRUE(player.IsPlaying());
  player.PlayLinearWave(bench.mDir / "missing.wav");  // ignored while playing
  for (int wait = 0; wait < 1000 && player.IsPlaying(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(audio.Output().WaitUntilIdle(std::chrono::milliseconds(5000)));
  std::vector<float> expected;
  for (int16_t s : VQ7Test::DecodeChannel(VQ7Test::Bytes(file), 4000, 8))
    expected.insert(expected.end(), 2, s / 32767.0f);
  std::vector<float> played = audio.Output().GetOutput();
  played.resize(expected.size());  // then the silence of the last buffer
  EXPECT_EQ(expected, played);
  player.PlayLinearWave(bench.MakeWave("l.wav", sox + "16 synth 10 sine 80"));
  EXPECT_TRUE(player.IsPlaying());
  player.Stop();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_TRUE(bench.Messages().empty());

  std::string const fifo = bench.mDir / "fifo.wav";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  for (std::string const& path :
       {bench.mDir / "missing.wav", fifo, bench.MakeWave("w.wav", sox + "24 synth 400s sine 80"),
        bench.MakeWave("c.wav", "-r 44100 -n -c 80 synth 100s sine 80")})
    player.PlayLinearWave(path);
  player.PlayKvacWave({bench.Folder() + "/SMP0001L.VQD"}, false, 100);
  audio.RemoveAllDevices();
  player.SetDeviceFacade(boost::make_shared<SL::CCaAudioDeviceFacade>());  // no device at all
  player.PlayLinearWave(mono);
  std::vector<std::string> messages(4, VQ7::CDomain::sTextCodeTable.ToText(VQ7::WaveLoadFailed));
  messages.insert(messages.end(), 2, "Playback failed.");
  EXPECT_EQ(messages, bench.Messages());
  player.SetDeviceBufferTime(1e300);
  EXPECT_EQ(0.06, player.GetDeviceBufferTime()) << "a bad time leaves the time as it was";
}
