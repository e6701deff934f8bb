#include "platform/hash.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/regular_file.h"
#include "platform/text.h"

namespace kdm {

std::optional<std::string> doSHAOnFile(const std::string& path, std::string* error) {
  if (Error e = requireRegularFile(path)) {
    if (error) *error = e.text;
    return std::nullopt;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha1(), nullptr) != 1) {
    if (error) *error = "SHA-1 is not available";
    return std::nullopt;
  }
  std::vector<unsigned char> buf(1 << 16);
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0) EVP_DigestUpdate(ctx.get(), buf.data(), n);
  if (std::ferror(f.get())) {
    if (error) *error = std::strerror(errno ? errno : EIO);
    return std::nullopt;
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_DigestFinal_ex(ctx.get(), digest, &len);
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned i = 0; i < len; ++i) {
    out += kHex[digest[i] >> 4];
    out += kHex[digest[i] & 15];
  }
  return out;
}

std::string controlNumber(std::string_view hash) {
  hash = trimRight(leftChars(hash, 40));
  std::string out;
  for (std::size_t group = 0; group < 4; ++group) {
    if (group) out += '-';
    out += midChars(hash, group * 10, 10);
  }
  return out;
}

}  // namespace kdm
