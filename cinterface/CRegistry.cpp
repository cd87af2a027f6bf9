// The registry accessor for callers of any compiler or language. A handle is
// the state that TsEnWinRegistry copies share, so handle copies share one key
// exactly as the class's copies do, through the same operations.
#include "TsEnvironmentC.h"

#include "cinterface/Boundary.h"
#include "registry/WinRegistryState.h"

namespace registry = tsen::registry;
using tsen::c::guarded;
using tsen::c::handOut;
using tsen::c::required;
using tsen::c::textIn;
using tsen::c::valueAnswer;

TsEnC_Result TsEnC_RegistryNew(TsEnC_Registry** handle) {
  return valueAnswer(handle, registry::newState);
}

TsEnC_Result TsEnC_RegistryCopy(TsEnC_Registry* source, TsEnC_Registry** copy) {
  return valueAnswer(copy, [&] {
    registry::share(required(source));
    return source;
  });
}

TsEnC_Result TsEnC_RegistryRelease(TsEnC_Registry* handle) {
  if (handle != nullptr) {
    registry::release(handle);
  }
  return TSENC_OK;
}

TsEnC_Result TsEnC_RegistryCreate(TsEnC_Registry* handle, struct HKEY__* root, const char* keyName,
                                  uint32_t keyNameLength, int32_t* succeeded) {
  return valueAnswer(succeeded, [&] {
    return registry::create(required(handle), root, textIn(keyName, keyNameLength));
  });
}

TsEnC_Result TsEnC_RegistryOpenKey(TsEnC_Registry* handle, struct HKEY__* root, const char* keyName,
                                   uint32_t keyNameLength, int32_t create, int32_t* succeeded) {
  return valueAnswer(succeeded, [&] {
    return registry::openKey(required(handle), root, textIn(keyName, keyNameLength), create != 0);
  });
}

TsEnC_Result TsEnC_RegistryReadLong(TsEnC_Registry* handle, const char* valueName,
                                    uint32_t valueNameLength, int32_t* value, int32_t* succeeded) {
  return valueAnswer(succeeded, [&] {
    TsEnLong read = required(value);
    const bool found =
        registry::readLong(required(handle), textIn(valueName, valueNameLength), read);
    *value = read;
    return found;
  });
}

TsEnC_Result TsEnC_RegistryReadString(TsEnC_Registry* handle, const char* valueName,
                                      uint32_t valueNameLength, TsEnC_TextSink sink, void* context,
                                      int32_t* succeeded) {
  if (sink == nullptr || succeeded == nullptr) {
    return TSENC_BAD_ARGUMENT;
  }
  return guarded([&] {
    std::string value;
    if (!registry::readString(required(handle), textIn(valueName, valueNameLength), value)) {
      *succeeded = 0;
      return TSENC_OK;
    }
    const TsEnC_Result handed = handOut(sink, context, value);
    if (handed == TSENC_OK) {
      *succeeded = 1;
    }
    return handed;
  });
}

TsEnC_Result TsEnC_RegistryWriteLong(TsEnC_Registry* handle, const char* valueName,
                                     uint32_t valueNameLength, int32_t value, int32_t* succeeded) {
  return valueAnswer(succeeded, [&] {
    return registry::writeLong(required(handle), textIn(valueName, valueNameLength), value);
  });
}

TsEnC_Result TsEnC_RegistryWriteString(TsEnC_Registry* handle, const char* valueName,
                                       uint32_t valueNameLength, const char* value,
                                       uint32_t valueLength, int32_t* succeeded) {
  return valueAnswer(succeeded, [&] {
    return registry::writeString(required(handle), textIn(valueName, valueNameLength),
                                 textIn(value, valueLength));
  });
}
