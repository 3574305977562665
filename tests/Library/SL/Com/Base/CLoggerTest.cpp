#include "SL/Com/Base/CLogger.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class CRecordingPrinter : public SL::CGeneralStringBuffer::IPrinter {
public:
  std::vector<std::string> mTexts;
  int mThrowsLeft = 0;
  void Print(std::string const& text) override {
    if (mThrowsLeft > 0) {
      --mThrowsLeft;
      throw std::runtime_error("printer fails");
    }
    mTexts.push_back(text);
  }
};

class CLoggerTest : public ::testing::Test {
protected:
  void SetUp() override { SL::CLogger::Clear(); }
  void TearDown() override { SL::CLogger::Clear(); }
};

}  // namespace

TEST_F(CLoggerTest, PendingTextOfAReleasedLoggerReachesItsPrinter) {
  auto printer = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  SL::CLogger::Push(printer);
  SL::CLogger::Instance() << "pending";
  SL::CLogger::Pop();
  ASSERT_EQ(1u, printer->mTexts.size());
  EXPECT_EQ("pending", printer->mTexts[0]);
  // The logger keeps its printer alive until its buffer has printed.
  std::vector<std::string> texts;
  {
    class CForwardingPrinter : public SL::CGeneralStringBuffer::IPrinter {
    public:
      explicit CForwardingPrinter(std::vector<std::string>& texts) : mTexts(texts) {}
      void Print(std::string const& text) override { mTexts.push_back(text); }
      std::vector<std::string>& mTexts;
    };
    SL::CLogger::Push(boost::shared_ptr<CForwardingPrinter>(new CForwardingPrinter(texts)));
  }
  SL::CLogger::Instance() << "last words";
  SL::CLogger::Clear();
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ("last words", texts[0]);
}

TEST_F(CLoggerTest, ThrowingPrinterKeepsTextPendingAndLoggerUsable) {
  auto printer = boost::shared_ptr<CRecordingPrinter>(new CRecordingPrinter);
  printer->mThrowsLeft = 1;
  SL::CLogger::Push(printer);
  SL::CLogger::Instance() << "first" << std::endl;
  EXPECT_TRUE(printer->mTexts.empty());
  SL::CLogger::Instance() << "second" << std::endl;
  ASSERT_EQ(1u, printer->mTexts.size());
  EXPECT_EQ("first\nsecond\n", printer->mTexts[0]);
  // A printer still failing when its logger goes does not take the process down.
  printer->mThrowsLeft = 5;
  SL::CLogger::Instance() << "gone";
  SL::CLogger::Clear();
}
