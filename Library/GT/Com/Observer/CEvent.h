#pragma once

#include <boost/any.hpp>

namespace GT {

// Base of events; owns a copy of the event's source.
class CEvent {
public:
  explicit CEvent(boost::any const& source) : mSource(source) {}
  virtual ~CEvent() {}

  boost::any const& GetSource() const { return mSource; }

private:
  boost::any mSource;
};

}  // namespace GT
