// The file dialogs' callback: which handler each selector and event reaches,
// what it ignores, and that nothing thrown in a handler leaves it; the byte
// counts the dialogs show.

#include "Executable/Linux/FileDialog/CFileDialogBase.h"
#include "Platform/Framework/LException.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace {

// Records the handlers reached; throws from them on request.
class CRecorder : public CFileDialogBase {
public:
  CRecorder() : CFileDialogBase(1000, 400, 157) {}
  std::string GetStaticText(short) const override { return std::string(); }
  void HandleUpdate(NavDialogRef, DialogRef, EventRecord*) override { Reached("update"); }
  void HandleMouseDown(NavDialogRef, DialogRef, EventRecord*) override { Reached("press"); }
  void HandleNavEvent(NavDialogRef context, DialogRef dialog, NavEventCallbackMessage selector,
                      NavCBRec* params) override {
    if (selector == nNavCustomize)
      CFileDialogBase::HandleNavEvent(context, dialog, selector, params);
    Reached("nav " + std::to_string(selector));
  }
  void Reached(std::string const& what) {
    mSeen += (mSeen.empty() ? "" : ",") + what;
    if (mThrow == 1) throw LException(err_Assertion, "test");
    if (mThrow == 2) throw std::runtime_error("test");
    if (mThrow == 3) throw 7;
  }
  std::string mSeen;
  int mThrow = 0;  // 1 the framework's exception, 2 a standard one, 3 anything else
};

struct CDispatch {
  NavEventCallbackMessage selector;
  uint16_t what;
  uint32_t message;
  char const* seen;
};

TEST(FileDialogCallback, EachSelectorAndEventReachesItsHandlerAndNothingEscapes) {
  Support::GuiApplication();
  UNavServicesDialogs::LFileChooser chooser;
  LNavCustomArea area(&chooser);
  CDispatch const table[] = {
      {nNavEvent, nEventUpdate, 0, "update"},
      {nNavEvent, nEventMouseDown, 0, "press"},
      {nNavEvent, nEventNull, 0, ""},
      {nNavEvent, nEventKeyDown, 0, ""},
      {nNavEvent, 15, 0x01000000u, ""},  // suspend or resume: dropped
      {nNavCustomize, 0, 0, "nav 1"},
      {nNavStart, 0, 0, "nav 2"},
      {nNavTerminate, 0, 0, "nav 3"},
      {nNavAdjustRect, 0, 0, "nav 4"},
      {5, 0, 0, "nav 5"},
      {nNavSelectEntry, 0, 0, "nav 7"},
  };
  for (CDispatch const& row : table)
    for (int fault = 0; fault <= 3; ++fault) {
      SCOPED_TRACE(std::to_string(row.selector) + "/" + std::to_string(row.what) + " throwing " +
                   std::to_string(fault));
      CRecorder recorder;
      recorder.mThrow = fault;
      NavCBRec params;
      params.context = &chooser;
      params.window = &area;
      params.event.what = row.what;
      params.event.message = row.message;
      EXPECT_NO_THROW(CFileDialogBase::NavEventProc(row.selector, &params,
                                                    static_cast<CFileDialogBase*>(&recorder)));
      EXPECT_EQ(row.seen, recorder.mSeen);
      // No user data, or no window: nothing is reached.
      NavCBRec windowless = params;
      windowless.window = nullptr;
      EXPECT_NO_THROW(CFileDialogBase::NavEventProc(row.selector, &params, nullptr));
      EXPECT_NO_THROW(CFileDialogBase::NavEventProc(row.selector, &windowless, &recorder));
      EXPECT_EQ(row.seen, recorder.mSeen);
    }
}

TEST(FileDialogCallback, CustomizeProposesTheAreaSizeWhereTheDialogLeavesItOpen) {
  Support::GuiApplication();
  UNavServicesDialogs::LFileChooser chooser;
  LNavCustomArea area(&chooser);
  struct {
    QRect proposed, used;
  } const cases[] = {
      {QRect(0, 0, 0, 0), QRect(0, 0, 400, 157)},
      {QRect(10, 20, 0, 0), QRect(10, 20, 400, 157)},
      {QRect(0, 0, 500, 0), QRect(0, 0, 500, 157)},
      {QRect(0, 0, 0, 90), QRect(0, 0, 400, 90)},
  };
  for (auto const& c : cases) {
    CRecorder recorder;
    NavCBRec params;
    params.context = &chooser;
    params.window = &area;
    params.customRect = c.proposed;
    CFileDialogBase::NavEventProc(nNavCustomize, &params, static_cast<CFileDialogBase*>(&recorder));
    EXPECT_EQ(c.used, params.customRect);
  }
}

TEST(FileDialogByteSize, DigitsAreGroupedByThreesWithCommas) {
  struct {
    unsigned long long value;
    char const* text;
  } const cases[] = {
      {0, "0"},
      {7, "7"},
      {100, "100"},
      {999, "999"},
      {1000, "1,000"},
      {65536, "65,536"},
      {999999, "999,999"},
      {1234567, "1,234,567"},
      {std::numeric_limits<uint64_t>::max(), "18,446,744,073,709,551,615"},
  };
  for (auto const& c : cases) EXPECT_EQ(c.text, CFileDialogBase::GetByteSizeStr(c.value));
  EXPECT_EQ(26u, CFileDialogBase::GetByteSizeStr(std::numeric_limits<uint64_t>::max()).size());
}

}  // namespace
