// Lines as the C runtime's text mode on Windows hands them out: at most 1023
// characters a piece, the line feed kept when it fits, a carriage return before
// a line feed dropped, Ctrl-Z ending the file. Read in binary mode and folded
// here, so every build reads the same bytes the same way.
#pragma once

#include "support/UniqueFile.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace tsen {

class TextLines {
public:
  // file is read from where it stands; open it in binary mode.
  explicit TextLines(UniqueFile file) : file_(std::move(file)) {}

  bool isOpen() const noexcept { return file_ != nullptr; }

  // The next piece of the file; false at its end or on a read error.
  bool next(std::string_view& line) {
    if (!file_ || ended_ ||
        std::fgets(buffer_.data(), static_cast<int>(buffer_.size()), file_.get()) == nullptr) {
      return false;
    }
    std::size_t length = std::strlen(buffer_.data());
    if (const void* end = std::memchr(buffer_.data(), '\x1A', length)) {
      length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer_.data());
      ended_ = true;
      if (length == 0) {
        return false;
      }
    }
    // CR LF, also when the CR fills the piece and its LF waits in the file.
    if (length >= 2 && buffer_[length - 2] == '\r' && buffer_[length - 1] == '\n') {
      buffer_[length - 2] = '\n';
      --length;
    } else if (length == buffer_.size() - 1 && buffer_[length - 1] == '\r') {
      const int following = std::fgetc(file_.get());
      if (following == '\n') {
        buffer_[length - 1] = '\n';
      } else if (following != EOF) {
        std::ungetc(following, file_.get());
      }
    }
    line = std::string_view(buffer_.data(), length);
    return true;
  }

private:
  UniqueFile file_;
  std::array<char, 1024> buffer_{};
  bool ended_ = false;
};

} // namespace tsen
