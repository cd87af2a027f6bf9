// A C runtime file with an owner: closed when the owner goes.
#pragma once

#include <cstdio>
#include <memory>

namespace tsen {

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

} // namespace tsen
