#pragma once

#include <boost/shared_ptr.hpp>

#include "SL/Com/Wave/IDomain.h"

namespace SL {

// The process-wide domain; the default one is created on first use.
IDomain& Domain();
// Installs a new default domain.
void InitializeDomain();
// Installs the given domain (shared).
void InitializeDomain(boost::shared_ptr<IDomain> domain);

}  // namespace SL
