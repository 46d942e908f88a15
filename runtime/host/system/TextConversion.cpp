#include "runtime/host/system/TextConversion.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }

  std::string Convert(std::string_view in) {
    std::string out;
    if (in.empty()) return out;
    std::lock_guard<std::mutex> lock(mutex_);
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        // An invalid or cut sequence: one '?' for the byte, then go on.
        out.push_back('?');
        ++src;
        --srcLeft;
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
  std::mutex mutex_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  static Converter converter("UTF-8", "CP932");
  return converter.Convert(cp932);
}

std::string Utf8ToCp932(std::string_view utf8) {
  static Converter converter("CP932", "UTF-8");
  return converter.Convert(utf8);
}
