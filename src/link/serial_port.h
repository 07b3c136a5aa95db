#pragma once
// The serial line to a logger or a modem, as the core sees it. The program
// talks to hardware (Qt), to the built-in virtual logger, or to a scripted
// port in tests through this one interface.
//
// Every failure of the port itself (device missing, busy, vanished while
// open) is reported as ErrorKind::PortUnavailable, so that callers can tell
// "the port cannot be used" apart from every other failure of an exchange.
// The port never throws and never blocks: writes are queued, reads return
// what has already arrived, and arrivals are announced by the data-arrived
// callback on the program's one thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace brevik::link {

// COM port numbers as the Logger Settings hold them (COM1 ... COM10). The
// settings store 32 bits; the port takes the low 16, as the program always did.
using PortNumber = std::uint16_t;

class SerialPort {
 public:
  // Called after bytes arrived, with the number now waiting to be read.
  using DataArrived = std::function<void(std::size_t waiting)>;

  virtual ~SerialPort() = default;

  // Opens COM<portNumber> at `baudRate`, 8 data bits, no parity, one stop bit.
  // Opening an open port first closes it. Fails with PortUnavailable.
  virtual Status open(PortNumber portNumber, std::uint32_t baudRate) = 0;

  // Closes the port; closing a closed port does nothing. Bytes already
  // queued by write() are handed to the device first; received bytes not yet
  // read are dropped. The DTR line falls.
  virtual void close() = 0;

  // False after close() and after the device vanished while open (the port
  // then closes itself; later writes fail with PortUnavailable).
  virtual bool isOpen() const = 0;

  // Changes the speed; allowed while the port is open (the baud switch of the
  // wake-up) and while closed (remembered for the next open).
  virtual Status setBaudRate(std::uint32_t baudRate) = 0;
  virtual std::uint32_t baudRate() const = 0;

  // Raises (true) or drops (false) the DTR line. A device that cannot drive
  // DTR (a pseudo-terminal) reports success: that is not a port failure.
  virtual Status setDtr(bool raised) = 0;

  // Queues bytes for sending. Fails with PortUnavailable when the port is
  // closed or lost.
  virtual Status write(std::string_view bytes) = 0;

  // Number of received bytes waiting to be read.
  virtual std::size_t bytesWaiting() const = 0;

  // Takes every waiting byte (possibly none).
  virtual std::string readWaiting() = 0;

  // Whether a framing, parity or overrun error was seen since the last call;
  // the call clears the flag.
  virtual bool takeLineError() = 0;

  // Drops received bytes not yet read / bytes queued but not yet sent.
  virtual void flushInput() = 0;
  virtual void flushOutput() = 0;

  // Installs the one data-arrived callback (an empty function removes it).
  // The callback may call any member of the port, including close().
  virtual void setDataArrived(DataArrived callback) = 0;
};

}  // namespace brevik::link
