// How every function of the C interface crosses the boundary: arguments
// checked before the library is called, texts handed to the caller's sink,
// answers stored, and nothing thrown.
#pragma once

#include "TsEnvironmentC.h"

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace tsen::c {

// Thrown for an argument that cannot be used, before the library is called;
// guarded answers it as TSENC_BAD_ARGUMENT.
struct BadArgument {};

// A text going in: a pointer and count, the pointer null only with a count of 0.
inline std::string textIn(const char* text, std::uint32_t length) {
  if (text == nullptr && length != 0) {
    throw BadArgument{};
  }
  return length == 0 ? std::string() : std::string(text, length);
}

// What a pointer that must not be null points to.
template <class Target> Target& required(Target* pointer) {
  if (pointer == nullptr) {
    throw BadArgument{};
  }
  return *pointer;
}

// Runs body, turning whatever it throws into a result; a body that answers
// nothing succeeds when it returns.
template <class Body> TsEnC_Result guarded(Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      return TSENC_OK;
    } else {
      return body();
    }
  } catch (const BadArgument&) {
    return TSENC_BAD_ARGUMENT;
  } catch (const std::bad_alloc&) {
    return TSENC_NO_MEMORY;
  } catch (const std::length_error&) {
    return TSENC_TOO_LONG;
  } catch (...) {
    return TSENC_FAILED;
  }
}

inline TsEnC_Result handOut(TsEnC_TextSink sink, void* context, const std::string& text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    return TSENC_TOO_LONG;
  }
  return sink(context, text.c_str(), static_cast<std::uint32_t>(text.size())) == 0 ? TSENC_OK
                                                                                   : TSENC_REFUSED;
}

// Hands the text that find answers to sink.
template <class Find>
TsEnC_Result textAnswer(TsEnC_TextSink sink, void* context, Find&& find) noexcept {
  if (sink == nullptr) {
    return TSENC_BAD_ARGUMENT;
  }
  return guarded([&] { return handOut(sink, context, find()); });
}

// Stores what find answers in *answer.
template <class Answer, class Find> TsEnC_Result valueAnswer(Answer* answer, Find&& find) noexcept {
  if (answer == nullptr) {
    return TSENC_BAD_ARGUMENT;
  }
  return guarded([&] {
    *answer = static_cast<Answer>(find());
    return TSENC_OK;
  });
}

} // namespace tsen::c
