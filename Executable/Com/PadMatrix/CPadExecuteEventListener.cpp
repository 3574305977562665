#include "Executable/Com/PadMatrix/CPadExecuteEventListener.h"

#include "Executable/Com/Controller/CController.h"
#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Playback/CPlayer.h"

#include <string>
#include <vector>

namespace VQ7 {

CPadExecuteEventListener::CPadExecuteEventListener(CController& controller, CPlayer& player)
    : mController(controller), mPlayer(player) {}

void CPadExecuteEventListener::Handle(APad& pad) {
  long const bank = mController.GetCurrentBankId();
  long const id = pad.mId;
  if (!mController.IsPadValid(id)) return;
  CModel& model = mController.Model();
  CSampleParameter const parameter = model.SampleParameter(bank, id);
  std::vector<std::string> files(1, model.GetSampleFilePathNameL(bank, id));
  if (parameter.mStereo) files.push_back(model.GetSampleFilePathNameR(bank, id));
  bool const lofi = parameter.mLofi == 1;
  long const length = lofi ? 2L * parameter.mLength : parameter.mLength;
  mPlayer.PlayKvacWave(files, lofi, length);
}

}  // namespace VQ7
