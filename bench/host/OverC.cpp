// The application folder as a module of another toolchain gets it: through
// the header's inline definitions over the C interface.
#include "TsEnvironment.h"

#if !TSEN_USE_C_INTERFACE
#error "built over the C interface"
#endif

__attribute__((noinline)) std::string appPathOverC() {
  return TsEnGetAppPath();
}
