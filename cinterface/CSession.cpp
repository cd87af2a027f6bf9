// The session functions and the command log for callers of any compiler or
// language: each calls the function of the same name.
#include "TsEnvironment.h"
#include "TsEnvironmentC.h"

#include "cinterface/Boundary.h"

using tsen::c::done;
using tsen::c::isText;
using tsen::c::textAnswer;
using tsen::c::textIn;
using tsen::c::valueAnswer;

TsEnC_Result TsEnC_GetActiveTessalineDomain(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, getActiveTessalineDomain);
}

TsEnC_Result TsEnC_GetLastTessalineCommand(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, getLastTessalineCommand);
}

TsEnC_Result TsEnC_SetActiveTessalineDomain(const char* domain, uint32_t domainLength,
                                            int32_t* stored) {
  if (!isText(domain, domainLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return valueAnswer(stored,
                     [&] { return setActiveTessalineDomain(textIn(domain, domainLength)); });
}

TsEnC_Result TsEnC_SetLastTessalineCommand(const char* command, uint32_t commandLength,
                                           int32_t* stored) {
  if (!isText(command, commandLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return valueAnswer(stored,
                     [&] { return setLastTessalineCommand(textIn(command, commandLength)); });
}

TsEnC_Result TsEnC_SetLastTessalineCommandInDomain(const char* command, uint32_t commandLength,
                                                   const char* domain, uint32_t domainLength,
                                                   int32_t* stored) {
  if (!isText(command, commandLength) || !isText(domain, domainLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return valueAnswer(stored, [&] {
    return setLastTessalineCommand(textIn(command, commandLength), textIn(domain, domainLength));
  });
}

TsEnC_Result TsEnC_LogCommandInfo(const char* command, uint32_t commandLength, const char* domain,
                                  uint32_t domainLength, const char* info, uint32_t infoLength) {
  if (!isText(command, commandLength) || !isText(domain, domainLength) ||
      !isText(info, infoLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return done([&] {
    LogCommandInfo(textIn(command, commandLength), textIn(domain, domainLength),
                   textIn(info, infoLength));
  });
}
