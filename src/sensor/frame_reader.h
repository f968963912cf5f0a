#pragma once

#include <cstdint>

#include "sensor/block_serial.h"
#include "sensor/clock.h"
#include "sensor/packet.h"

constexpr int Timeout = 30;  // seconds a single byte may take to arrive

// One byte, returned at once when held or queued; otherwise waits for one.
// Raises ETimeout after Timeout whole seconds of silence.
uint8_t GetByte(TBlockSerial& ComCB, Clock& clock);

// One big-endian word; adds both bytes to checksum.
uint16_t GetWord(TBlockSerial& ComCB, Clock& clock, uint16_t& checksum);

// The next valid frame. Raises ETimeout, EFrameLen or EChecksum; the serial
// object's errors pass through.
PacketT GetPacket(TBlockSerial& ComCB, Clock& clock);
