#include "GT/Com/Observer/CMvcObservableComponent.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct CRecorder : GT::IMvcObserver {
  CRecorder(int i, std::vector<std::string>* l) : id(i), log(l) {}
  void Update(boost::any const& a, boost::any const& b, boost::any const& c) override {
    log->push_back(std::to_string(id) + ":" + std::to_string(boost::any_cast<int>(a)) +
                   boost::any_cast<std::string>(b) + (c.empty() ? "" : "!"));
    if (onUpdate) onUpdate();
  }
  int id;
  std::vector<std::string>* log;
  std::function<void()> onUpdate;
};

}  // namespace

TEST(CMvcObservableComponent, NotifiesLiveObserversInOrder) {
  std::vector<std::string> log;
  GT::CMvcObservableComponent observers;
  observers.NotifyObservers(1, std::string("x"), boost::any());
  EXPECT_TRUE(log.empty());

  auto first = boost::make_shared<CRecorder>(1, &log);
  auto second = boost::make_shared<CRecorder>(2, &log);
  auto third = boost::make_shared<CRecorder>(3, &log);
  observers.Add(first, 0);
  observers.Add(second, 0);
  observers.Add(third, 0);
  observers.NotifyObservers(7, std::string("a"), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"1:7a!", "2:7a!", "3:7a!"}));
}

TEST(CMvcObservableComponent, ObserverDestroyedDuringNotificationIsSkipped) {
  std::vector<std::string> log;
  GT::CMvcObservableComponent observers;
  auto first = boost::make_shared<CRecorder>(1, &log);
  auto second = boost::make_shared<CRecorder>(2, &log);
  auto third = boost::make_shared<CRecorder>(3, &log);
  observers.Add(first, 0);
  observers.Add(second, 0);
  observers.Add(third, 0);
  first->onUpdate = [&second] { second.reset(); };
  observers.NotifyObservers(0, std::string(), boost::any());
  EXPECT_EQ(log, (std::vector<std::string>{"1:0", "3:0"}));
}

TEST(CMvcObservableComponent, ObserverStaysAliveThroughItsOwnUpdate) {
  std::vector<std::string> log;
  GT::CMvcObservableComponent observers;
  auto self = boost::make_shared<CRecorder>(1, &log);
  boost::weak_ptr<CRecorder> watch(self);
  bool aliveAfterReset = false;
  self->onUpdate = [&] {
    self.reset();
    aliveAfterReset = !watch.expired();
  };
  observers.Add(self, 0);
  observers.NotifyObservers(0, std::string(), boost::any());
  EXPECT_TRUE(aliveAfterReset);
  EXPECT_TRUE(watch.expired());
  EXPECT_TRUE(observers.IsEmpty());
}
