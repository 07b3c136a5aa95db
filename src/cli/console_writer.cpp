#include "cli/console_writer.h"

#include <cstdio>
#include <sstream>

#include "common/cp1252.h"

namespace brevik::cli {

namespace {

constexpr unsigned char kUtf8C1Lead = 0xC2;

}  // namespace

EscapingStreamBuf::~EscapingStreamBuf() {
  if (heldLead_) target_->sputc(static_cast<char>(kUtf8C1Lead));
}

bool EscapingStreamBuf::putEscaped(unsigned code) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", code & 0xFFu);
  return target_->sputn(text, 4) == 4;
}

bool EscapingStreamBuf::put(unsigned char b) {
  if (heldLead_) {
    heldLead_ = false;
    if (b >= 0x80 && b <= 0x9F) return putEscaped(b);
    if (target_->sputc(static_cast<char>(kUtf8C1Lead)) == traits_type::eof()) return false;
  }
  if (b == kUtf8C1Lead) {
    heldLead_ = true;
    return true;
  }
  const bool control = (b < 0x20 && b != '\n' && b != '\t' && !(b == '\r' && passCarriageReturn_)) || b == 0x7F;
  if (control) return putEscaped(b);
  return target_->sputc(static_cast<char>(b)) != traits_type::eof();
}

EscapingStreamBuf::int_type EscapingStreamBuf::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  return put(static_cast<unsigned char>(traits_type::to_char_type(ch))) ? ch : traits_type::eof();
}

std::streamsize EscapingStreamBuf::xsputn(const char* s, std::streamsize n) {
  for (std::streamsize i = 0; i < n; ++i)
    if (!put(static_cast<unsigned char>(s[i]))) return i;
  return n;
}

int EscapingStreamBuf::sync() {
  // A held C2 waits for its next byte; everything before it is flushed.
  return target_->pubsync();
}

ConsoleStream::ConsoleStream(std::ostream& target, bool passCarriageReturn)
    : std::ostream(nullptr), buffer_(*target.rdbuf(), passCarriageReturn) {
  rdbuf(&buffer_);
}

std::function<void(const std::string&)> settingsNotice(std::ostream& err, std::string prefix) {
  return [&err, prefix = std::move(prefix)](const std::string& text) { err << prefix << toUtf8(text) << "\n"; };
}

std::string escapedForConsole(std::string_view utf8, bool passCarriageReturn) {
  std::ostringstream out;
  {
    ConsoleStream console(out, passCarriageReturn);
    console << utf8;
    console.flush();
  }
  return out.str();
}

}  // namespace brevik::cli
