#pragma once
// kaldo's one console writer. Everything kaldo prints goes through it, and a
// byte a terminal would act on is printed as \xNN instead: the C0 controls
// but line feed and tab, DEL, and the C1 controls U+0080-U+009F as UTF-8
// writes them (C2 80-C2 9F). A session text or file name holding ESC ] 0 ;
// ... BEL therefore shows as text and cannot retitle the terminal, move the
// cursor or clear the screen. Carriage return passes only where kaldo draws
// progress in place (standard error on a terminal).
//
// Files keep their bytes: only what reaches the console is filtered, and
// data written to standard output as a file (export to "-" into a pipe)
// goes to the raw stream.

#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

namespace brevik::cli {

class EscapingStreamBuf final : public std::streambuf {
 public:
  EscapingStreamBuf(std::streambuf& target, bool passCarriageReturn)
      : target_(&target), passCarriageReturn_(passCarriageReturn) {}
  ~EscapingStreamBuf() override;

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool put(unsigned char b);
  bool putEscaped(unsigned code);

  std::streambuf* target_;
  bool passCarriageReturn_;
  bool heldLead_ = false;  // a C2 byte waiting to see whether a C1 control follows
};

// An ostream over an EscapingStreamBuf.
class ConsoleStream final : public std::ostream {
 public:
  ConsoleStream(std::ostream& target, bool passCarriageReturn);

 private:
  EscapingStreamBuf buffer_;
};

// A settings save's notice (a damaged kvlog.ini kept aside), printed on `err`
// after `prefix`.
std::function<void(const std::string&)> settingsNotice(std::ostream& err, std::string prefix);

// The text as the console writer would print it (for messages built apart).
std::string escapedForConsole(std::string_view utf8, bool passCarriageReturn = false);

}  // namespace brevik::cli
