// The volume popup's handling of mount and unmount events: only the chosen
// volume's are told, and every event goes on to other handlers.

#include "Executable/Linux/MainWindow/CVolumePopup.h"

#include "Executable/Linux/Volume/CVolumeLister.h"
#include "Platform/Framework/LListener.h"
#include "Platform/Framework/LStream.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

namespace {

struct CCountingListener : LListener {
  void ListenToMessage(MessageT message, void*) override {
    mMessages += message == FourChar("Vpop");
  }
  int mMessages = 0;
};

std::string Line(long id, std::string const& point) {
  return std::to_string(id) + " 1 0:1 / " + point + " rw - tmpfs x rw\n";
}

}  // namespace

TEST(CVolumePopupTest, HandleVolumeEventTellsOnlyOfTheChosenVolume) {
  Support::GuiApplication();
  Support::LoadAppResources();
  std::string const card = "/media/CARD", stick = "/media/STICK";
  std::string table = Line(40, card) + Line(41, stick);
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>(new VQ7::CVolumeLister(
      [&table] { return table; }, [](std::string const&) { return 1u << 30; }, {"/media"})));
  typedef CVolumePopup::CVolumeEvent E;
  {
    LStream stream(QJsonObject{{"id", "Vpop"}}, QJsonObject());
    CVolumePopup popup(&stream);
    CCountingListener listener;
    popup.AddListener(&listener);
    popup.SetupVolumeMenu(card.c_str());
    ASSERT_EQ(40, popup.GetVolumeRefNum());
    struct {
      char const* what;
      std::string table;  // the mounts when the event comes
      E event;
      int told;
      long refNumAfter;
    } const steps[] = {
        {"another volume goes", Line(40, card), {E::Unmounted, 41}, 0, 40},
        {"the card goes", "", {E::Unmounted, 40}, 1, 40},
        {"another volume comes", Line(41, stick), {E::Mounted, 41}, 0, 40},
        {"one gone before its event is handled", Line(41, stick), {E::Mounted, 42}, 0, 40},
        {"the card comes back", Line(41, stick) + Line(57, card), {E::Mounted, 57}, 1, 57},
        {"the old card's number", Line(41, stick) + Line(57, card), {E::Unmounted, 40}, 0, 57},
        {"no volume", Line(41, stick) + Line(57, card), {E::Unmounted, 0}, 0, 57},
    };
    for (auto const& step : steps) {
      table = step.table;
      listener.mMessages = 0;
      EXPECT_EQ(err_NotHandled, popup.HandleVolumeEvent(step.event)) << step.what;
      EXPECT_EQ(step.told, listener.mMessages) << step.what;
      EXPECT_EQ(step.refNumAfter, popup.GetVolumeRefNum()) << step.what;
      EXPECT_EQ(card, popup.GetVolumePath()) << step.what;
    }

    // With no volume chosen, nothing concerns it.
    popup.SetupVolumeMenu("/media/NONE");
    popup.SetValue(0);
    ASSERT_EQ(0, popup.GetVolumeRefNum());
    listener.mMessages = 0;
    for (E const event : {E{E::Unmounted, 0}, E{E::Unmounted, 57}, E{E::Mounted, 57}})
      EXPECT_EQ(err_NotHandled, popup.HandleVolumeEvent(event));
    EXPECT_EQ(0, listener.mMessages);
  }
  VQ7::CVolumeLister::SetDefault(boost::shared_ptr<VQ7::CVolumeLister>());
}
