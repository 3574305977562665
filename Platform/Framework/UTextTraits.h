#pragma once

#include "Platform/Framework/FrameworkTypes.h"

#include <QFont>

// Text traits of the resource file: a text size and weight, named by id.
class UTextTraits {
public:
  // The font of traits `id` made from `base` (its family kept); `base` as it
  // is when there are no such traits.
  static QFont GetFont(ResIDT id, QFont const& base);
};
