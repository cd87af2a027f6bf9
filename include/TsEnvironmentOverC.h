// The declarations of TsEnvironment.h defined inline over the plain C
// interface, for toolchains whose C++ ABI is not the library's; included by
// TsEnvironment.h. A failure of the C interface becomes the exception the
// direct interface would let through: std::bad_alloc, or std::length_error
// for a text of 4 GiB or more.
#pragma once

#include "TsEnvironmentC.h"

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>

namespace TsEnOverC {

// The sink of every text: assigns it to the std::string that context points to.
inline std::int32_t keep(void* context, const char* text, std::uint32_t length) noexcept {
  try {
    static_cast<std::string*>(context)->assign(text, length);
    return 0;
  } catch (...) {
    return 1;
  }
}

inline void check(TsEnC_Result result) {
  if (result == TSENC_TOO_LONG) {
    throw std::length_error("Tessaline.Environment: text of 4 GiB or more");
  }
  if (result != TSENC_OK) {
    throw std::bad_alloc();
  }
}

// The C arguments of one argument: a text is its pointer and length.
template <class Argument> std::tuple<Argument> in(const Argument& argument) {
  return std::tuple<Argument>(argument);
}
inline std::tuple<const char*, std::uint32_t> in(const std::string& text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    check(TSENC_TOO_LONG);
  }
  return {text.data(), static_cast<std::uint32_t>(text.size())};
}

template <class Function, class... Arguments>
void call(Function function, const Arguments&... arguments) {
  check(std::apply(function, std::tuple_cat(in(arguments)...)));
}

// Apart from over, so that the text is built in place of the answer.
template <class Function, class... Arguments>
std::string text(Function function, const Arguments&... arguments) {
  std::string answer;
  call(function, arguments..., &keep, &answer);
  return answer;
}

// function(arguments..., then where the answer goes), answered as Answer.
template <class Answer, class Function, class... Arguments>
Answer over(Function function, const Arguments&... arguments) {
  if constexpr (std::is_same_v<Answer, std::string>) {
    return text(function, arguments...);
  } else if constexpr (std::is_void_v<Answer>) {
    call(function, arguments...);
  } else {
    std::conditional_t<std::is_same_v<Answer, bool>, std::int32_t, Answer> answer{};
    call(function, arguments..., &answer);
    return static_cast<Answer>(answer);
  }
}

} // namespace TsEnOverC

#define TSEN_FUNCTION(Answer, name, parameters, ...)                                               \
  inline Answer name parameters {                                                                  \
    return TsEnOverC::over<Answer>(__VA_ARGS__);                                                   \
  }

// Named apart from the library's own, which a program may see beside them.
#define TSEN_CONSTANT(number, name, spelling)                                                      \
  namespace TsEnOverC::constants {                                                                 \
  inline const std::string name = TsEnOverC::over<std::string>(TsEnC_GetConstant, number);         \
  }                                                                                                \
  using TsEnOverC::constants::name;

// ---- Registry accessor: the handle is the state that copies share ----------

inline TsEnWinRegistry::TsEnWinRegistry() : state_(nullptr) {
  TsEnOverC::check(TsEnC_RegistryNew(&state_));
}

inline TsEnWinRegistry::TsEnWinRegistry(const TsEnWinRegistry& other) : state_(nullptr) {
  TsEnOverC::check(TsEnC_RegistryCopy(other.state_, &state_));
}

inline TsEnWinRegistry& TsEnWinRegistry::operator=(const TsEnWinRegistry& other) {
  TsEnWinRegistryState* shared = nullptr;
  TsEnOverC::check(TsEnC_RegistryCopy(other.state_, &shared));
  TsEnC_RegistryRelease(state_);
  state_ = shared;
  return *this;
}

inline TsEnWinRegistry::~TsEnWinRegistry() {
  TsEnC_RegistryRelease(state_);
}

// The sink is called, and value assigned, only when a read succeeds.
TSEN_FUNCTION(bool, TsEnWinRegistry::Create, (HKEY root, std::string keyName), TsEnC_RegistryCreate,
              state_, root, keyName)
TSEN_FUNCTION(bool, TsEnWinRegistry::OpenKey, (HKEY root, std::string keyName, bool create),
              TsEnC_RegistryOpenKey, state_, root, keyName, create)
TSEN_FUNCTION(bool, TsEnWinRegistry::ReadString, (std::string valueName, std::string& value),
              TsEnC_RegistryReadString, state_, valueName, &TsEnOverC::keep, &value)
TSEN_FUNCTION(bool, TsEnWinRegistry::WriteLong, (std::string valueName, TsEnLong value),
              TsEnC_RegistryWriteLong, state_, valueName, static_cast<std::int32_t>(value))
TSEN_FUNCTION(bool, TsEnWinRegistry::WriteString, (std::string valueName, std::string value),
              TsEnC_RegistryWriteString, state_, valueName, value)

inline bool TsEnWinRegistry::ReadLong(std::string valueName, TsEnLong& value) {
  std::int32_t read = value;
  const bool found = TsEnOverC::over<bool>(TsEnC_RegistryReadLong, state_, valueName, &read);
  value = read;
  return found;
}
