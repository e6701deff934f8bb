#include "platform/textfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/cp1250.h"
#include "platform/text.h"

namespace kdm {
namespace {

Error openError(const std::string& path) {
  int e = errno;
  ErrorCode code = e == ENOENT ? ErrorCode::FileNotFound : e == EACCES ? ErrorCode::AccessDenied : ErrorCode::ReadError;
  return makeError(code, std::string(std::strerror(e)) + ": " + path);
}

}  // namespace

TextFile::~TextFile() { close(); }

Error TextFile::openRead(const std::string& path, bool create) {
  close();
  path_ = path;
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_ && errno == ENOENT && create) {
    if (std::FILE* f = std::fopen(path.c_str(), "ab")) std::fclose(f);
    file_ = std::fopen(path.c_str(), "rb");
  }
  if (!file_) return openError(path);
  buf_.resize(1 << 16);
  pos_ = end_ = 0;
  eof_ = false;
  error_ = ok();
  return ok();
}

Error TextFile::openAppend(const std::string& path) {
  close();
  path_ = path;
  file_ = std::fopen(path.c_str(), "ab");
  if (!file_) return openError(path);
  return ok();
}

Error TextFile::openEmpty(const std::string& path) {
  close();
  path_ = path;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return openError(path);
  return ok();
}

Error TextFile::close() {
  if (!file_) return ok();
  bool failed = std::ferror(file_) != 0;
  failed |= std::fclose(file_) != 0;
  file_ = nullptr;
  if (failed) return makeError(ErrorCode::WriteError, std::string(errorText(ErrorCode::WriteError)) + ": " + path_);
  return ok();
}

bool TextFile::fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  std::size_t n = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_);
  if (n == 0) {
    if (std::ferror(file_)) error_ = makeError(ErrorCode::ReadError, std::string(std::strerror(errno)) + ": " + path_);
    eof_ = true;
    return false;
  }
  end_ += n;
  return true;
}

bool TextFile::readLine(std::string& bytes) {
  bytes.clear();
  lastCut_ = false;
  if (!file_) return false;
  bool any = false;
  for (;;) {
    const char* start = buf_.data() + pos_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
    std::size_t take = nl ? static_cast<std::size_t>(nl - start) : end_ - pos_;
    if (take > 0) any = true;
    std::size_t room = kMaxLine - std::min(bytes.size(), kMaxLine);
    if (take > room) lastCut_ = true;
    bytes.append(start, std::min(take, room));
    if (nl) {
      pos_ += take + 1;
      break;
    }
    pos_ = end_;
    if (!fill()) {
      if (!any) return false;
      break;
    }
  }
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return true;
}

Error TextFile::appendRaw(std::string_view bytes) {
  if (!file_) return makeError(ErrorCode::FileNotOpen);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || std::fwrite("\r\n", 1, 2, file_) != 2)
    return makeError(ErrorCode::WriteError, std::string(std::strerror(errno)) + ": " + path_);
  return ok();
}

Error TextFile::appendLine(std::string_view utf8) {
  std::string raw;
  if (!utf8ToCp1250(utf8, raw)) return makeError(ErrorCode::NotEncodable);
  return appendRaw(raw);
}

std::vector<std::string> cutFixed(std::string_view raw, const std::vector<std::size_t>& widths) {
  std::vector<std::string> out;
  out.reserve(widths.size());
  std::size_t pos = 0;
  for (std::size_t w : widths) {
    std::string_view piece = pos < raw.size() ? raw.substr(pos, w) : std::string_view{};
    std::string value = cp1250ToUtf8(piece);
    if (piece.size() < w) value.append(w - piece.size(), ' ');
    out.push_back(std::move(value));
    pos += w;
  }
  return out;
}

bool joinFixed(const std::vector<std::string>& values, const std::vector<std::size_t>& widths, std::string& raw) {
  raw.clear();
  std::string piece;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    std::string_view v = i < values.size() ? std::string_view(values[i]) : std::string_view{};
    if (!utf8ToCp1250(leftChars(v, widths[i]), piece)) return false;
    raw += piece;
    if (piece.size() < widths[i]) raw.append(widths[i] - piece.size(), ' ');
  }
  return true;
}

}  // namespace kdm
