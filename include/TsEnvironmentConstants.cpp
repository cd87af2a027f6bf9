// The texts the library shares with the suite's modules.
#include "TsEnvironment.h"

#define TSEN_DEFINE_CONSTANT(number, name, spelling) const std::string name = spelling;
TSENC_CONSTANTS(TSEN_DEFINE_CONSTANT)
