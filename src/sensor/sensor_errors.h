#pragma once

#include "sensor/error.h"

constexpr const char* ErMsgTimeout = "Timeout waiting for sensor data";
constexpr const char* ErMsgFrameLen = "Frame length was incorrect";
constexpr const char* ErMsgChecksum = "Checksum for sensor data failed";

class ETimeout : public Error {
public:
  [[gnu::always_inline]] ETimeout() : Error("ETimeout", ErMsgTimeout) {}
};

class EFrameLen : public Error {
public:
  [[gnu::always_inline]] EFrameLen() : Error("EFrameLen", ErMsgFrameLen) {}
};

class EChecksum : public Error {
public:
  [[gnu::always_inline]] EChecksum() : Error("EChecksum", ErMsgChecksum) {}
};

// The serial object's own codes; any other code is an errno value.
constexpr int ErrTimeoutCode = 9997;

// "Communication error %d: %s" with the code and its description.
class ESynaSerError : public Error {
public:
  [[gnu::always_inline]] explicit ESynaSerError(int code) : Error("ESynaSerError", ""), Code(code) {
    ComposeMessage();
  }
  const char* Message() const override { return Text; }
  int ErrorCode() const { return Code; }

private:
  void ComposeMessage();
  int Code;
  char Text[160] = {};
};
