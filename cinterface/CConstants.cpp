// The interface constants by number, for callers of any compiler or language.
#include "TsEnvironment.h"
#include "TsEnvironmentC.h"

#include "cinterface/Boundary.h"

#include <array>

namespace {

// In the order of enum TsEnC_Constant, which the same list makes.
#define TSEN_CONSTANT_ADDRESS(number, name, spelling) &name,
const std::array<const std::string*, TSENC_CONSTANT_COUNT> kConstants = {
    TSENC_CONSTANTS(TSEN_CONSTANT_ADDRESS)};

} // namespace

TsEnC_Result TsEnC_GetConstant(int32_t constant, TsEnC_TextSink sink, void* context) {
  if (constant < 0 || constant >= TSENC_CONSTANT_COUNT) {
    return TSENC_BAD_ARGUMENT;
  }
  return tsen::c::textAnswer(sink, context,
                             [&]() -> const std::string& { return *kConstants[constant]; });
}
